#include "UpdateSources.h"

#include <fnmatch.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "LxFileStream.h"
#include "UpdatePackageFormat.h"

namespace fs = std::filesystem;

namespace {

constexpr char kMediaRoot[] = "/media";
constexpr char kRunMediaRoot[] = "/run/media";

// The sub-folders of `folder`, sorted, none when it cannot be read.
std::vector<std::string> SubFolders(const fs::path& folder) {
  std::vector<std::string> folders;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->is_directory(error)) folders.push_back(it->path().string());
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

// Entries of one medium, sorted by name.
std::vector<fs::path> FilesOf(const std::string& medium) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::directory_iterator it(medium, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error)) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

bool IsUpdatePackageFile(const std::string& path) {
  try {
    TLxFileStream file(path, TLxFileMode::OpenRead);
    std::string line(PackageSignature().size(), '\0');
    if (file.Read(line.data(), static_cast<std::int32_t>(line.size())) != static_cast<std::int32_t>(line.size())) {
      return false;
    }
    return IsPackageSignature(line);
  } catch (const std::exception&) {
    return false;
  }
}

bool IsUpdateProgramName(const std::string& fileName) {
  return ::fnmatch(kUpdateProgramPattern, fileName.c_str(), FNM_CASEFOLD) == 0;
}

std::vector<std::string> RemovableMediaFolders() {
  std::vector<std::string> media;
  if (const char* user = std::getenv("USER"); user && *user) {
    for (const char* root : {kMediaRoot, kRunMediaRoot}) {
      const std::vector<std::string> mounted = SubFolders(fs::path(root) / user);
      media.insert(media.end(), mounted.begin(), mounted.end());
    }
  }
  for (const std::string& folder : SubFolders(kMediaRoot)) {
    if (std::find(media.begin(), media.end(), folder) == media.end()) media.push_back(folder);
  }
  return media;
}

std::string FindUpdateOnMedia(const std::vector<std::string>& mediaFolders) {
  for (const std::string& medium : mediaFolders) {
    const fs::path volume = fs::path(medium) / kDefaultVolumeName;
    if (IsUpdatePackageFile(volume.string())) return volume.string();
  }
  for (const std::string& medium : mediaFolders) {
    for (const fs::path& file : FilesOf(medium)) {
      if (IsUpdateProgramName(file.filename().string())) return file.string();
    }
  }
  return {};
}

#include "LxFilUtl.h"
#include "LxFileOperations.h"
#include "LxSystemError.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>

namespace {

// The network name of a machine holds at most this many characters.
constexpr std::size_t kMaxComputerNameLength = 15;
// The program-files folder of POSIX systems: FHS's place for add-on packages.
constexpr const char* kPosixProgramFilesDir = "/opt";

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// One trailing "/" or "\" removed, except from a lone root "/".
std::string WithoutTrailingSeparator(const std::string& path) {
  if (path.size() > 1 && IsSeparator(path.back())) return path.substr(0, path.size() - 1);
  return path;
}

bool StatPath(const std::string& path, struct stat& info) {
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

unsigned char AsciiLower(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

bool SameNameIgnoringAsciiCase(const char* a, const std::string& b) {
  const std::size_t length = std::strlen(a);
  if (length != b.size()) return false;
  for (std::size_t i = 0; i < length; ++i) {
    if (AsciiLower(static_cast<unsigned char>(a[i])) != AsciiLower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace

std::string PathJoin(std::string_view folder, std::string_view name) {
  char separator = kPathDelimiter;
  if (folder.find('/') != std::string_view::npos) {
    separator = '/';
  } else if (folder.find('\\') != std::string_view::npos) {
    separator = '\\';
  }
  std::string path(folder);
  if (!path.empty() && path.back() != separator) path.push_back(separator);
  path.append(name);
  return path;
}

bool DirectoryExists(const std::string& path) {
  struct stat info;
  return StatPath(WithoutTrailingSeparator(path), info) && S_ISDIR(info.st_mode);
}

bool FileExists(const std::string& path) {
  struct stat info;
  return StatPath(path, info) && !S_ISDIR(info.st_mode);
}

void ForceDirectories(const std::string& path) {
  const std::string folder = WithoutTrailingSeparator(path);
  // Nothing to create: no path, the root, or a bare drive such as "C:".
  if (folder.empty() || folder == "/" || (folder.size() == 2 && folder[1] == ':')) return;
  if (DirectoryExists(folder)) return;
  const std::size_t lastSeparator = folder.find_last_of(kPathDelimiter == '/' ? "/" : "\\/:");
  if (lastSeparator != std::string::npos && lastSeparator > 0) {
    ForceDirectories(folder.substr(0, lastSeparator + 1));
  }
  if (FileOperations().MakeDirectory(folder.c_str(), 0777) != 0) {
    const int code = errno;
    // Another process may have made it meanwhile; that is success.
    if (code == EEXIST && DirectoryExists(folder)) return;
    throw ELxInOutError("Não foi possível criar o diretório \"" + folder + "\": " + SystemErrorText(code), code);
  }
}

bool IsPlainFile(const std::string& path) {
  struct stat info;
  return !path.empty() && ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::int32_t FileSize(const std::string& path) {
  struct stat info;
  if (!StatPath(path, info) || S_ISDIR(info.st_mode)) return 0;
  return static_cast<std::int32_t>(std::min<off_t>(info.st_size, std::numeric_limits<std::int32_t>::max()));
}

TDateTime FileDateTime(const std::string& path) {
  struct stat info;
  if (!StatPath(WithoutTrailingSeparator(path), info)) return 0;
  std::time_t seconds = info.st_mtime;
  // Two-second resolution: round down to an even second (also before 1970).
  seconds -= ((seconds % 2) + 2) % 2;
  return UnixTimeToLocalDateTime(seconds);
}

void CopyFile(const std::string& source, const std::string& destination) {
  namespace fs = std::filesystem;
  std::error_code error;
  const bool copied = FileExists(source) &&
                      fs::copy_file(fs::path(source), fs::path(destination), fs::copy_options::overwrite_existing,
                                    error) &&
                      !error;
  if (copied) {
    // Like the system's own copy, the copy keeps the source's last-write time.
    std::error_code ignored;
    fs::last_write_time(fs::path(destination), fs::last_write_time(fs::path(source), ignored), ignored);
    return;
  }
  throw ELxException("Erro ao copiar arquivo \"" + source + "\" para \"" + destination + "\". ");
}

std::string ComputerName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return std::string();
  std::string result(name);
  if (result.size() > kMaxComputerNameLength) result.resize(kMaxComputerNameLength);
  return result;
}

std::string ApplicationFolder() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || executable.empty()) return std::string();
  std::string folder = executable.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

std::string GetProgramFilesDir() { return kPosixProgramFilesDir; }

std::string FindFileIgnoringCase(const std::string& folder, const std::string& name) {
  const std::string exact = PathJoin(folder, name);
  struct stat info;
  if (::lstat(exact.c_str(), &info) == 0) return exact;
  std::unique_ptr<DIR, int (*)(DIR*)> directory(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
  if (!directory) return exact;
  while (const dirent* entry = ::readdir(directory.get())) {
    if (SameNameIgnoringAsciiCase(entry->d_name, name)) return PathJoin(folder, entry->d_name);
  }
  return exact;
}

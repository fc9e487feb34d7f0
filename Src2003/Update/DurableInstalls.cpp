#include "DurableInstalls.h"

#include <filesystem>

#include "FileReplace.h"
#include "LxExcept.h"
#include "LxFilUtl.h"

namespace {

// A commit whose last rename failed leaves the document complete under
// name.new, where its next reader finds it: that file is the one to sync.
constexpr char kCompleteSuffix[] = ".new";

std::string StoredFileOf(const std::string& path) {
  const std::string completed = path + kCompleteSuffix;
  return !FileExists(path) && FileExists(completed) ? completed : path;
}

void Sync(const std::string& path) {
  if (!SyncQuietly(path)) throw ELxException(FormatMessage("Não foi possível gravar o arquivo %s", path.c_str()));
}

}  // namespace

void TDurableInstalls::FileWritten(const std::string& path) {
  files_.insert(path);
  FileSynced(path);
}

void TDurableInstalls::FileSynced(const std::string& path) {
  folders_.insert(std::filesystem::path(path).parent_path().string());
}

void TDurableInstalls::SyncFile(const std::string& path) {
  Sync(StoredFileOf(path));
  FileSynced(path);
}

void TDurableInstalls::Flush() {
  for (const std::string& file : files_) Sync(StoredFileOf(file));
  // A folder made for the first document of its hundred is itself a new name
  // in the data folder.
  std::set<std::string> parents;
  for (const std::string& folder : folders_) parents.insert(std::filesystem::path(folder).parent_path().string());
  for (const std::string& folder : folders_) Sync(folder);
  for (const std::string& parent : parents) Sync(parent);
  files_.clear();
  folders_.clear();
}

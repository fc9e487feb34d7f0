#include "UserDataFolder.h"

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <string_view>

#include "LxFilUtl.h"

namespace {

constexpr char kUserDataSubfolder[] = "Pandecta";
constexpr char kDefaultDataHome[] = ".local/share";
// Folders the distribution owns: whatever lies below them is installed, not
// the user's, even for a user (root) who may write there.
constexpr std::array<std::string_view, 3> kSystemFolders = {"/usr", "/bin", "/sbin"};

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool IsBelow(std::string_view path, std::string_view folder) {
  return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

bool IsSystemFolder(const std::string& path) {
  for (const std::string_view folder : kSystemFolders) {
    if (IsBelow(path, folder)) return true;
  }
  return false;
}

}  // namespace

std::string UserDataFolder() {
  std::string dataHome = Environment("XDG_DATA_HOME");
  if (!dataHome.starts_with('/')) dataHome = PathJoin(Environment("HOME"), kDefaultDataHome);
  return PathJoin(dataHome, kUserDataSubfolder);
}

bool ProgramFolderHoldsData(const std::string& programFolder) {
  if (IsSystemFolder(programFolder)) return false;
  if (!DirectoryExists(programFolder)) return true;
  return ::access(programFolder.c_str(), W_OK) == 0;
}

std::string DataRootFolder(const std::string& programFolder) {
  return ProgramFolderHoldsData(programFolder) ? programFolder : UserDataFolder();
}

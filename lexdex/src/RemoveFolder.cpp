#include "RemoveFolder.h"

#include <system_error>

namespace lexdex {

void RemoveFolder(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  if (error) return;
  for (const fs::directory_iterator end; entries != end; entries.increment(error)) {
    std::error_code ignored;
    const fs::directory_entry& entry = *entries;
    if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
      RemoveFolder(entry.path());
    } else {
      fs::remove(entry.path(), ignored);
    }
  }
  // A listing that broke off may have missed entries: keep the folder.
  if (error) return;
  fs::remove(folder, error);
}

}  // namespace lexdex

#include "GroupFolders.h"

#if !defined(_WIN32) && __has_include(<unistd.h>)
#include <fcntl.h>
#include <unistd.h>
#define LEXDEX_POSIX_FOLDERS 1
#endif

namespace lexdex {

void GroupFolders::Reset(const std::string& folder) {
  CloseAll();
  folder_ = folder;
}

void GroupFolders::CloseAll() {
  for (Slot& slot : slots_) {
#if LEXDEX_POSIX_FOLDERS
    if (slot.fd >= 0) ::close(slot.fd);
#endif
    slot = Slot{};
  }
}

void GroupFolders::KeepSettledOnly() {
  for (Slot& slot : slots_) {
    if (slot.fd >= 0 && slot.settled) continue;
#if LEXDEX_POSIX_FOLDERS
    if (slot.fd >= 0) ::close(slot.fd);
#endif
    slot = Slot{};
  }
}

void GroupFolders::OpenFoldersOf(const std::vector<int>& groups, std::size_t begin, std::size_t end, bool settled) {
#if LEXDEX_POSIX_FOLDERS
  for (std::size_t item = begin; item < end; ++item) {
    Slot& slot = slots_[static_cast<std::size_t>(groups[item] / kGroupsPerFolder)];
    if (slot.fd != kNotOpened) continue;
    slot.fd = ::open(GroupFolderPath(folder_, groups[item]).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    slot.settled = settled;
  }
#else
  (void)groups, (void)begin, (void)end, (void)settled;
#endif
}

std::size_t GroupFolders::OpenCount() const {
  std::size_t count = 0;
  for (const Slot& slot : slots_) count += slot.fd >= 0 ? 1 : 0;
  return count;
}

}  // namespace lexdex

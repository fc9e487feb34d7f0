#include "FolderKind.h"

#if defined(__linux__)
#include <sys/vfs.h>
#define LEXDEX_HAS_STATFS 1
#endif

namespace lexdex {
namespace {

// statfs type numbers of the local disk file systems of Linux (linux/magic.h).
constexpr std::int64_t kLocalFileSystemTypes[] = {
    0xEF53,      // ext2, ext3, ext4
    0x58465342,  // xfs
    0x9123683E,  // btrfs
    0x01021994,  // tmpfs
    0xF2F52010,  // f2fs
    0x2FC12FC1,  // zfs
    0xCA451A4E,  // bcachefs
    0x794C7630,  // overlayfs (containers: local layers)
    0x4D44,      // vfat, msdos
    0x2011BAB0,  // exfat
    0x5346544E,  // ntfs
    0x7366746E,  // ntfs3
    0x3153464A,  // jfs
    0x52654973,  // reiserfs
};

// Type numbers are 32-bit; a 32-bit statfs may return them sign-extended.
constexpr std::int64_t kTypeNumberMask = 0xFFFFFFFF;

}  // namespace

FolderKind KindOfFileSystemType(std::int64_t type) {
  for (std::int64_t local : kLocalFileSystemTypes) {
    if ((type & kTypeNumberMask) == local) return FolderKind::Local;
  }
  return FolderKind::Network;
}

#if LEXDEX_HAS_STATFS

FolderKind KindOfFolder(const std::string& folder) {
  struct statfs status {};
  // A folder that cannot be examined is read the cautious way.
  if (::statfs(folder.c_str(), &status) != 0) return FolderKind::Network;
  return KindOfFileSystemType(static_cast<std::int64_t>(status.f_type) & kTypeNumberMask);
}

#else

// Elsewhere the kind is not known; reading with many requests in flight is
// right for network folders and costs little on local ones.
FolderKind KindOfFolder(const std::string&) { return FolderKind::Network; }

#endif

}  // namespace lexdex

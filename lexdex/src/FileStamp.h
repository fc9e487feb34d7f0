#pragma once

// What identifies one version of a file: where it lives and when it last
// changed. Two equal stamps mean the file was not rewritten in between (as far
// as the file system's clock can tell), so bytes read under the first stamp
// are still its bytes.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace lexdex {

struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;  // last change of the contents
  std::int64_t changedNs = 0;   // last change of the contents or of the entry

  bool operator==(const FileStamp&) const = default;
};

// The file's stamp, or nothing when it cannot be examined.
std::optional<FileStamp> StampOf(const std::string& path);

// The stamp of a file just opened as `file` (at `path`). Network clients
// check a file with the server when it is opened, where a later look by name
// may be answered from what they remember.
std::optional<FileStamp> StampOfOpenFile(std::FILE* file, const std::string& path);
// The same, and nothing when the file is no plain file (a folder or a
// device opens, but reads as nothing): one look for both.
std::optional<FileStamp> StampOfOpenPlainFile(std::FILE* file, const std::string& path);

// Marks the file as changed now, so that readers holding an older stamp see
// that it changed even when its bytes were left as they were.
void TouchFile(const std::string& path);

}  // namespace lexdex

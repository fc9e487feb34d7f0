#pragma once

// Where an index folder lies decides how its files are best read. On a local
// disk every open, read and close is a short call into the kernel, and the
// cores are the limit. On a network file system each of them is a round trip
// to the server, and the limit is how many are under way at once.

#include <cstdint>
#include <string>

namespace lexdex {

enum class FolderKind { Local, Network };

// The kind of the file system holding `folder`. File systems not known to be
// local (network ones, FUSE, anything unrecognised) count as network: reading
// them with many requests in flight costs a few idle threads, reading a
// network folder one file at a time costs a round trip per call.
FolderKind KindOfFolder(const std::string& folder);

// The same decision for a statfs file system type number.
FolderKind KindOfFileSystemType(std::int64_t type);

}  // namespace lexdex

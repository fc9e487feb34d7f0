#pragma once

#include <cstdint>
#include <string>

// A tree file expands to at most kMaxTreeExpansion times its compressed
// size (any tree up to kAlwaysAcceptedTreeBytes, whose cost is small
// anyway) and never past kMaxExpandedTreeBytes: more is a zlib bomb, not a
// collection, and is refused before it fills the disk or the memory.
inline constexpr std::int64_t kMaxExpandedTreeBytes = 1024 * 1024 * 1024;
inline constexpr std::int64_t kMaxTreeExpansion = 64;
inline constexpr std::int64_t kAlwaysAcceptedTreeBytes = 16 * 1024 * 1024;
// The compressed tree file itself is never longer than the tree it holds.
inline constexpr std::int64_t kMaxCompressedTreeBytes = kMaxExpandedTreeBytes;

// The most that `compressedBytes` of tree file may expand to.
std::int64_t MaxExpandedTreeBytes(std::int64_t compressedBytes);

// Raises ETOMOFileError "Arquivo de índice grande demais: ..." naming `file`
// when `expandedBytes` pass MaxExpandedTreeBytes(compressedBytes).
void CheckExpandedTreeSize(const std::string& file, std::int64_t compressedBytes, std::int64_t expandedBytes);

// Byte sizes of the two files of an expansion.
struct TIndexFileSizes {
  std::int32_t CompressedSize = 0;  // tomoidxz.dat
  std::int32_t ExpandedSize = 0;    // tomoidx.dat
};

// Inflates the folder's "tomoidxz.dat" (one zlib block) into "tomoidx.dat" of
// the same folder and returns both files' sizes. The expansion is written
// beside it first and renamed into place only when the whole block inflated,
// so corrupt or truncated input raises ELxDecompressionError (or a read
// error), and an expansion past MaxExpandedTreeBytes raises ETOMOFileError,
// each leaving any earlier "tomoidx.dat" as it was. A missing input raises
// ELxInOutError.
TIndexFileSizes ExpandIndexFile(const std::string& folder);

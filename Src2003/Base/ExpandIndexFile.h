#pragma once

#include <cstdint>
#include <string>

// Byte sizes of the two files of an expansion.
struct TIndexFileSizes {
  std::int32_t CompressedSize = 0;  // tomoidxz.dat
  std::int32_t ExpandedSize = 0;    // tomoidx.dat
};

// Inflates the folder's "tomoidxz.dat" (one zlib block) into "tomoidx.dat" of
// the same folder and returns both files' sizes. The expansion is written
// beside it first and renamed into place only when the whole block inflated,
// so corrupt or truncated input raises ELxDecompressionError (or a read
// error) and leaves any earlier "tomoidx.dat" as it was. A missing input
// raises ELxInOutError.
TIndexFileSizes ExpandIndexFile(const std::string& folder);

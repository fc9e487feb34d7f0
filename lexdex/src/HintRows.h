#pragma once

// Where a search of the write modes reads the hint rows: the block cache,
// which also holds the bits this session has changed.

#include <cstdint>

#include "BlockCache.h"
#include "ByteOrder.h"

namespace lexdex {

class HintRows {
 public:
  explicit HintRows(BlockCache& cache) : cache_(cache) {}

  // Bytes of the hint file that exist: everything past reads as zero bits.
  std::uint64_t FileBytes() const { return cache_.FileBytes(); }

  // The 32-bit bitmap word at `offset`, which lies below FileBytes().
  std::uint32_t BitmapWord(std::uint64_t offset) const { return DecodeFixed32(cache_.Get(offset)); }

 private:
  BlockCache& cache_;
};

}  // namespace lexdex

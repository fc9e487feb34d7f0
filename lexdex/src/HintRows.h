#pragma once

// Where a search reads the hint rows: the read-only map of the hint file when
// there is one, else the block cache (write modes, or no mapping available).

#include <cstdint>

#include "BlockCache.h"
#include "ByteOrder.h"
#include "HintMap.h"

namespace lexdex {

class HintRows {
 public:
  HintRows(const HintMap& map, BlockCache& cache) : map_(map), cache_(cache) {}

  // Bytes of the hint file that exist: everything past reads as zero bits.
  std::uint64_t FileBytes() const { return map_.IsMapped() ? map_.Size() : cache_.FileBytes(); }

  // The 32-bit bitmap word at `offset`, which lies below FileBytes().
  std::uint32_t BitmapWord(std::uint64_t offset) const {
    return DecodeFixed32(map_.IsMapped() ? map_.Data() + offset : cache_.Get(offset));
  }

 private:
  const HintMap& map_;
  BlockCache& cache_;
};

}  // namespace lexdex

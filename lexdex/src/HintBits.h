#pragma once

// Addressing of the hint bitmap. The file is cut into regions of 1 MiB, one
// per 512 groups; a region holds one 64-byte row per word hash, with one bit
// per group of the region, least significant bit of each byte first.
// Word "abc" (hash 450) in group 5 is bit 5 of byte 28,800; in group 513
// bit 1 of byte 1,077,376; in group 30000 bit 0 of byte 60,846,246.

#include <cstdint>

#include "BlockCache.h"
#include "Word.h"

namespace lexdex {

inline constexpr std::uint32_t kRowSize = 64;                       // bytes per hash row
inline constexpr std::uint32_t kGroupsPerRegion = kRowSize * 8;     // 512
inline constexpr std::uint64_t kRegionSize = std::uint64_t{kRowSize} * kHashCount;  // 1 MiB
static_assert(kRegionSize == 1048576);
static_assert(kRegionSize % kBlockSize == 0, "a row never straddles two cache blocks");

struct HintBit {
  std::uint64_t byteOffset;
  std::uint8_t mask;
};

inline HintBit LocateHintBit(int group, std::uint32_t hash) {
  const std::uint32_t region = static_cast<std::uint32_t>(group) / kGroupsPerRegion;
  const std::uint32_t column = static_cast<std::uint32_t>(group) % kGroupsPerRegion;
  return {region * kRegionSize + std::uint64_t{hash} * kRowSize + column / 8,
          static_cast<std::uint8_t>(1u << (column % 8))};
}

// The group named by bit `bit` of the 32-bit bitmap word at byte `wordOffset`.
inline int GroupOfHintBit(std::uint64_t wordOffset, int bit) {
  return static_cast<int>(wordOffset / kRegionSize * kGroupsPerRegion +
                          wordOffset % kRowSize * 8 + static_cast<std::uint64_t>(bit));
}

inline void SetHintBit(BlockCache& cache, int group, std::uint32_t hash) {
  const HintBit bit = LocateHintBit(group, hash);
  *cache.Get(bit.byteOffset) |= bit.mask;
}

inline void ClearHintBit(BlockCache& cache, int group, std::uint32_t hash) {
  const HintBit bit = LocateHintBit(group, hash);
  *cache.Get(bit.byteOffset) &= static_cast<std::uint8_t>(~bit.mask);
}

}  // namespace lexdex

#pragma once

// All reads and changes of the hint file go through this cache of 32 blocks
// of 32 KiB. There is no dirty flag: every slot that has held a block is
// written back when evicted and at close (unless write-back is off), so the
// file only ever grows by whole blocks.

#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace lexdex {

inline constexpr std::uint32_t kBlockSize = 32768;
inline constexpr int kCacheSlots = 32;
// New blocks are appended as zeros, written in pieces of this size.
inline constexpr std::uint32_t kZeroFillPiece = 2048;

class BlockCache {
 public:
  BlockCache();

  // Starts serving `file`, whose first `blockCount` blocks exist; every slot
  // becomes unused. The cache does not own the file.
  void Attach(std::FILE* file, std::uint32_t blockCount, bool writeBack);
  // Writes every slot that has held a block back (if write-back is on) and
  // forgets the file.
  void Detach();

  // The byte at `offset` of the hint file, inside a cached block; valid until
  // the next Get. Blocks past the end of the file are first appended as zeros
  // (in read-only mode the append fails and the block reads as zeros).
  std::uint8_t* Get(std::uint64_t offset);

  std::uint32_t BlockCount() const { return blockCount_; }
  // True once a block could not be written back or appended since Attach:
  // the hint file on the disk no longer holds what the index relies on.
  bool WriteFailed() const { return writeFailed_; }
  // Bytes of the hint file that exist: everything past reads as zero bits.
  std::uint64_t FileBytes() const { return std::uint64_t{blockCount_} * kBlockSize; }

 private:
  static constexpr std::int32_t kNoBlock = -1;
  struct Slot {
    std::int32_t block = kNoBlock;
    bool neverUsed = true;
    std::uint32_t stamp = 0;
  };

  std::uint8_t* Buffer(int slot) { return buffers_.data() + std::size_t(slot) * kBlockSize; }
  int FindSlot(std::int32_t block) const;
  int PickVictim() const;
  void WriteBack(int slot);
  void Fill(int slot);
  void AppendZeroBlocksThrough(std::int32_t block);

  std::vector<std::uint8_t> buffers_;  // kCacheSlots blocks, slot after slot
  std::array<Slot, kCacheSlots> slots_;
  std::FILE* file_ = nullptr;
  std::uint32_t blockCount_ = 0;
  bool writeBack_ = false;
  bool writeFailed_ = false;
  // Use stamps: a counter bumped on every Get; compared by signed difference
  // so that it may wrap.
  std::uint32_t clock_ = 0;
  int lastSlot_ = 0;  // the slot of the previous Get, tried first
};

}  // namespace lexdex

#include "BlockCache.h"

#include <cstring>

#include "FileWrites.h"

namespace lexdex {

// The slots' memory (1 MiB) is taken at the first Get: a search-only process
// never reads the hint file through the cache and so never clears it.
BlockCache::BlockCache() = default;

void BlockCache::Attach(std::FILE* file, std::uint32_t blockCount, bool writeBack) {
  file_ = file;
  blockCount_ = blockCount;
  writeBack_ = writeBack;
  writeFailed_ = false;
  slots_.fill(Slot{});
  lastSlot_ = 0;
}

void BlockCache::Detach() {
  for (int slot = 0; slot < kCacheSlots; ++slot) {
    if (!slots_[slot].neverUsed) WriteBack(slot);
  }
  slots_.fill(Slot{});
  file_ = nullptr;
  blockCount_ = 0;
}

std::uint8_t* BlockCache::Get(std::uint64_t offset) {
  if (buffers_.empty()) buffers_.resize(std::size_t(kCacheSlots) * kBlockSize);
  const auto block = static_cast<std::int32_t>(offset / kBlockSize);
  int slot = slots_[lastSlot_].block == block ? lastSlot_ : FindSlot(block);
  if (slot < 0) {
    slot = PickVictim();
    if (!slots_[slot].neverUsed) WriteBack(slot);
    slots_[slot].block = block;
    slots_[slot].neverUsed = false;
    Fill(slot);
  }
  slots_[slot].stamp = clock_++;
  lastSlot_ = slot;
  return Buffer(slot) + offset % kBlockSize;
}

int BlockCache::FindSlot(std::int32_t block) const {
  for (int slot = 0; slot < kCacheSlots; ++slot) {
    if (slots_[slot].block == block) return slot;
  }
  return -1;
}

// The first slot never used; otherwise the least recently used one (the
// earlier slot on a tie).
int BlockCache::PickVictim() const {
  int victim = 0;
  for (int slot = 0; slot < kCacheSlots; ++slot) {
    if (slots_[slot].neverUsed) return slot;
    const auto age = static_cast<std::int32_t>(slots_[slot].stamp - slots_[victim].stamp);
    if (age < 0) victim = slot;
  }
  return victim;
}

void BlockCache::WriteBack(int slot) {
  if (!writeBack_ || file_ == nullptr) return;
  const std::int32_t block = slots_[slot].block;
  const bool written = std::fseek(file_, static_cast<long>(block) * kBlockSize, SEEK_SET) == 0 &&
                       Writes().WriteStream(Buffer(slot), kBlockSize, file_) == kBlockSize;
  if (!written) writeFailed_ = true;
  if (static_cast<std::uint32_t>(block) >= blockCount_) blockCount_ = block + 1;
}

void BlockCache::Fill(int slot) {
  const std::int32_t block = slots_[slot].block;
  std::uint8_t* buffer = Buffer(slot);
  if (static_cast<std::uint32_t>(block) >= blockCount_) {
    // A freshly appended block is all zeros: no need to read it back.
    AppendZeroBlocksThrough(block);
    std::memset(buffer, 0, kBlockSize);
    return;
  }
  std::size_t got = 0;
  if (file_ != nullptr && std::fseek(file_, static_cast<long>(block) * kBlockSize, SEEK_SET) == 0) {
    got = std::fread(buffer, 1, kBlockSize, file_);
  }
  // A short read (file cut by someone else) leaves zero bits, never stale ones.
  std::memset(buffer + got, 0, kBlockSize - got);
}

void BlockCache::AppendZeroBlocksThrough(std::int32_t block) {
  static const std::uint8_t kZeros[kZeroFillPiece] = {};
  while (static_cast<std::uint32_t>(block) >= blockCount_) {
    if (file_ != nullptr) {
      // In read-only mode the append fails, as it should: nothing is lost.
      bool appended = std::fseek(file_, static_cast<long>(blockCount_) * kBlockSize, SEEK_SET) == 0;
      for (std::uint32_t written = 0; appended && written < kBlockSize; written += kZeroFillPiece) {
        appended = Writes().WriteStream(kZeros, kZeroFillPiece, file_) == kZeroFillPiece;
      }
      if (!appended && writeBack_) writeFailed_ = true;
    }
    ++blockCount_;
  }
  // Other processes sharing the index see the file's new length at once.
  if (file_ != nullptr && Writes().FlushStream(file_) != 0 && writeBack_) writeFailed_ = true;
}

}  // namespace lexdex

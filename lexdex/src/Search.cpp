#include "Search.h"

#include <bit>
#include <cstring>

#include "BlockCache.h"
#include "ByteOrder.h"
#include "GroupReader.h"
#include "HintBits.h"
#include "IndexPaths.h"

namespace lexdex {
namespace {

constexpr std::int64_t kBitmapWordSize = 4;

void CloseGroupFile(tacl_find& record) {
  if (record.file != nullptr) std::fclose(record.file);
  record.file = nullptr;
  record.remaining = 0;
}

// Moves to the next set hint bit: true with record.group set, false when the
// rows run past the end of the hint file.
bool AdvanceToNextGroup(tacl_find& record, BlockCache& cache) {
  record.bits ^= 1u << record.bit;
  while (record.bits == 0) {
    record.pos += kBitmapWordSize;
    if (record.pos == record.rowEnd) {
      // Same row of the next region.
      record.pos += static_cast<std::int64_t>(kRegionSize - kRowSize);
      if (record.pos >= static_cast<std::int64_t>(cache.FileBytes())) return false;
      record.rowEnd = record.pos + kRowSize;
    }
    record.bits = DecodeFixed32(cache.Get(static_cast<std::uint64_t>(record.pos)));
  }
  record.bit = std::countr_zero(record.bits);
  record.group = GroupOfHintBit(static_cast<std::uint64_t>(record.pos), record.bit);
  return true;
}

}  // namespace

tacl_find* SearchPool::Acquire() {
  if (free_ == nullptr) {
    records_.push_back(std::make_unique<tacl_find>());
    free_ = records_.back().get();
  }
  tacl_find* record = free_;
  free_ = record->next;
  record->next = nullptr;
  record->active = true;
  return record;
}

void SearchPool::Release(tacl_find* record) {
  if (record == nullptr || !record->active) return;  // a second release is ignored
  CloseGroupFile(*record);
  record->active = false;
  record->next = free_;
  free_ = record;
}

void SearchPool::ExhaustAll() {
  for (const auto& record : records_) {
    if (!record->active) continue;
    CloseGroupFile(*record);
    record->exhausted = true;
  }
}

void BeginSearch(tacl_find& record, const std::uint8_t* word, long long length) {
  record.remaining = 0;
  record.file = nullptr;
  record.bits = 1;
  record.bit = 0;
  record.group = 0;
  record.exhausted = word == nullptr || !IsValidWordLength(length);
  if (record.exhausted) return;
  record.word[0] = static_cast<std::uint8_t>(length);
  std::memcpy(record.word + 1, word, record.word[0]);
  const std::uint32_t hash = WordHash(record.word + 1, record.word[0]);
  // The cursor starts on the last bitmap word of row h in the region before
  // region 0, with one pretend bit set: the first step then clears that bit
  // and lands on region 0, row h, with no special case for the start.
  record.rowEnd = static_cast<std::int64_t>(hash) * kRowSize + kRowSize -
                  static_cast<std::int64_t>(kRegionSize);
  record.pos = record.rowEnd - kBitmapWordSize;
}

bool NextTriple(tacl_find& record, BlockCache& cache, const std::string& folder, int* triple) {
  if (record.exhausted) return false;
  for (;;) {
    while (record.remaining == 0) {
      CloseGroupFile(record);
      if (!AdvanceToNextGroup(record, cache)) {
        record.exhausted = true;
        return false;
      }
      // A set bit whose group file is missing or unreadable is skipped.
      record.file = std::fopen(GroupFilePath(folder, record.group).c_str(), "rb");
      if (record.file != nullptr) {
        record.remaining = FindWordInGroupFile(record.file, record.word + 1, record.word[0]);
      }
    }
    std::uint8_t pair[2 * kFixed32Size];
    if (std::fread(pair, 1, sizeof pair, record.file) == sizeof pair) {
      triple[0] = record.group;
      triple[1] = static_cast<std::int32_t>(DecodeFixed32(pair));
      triple[2] = static_cast<std::int32_t>(DecodeFixed32(pair + kFixed32Size));
      --record.remaining;
      return true;
    }
    // The file shrank under us: nothing more from this group.
    CloseGroupFile(record);
  }
}

}  // namespace lexdex

#include "Search.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>

#include "ByteOrder.h"
#include "GroupReader.h"
#include "GroupScan.h"
#include "HintBits.h"
#include "HintRows.h"
#include "Index.h"
#include "IndexPaths.h"

namespace lexdex {
namespace {

constexpr std::int64_t kBitmapWordSize = 4;

// A record keeps the buffer of its last group file for the next one, unless
// it grew past this (a huge group should not pin its memory).
constexpr std::size_t kKeptGroupBytes = std::size_t{1} << 20;

void DropGroupFile(tacl_find& record) {
  record.remaining = 0;
  record.groupBytes.clear();
  if (record.groupBytes.capacity() > kKeptGroupBytes) record.groupBytes.shrink_to_fit();
  record.found.reset();
  record.nextFound = 0;
}

// The bitmap word at `pos` of the search's own row, with the bits of the rows
// of its other words anded in.
std::uint32_t CandidateBits(const tacl_find& record, const HintRows& rows) {
  std::uint32_t bits = rows.BitmapWord(static_cast<std::uint64_t>(record.pos));
  for (std::int64_t row : record.alsoRows) {
    if (bits == 0) break;
    bits &= rows.BitmapWord(static_cast<std::uint64_t>(record.pos - record.ownRow + row));
  }
  return bits;
}

// Moves to the next set hint bit: true with record.group set, false when the
// rows run past the end of the hint file.
bool AdvanceToNextGroup(tacl_find& record, const HintRows& rows) {
  record.bits ^= 1u << record.bit;
  while (record.bits == 0) {
    record.pos += kBitmapWordSize;
    if (record.pos == record.rowEnd) {
      // Same row of the next region.
      record.pos += static_cast<std::int64_t>(kRegionSize - kRowSize);
      if (record.pos >= static_cast<std::int64_t>(rows.FileBytes())) return false;
      record.rowEnd = record.pos + kRowSize;
    }
    record.bits = CandidateBits(record, rows);
  }
  record.bit = std::countr_zero(record.bits);
  record.group = GroupOfHintBit(static_cast<std::uint64_t>(record.pos), record.bit);
  return true;
}

// What identifies a search's triples: the word (length byte first), the rows
// every group it visits must have set, and the groups it is limited to.
std::string ResultKey(const std::uint8_t* word, std::vector<std::int64_t> rows, const tacl_find& record) {
  std::string key(reinterpret_cast<const char*>(word), std::size_t{word[0]} + 1);
  std::sort(rows.begin(), rows.end());
  for (std::int64_t row : rows) key.append(reinterpret_cast<const char*>(&row), sizeof row);
  if (record.limited) {
    key += 'L';
    for (int group : record.onlyGroups) key.append(reinterpret_cast<const char*>(&group), sizeof group);
  }
  return key;
}

bool IsOutsideTheLimit(const tacl_find& record, int group) {
  return record.limited && !std::binary_search(record.onlyGroups.begin(), record.onlyGroups.end(), group);
}

bool IsPastTheLimit(const tacl_find& record, int group) {
  return record.limited && (record.onlyGroups.empty() || group > record.onlyGroups.back());
}

std::uint32_t HashOfRow(std::int64_t row) { return static_cast<std::uint32_t>(row / kRowSize); }

// Search-only mode: all the triples of the search at once. The other words
// visit the very same groups when searched among the rest of the phrase, so
// their triples come from the same reading of each file and are cached for
// their own searches.
void ScanOnce(tacl_find& record, Index& index) {
  if (record.scanned) return;
  record.scanned = true;
  const std::string key = ResultKey(record.word, record.alsoRows, record);
  record.found = index.Results().Find(key);
  record.nextFound = 0;
  if (record.found) return;
  std::vector<std::uint32_t> hashes = {HashOfRow(record.ownRow)};
  for (std::int64_t row : record.alsoRows) hashes.push_back(HashOfRow(row));
  const std::vector<int> groups = index.CandidateGroups(hashes, record.limited ? &record.onlyGroups : nullptr);
  std::vector<LengthPrefixedWord> words = {record.word};
  for (const auto& other : record.alsoWords) words.push_back(other.data());
  std::vector<std::vector<FoundTriple>> found =
      FindInGroupFiles(index.FoldersOpenFor(groups), groups, words, index.Kind());
  for (std::size_t o = 0; o < record.alsoWords.size(); ++o) {
    std::vector<std::int64_t> rows = record.alsoRows;
    rows[o] = record.ownRow;  // all the rows but the other word's own
    index.Results().Store(ResultKey(words[o + 1], rows, record),
                          std::make_shared<const std::vector<FoundTriple>>(std::move(found[o + 1])));
  }
  record.found = std::make_shared<const std::vector<FoundTriple>>(std::move(found[0]));
  index.Results().Store(key, record.found);
}

// The next triple from the scanned ones.
bool NextFoundTriple(tacl_find& record, int* triple) {
  if (!record.found || record.nextFound >= record.found->size()) {
    DropGroupFile(record);
    record.exhausted = true;
    return false;
  }
  const FoundTriple& next = (*record.found)[record.nextFound++];
  triple[0] = next[0];
  triple[1] = next[1];
  triple[2] = next[2];
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
  DropGroupFile(*record);
  record->active = false;
  record->next = free_;
  free_ = record;
}

void SearchPool::ExhaustAll() {
  for (const auto& record : records_) {
    if (!record->active) continue;
    DropGroupFile(*record);
    record->exhausted = true;
  }
}

void BeginSearch(tacl_find& record, const std::uint8_t* word, long long length) {
  DropGroupFile(record);
  record.bits = 1;
  record.bit = 0;
  record.group = 0;
  record.limited = false;
  record.onlyGroups.clear();
  record.started = false;
  record.alsoRows.clear();
  record.alsoWords.clear();
  record.scanned = false;
  record.exhausted = word == nullptr || !IsValidWordLength(length);
  if (record.exhausted) return;
  record.word[0] = static_cast<std::uint8_t>(length);
  std::memcpy(record.word + 1, word, record.word[0]);
  const std::uint32_t hash = WordHash(record.word + 1, record.word[0]);
  // The cursor starts on the last bitmap word of row h in the region before
  // region 0, with one pretend bit set: the first step then clears that bit
  // and lands on region 0, row h, with no special case for the start.
  record.ownRow = static_cast<std::int64_t>(hash) * kRowSize;
  record.rowEnd = record.ownRow + kRowSize - static_cast<std::int64_t>(kRegionSize);
  record.pos = record.rowEnd - kBitmapWordSize;
}

void AlsoRequireWord(tacl_find& record, const std::uint8_t* word, long long length) {
  if (record.exhausted || word == nullptr || !IsValidWordLength(length)) return;
  const std::uint32_t hash = WordHash(word, static_cast<std::size_t>(length));
  record.alsoRows.push_back(static_cast<std::int64_t>(hash) * kRowSize);
  std::vector<std::uint8_t> lengthPrefixed;
  lengthPrefixed.reserve(static_cast<std::size_t>(length) + 1);
  lengthPrefixed.push_back(static_cast<std::uint8_t>(length));
  lengthPrefixed.insert(lengthPrefixed.end(), word, word + length);
  record.alsoWords.push_back(std::move(lengthPrefixed));
}

void LimitSearchToGroups(tacl_find& record, const int* groups, long long count) {
  if (record.started || record.exhausted) return;
  std::vector<int> only;
  for (long long i = 0; groups != nullptr && i < count; ++i) {
    if (IsValidGroup(groups[i])) only.push_back(groups[i]);
  }
  std::sort(only.begin(), only.end());
  only.erase(std::unique(only.begin(), only.end()), only.end());
  if (record.limited) {
    std::vector<int> both;
    std::set_intersection(only.begin(), only.end(), record.onlyGroups.begin(), record.onlyGroups.end(),
                          std::back_inserter(both));
    only = std::move(both);
  }
  record.limited = true;
  record.onlyGroups = std::move(only);
  if (record.onlyGroups.empty()) {
    record.exhausted = true;
    return;
  }
  // The walk starts in the region before the first one it may visit, as
  // BeginSearch sets it before region 0.
  const auto skippedRegions = static_cast<std::int64_t>(record.onlyGroups.front() / kGroupsPerRegion);
  record.rowEnd = record.ownRow + kRowSize + (skippedRegions - 1) * static_cast<std::int64_t>(kRegionSize);
  record.pos = record.rowEnd - kBitmapWordSize;
}

bool NextTriple(tacl_find& record, Index& index, int* triple) {
  if (record.exhausted) return false;
  record.started = true;
  if (index.IsSearchOnly()) {
    ScanOnce(record, index);
    return NextFoundTriple(record, triple);
  }
  const HintRows rows = index.Rows();
  while (record.remaining == 0) {
    if (!AdvanceToNextGroup(record, rows) || IsPastTheLimit(record, record.group)) {
      DropGroupFile(record);
      record.exhausted = true;
      return false;
    }
    if (IsOutsideTheLimit(record, record.group)) continue;
    // A set bit whose group file is missing or unreadable is skipped; so is a
    // stale bit whose group no longer holds the word.
    if (!ReadWholeFile(GroupFilePath(index.Folder(), record.group), record.groupBytes)) continue;
    const std::optional<WordPairs> pairs = FindWordInGroup(
        record.groupBytes.data(), record.groupBytes.size(), record.word + 1, record.word[0]);
    if (!pairs) continue;
    record.remaining = pairs->count;
    record.nextPair = pairs->offset;
  }
  // FindWordInGroup has checked that all `remaining` pairs lie in the bytes.
  const std::uint8_t* pair = record.groupBytes.data() + record.nextPair;
  triple[0] = record.group;
  triple[1] = static_cast<std::int32_t>(DecodeFixed32(pair));
  triple[2] = static_cast<std::int32_t>(DecodeFixed32(pair + kFixed32Size));
  record.nextPair += kPairSize;
  --record.remaining;
  return true;
}

}  // namespace lexdex

#include "ElementArena.h"

#include <algorithm>
#include <cstring>

#include "ByteOrder.h"
#include "Word.h"

namespace lexdex {
namespace {

// Record: a (4 bytes), b (4 bytes), length (1 byte), the word.
constexpr std::size_t kRecordHeaderSize = 2 * kFixed32Size + 1;

}  // namespace

void ElementArena::Clear() {
  records_.clear();
  order_.clear();
}

bool ElementArena::Add(const std::uint8_t* word, std::uint8_t length, std::int32_t a,
                       std::int32_t b) {
  const std::size_t recordSize = kRecordHeaderSize + length;
  if (records_.size() + recordSize > kMaxArenaBytes) return false;
  const std::size_t offset = records_.size();
  records_.resize(offset + recordSize);
  std::uint8_t* record = records_.data() + offset;
  EncodeFixed32(record, static_cast<std::uint32_t>(a));
  EncodeFixed32(record + kFixed32Size, static_cast<std::uint32_t>(b));
  record[2 * kFixed32Size] = length;
  std::memcpy(record + kRecordHeaderSize, word, length);
  order_.push_back(static_cast<std::uint32_t>(offset));
  return true;
}

Element ElementArena::At(std::uint32_t recordOffset) const {
  const std::uint8_t* record = records_.data() + recordOffset;
  return {static_cast<std::int32_t>(DecodeFixed32(record)),
          static_cast<std::int32_t>(DecodeFixed32(record + kFixed32Size)),
          record + kRecordHeaderSize, record[2 * kFixed32Size]};
}

// The first kSortKeyBytes bytes of a word as a big-endian number, zeros past
// its end: keys that differ order their words, equal keys need the bytes.
std::uint64_t ElementArena::SortKey(std::uint32_t recordOffset) const {
  const Element element = At(recordOffset);
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < kSortKeyBytes; ++i) {
    key = key << 8 | (i < element.length ? element.word[i] : 0);
  }
  return key;
}

const std::vector<std::uint32_t>& ElementArena::SortByWord() {
  // Records lie in order of addition, so the record offset breaks ties and
  // keeps equal words in that order.
  keyed_.clear();
  for (std::uint32_t offset : order_) keyed_.push_back({SortKey(offset), offset, At(offset).length});
  std::sort(keyed_.begin(), keyed_.end(), [this](const KeyedRecord& x, const KeyedRecord& y) {
    if (x.key != y.key) return x.key < y.key;
    // Equal keys of words that fit in them: the shorter word is the other's
    // prefix (padded with zeros), or both are the same word.
    if (x.length <= kSortKeyBytes && y.length <= kSortKeyBytes) {
      return x.length != y.length ? x.length < y.length : x.offset < y.offset;
    }
    const Element ex = At(x.offset);
    const Element ey = At(y.offset);
    const int byWord = CompareWords(ex.word, ex.length, ey.word, ey.length);
    return byWord != 0 ? byWord < 0 : x.offset < y.offset;
  });
  for (std::size_t i = 0; i < keyed_.size(); ++i) order_[i] = keyed_[i].offset;
  return order_;
}

}  // namespace lexdex

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

const std::vector<std::uint32_t>& ElementArena::SortByWord() {
  // Records lie in order of addition, so the record offset breaks ties and an
  // in-place sort keeps equal words in that order without scratch memory.
  std::sort(order_.begin(), order_.end(), [this](std::uint32_t x, std::uint32_t y) {
    const Element ex = At(x);
    const Element ey = At(y);
    const int byWord = CompareWords(ex.word, ex.length, ey.word, ey.length);
    return byWord != 0 ? byWord < 0 : x < y;
  });
  return order_;
}

}  // namespace lexdex

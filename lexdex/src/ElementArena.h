#pragma once

// The elements of the group being built: records (a, b, length, word bytes)
// appended one after another, and their offsets in order of addition. Both
// keep their capacity between groups, so a steady run of groups of similar
// size allocates nothing; a bigger group simply grows them.

#include <cstdint>
#include <vector>

namespace lexdex {

// The group file addresses its records with 32-bit offsets; 2 GiB of arena
// records keep every group file offset below 4 GiB (a record grows by at most
// 4 bytes on its way to the file, and every record is at least 10 bytes).
inline constexpr std::uint64_t kMaxArenaBytes = std::uint64_t{1} << 31;

struct Element {
  std::int32_t a;
  std::int32_t b;
  const std::uint8_t* word;
  std::uint8_t length;
};

class ElementArena {
 public:
  void Clear();
  // Appends one element; false (and nothing stored) when the arena is full.
  bool Add(const std::uint8_t* word, std::uint8_t length, std::int32_t a, std::int32_t b);

  std::size_t Count() const { return order_.size(); }
  // The elements sorted by word; elements with equal words stay in the order
  // in which they were added. Valid until the next Add or Clear.
  const std::vector<std::uint32_t>& SortByWord();
  Element At(std::uint32_t recordOffset) const;

 private:
  static constexpr std::size_t kSortKeyBytes = 8;
  struct KeyedRecord {
    std::uint64_t key;
    std::uint32_t offset;
    std::uint8_t length;
  };
  std::uint64_t SortKey(std::uint32_t recordOffset) const;

  std::vector<std::uint8_t> records_;
  std::vector<std::uint32_t> order_;  // record offsets
  std::vector<KeyedRecord> keyed_;    // sorting scratch, kept between groups
};

}  // namespace lexdex

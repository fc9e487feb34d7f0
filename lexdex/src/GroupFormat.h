#pragma once

// The group file, one per group (all integers little-endian 32-bit):
//   N                          number of distinct words
//   N offsets                  of each word's record, counted from the end of
//                              this table; the first is 0
//   N records, words ascending: L (8-bit), the L word bytes, K, then K pairs
//                              (a, b) in the order the elements were added
// A group of ab, abc, b (pairs (1,2), (3,4), (5,6)) has N = 3, offsets 0, 15,
// 31, and first record 02 61 62 | 01 00 00 00 | 01 00 00 00 02 00 00 00.

#include <cstdint>

#include "ByteOrder.h"

namespace lexdex {

inline constexpr std::size_t kPairSize = 2 * kFixed32Size;  // a, b

// Bytes of one record: L, the word, K and the pairs.
constexpr std::uint32_t RecordSize(std::uint32_t length, std::uint32_t pairs) {
  return 1 + length + kFixed32Size + kPairSize * pairs;
}

}  // namespace lexdex

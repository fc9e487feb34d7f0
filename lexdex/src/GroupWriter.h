#pragma once

// Writing a group file. Layout (all integers little-endian 32-bit):
//   N                          number of distinct words
//   N offsets                  of each word's record, counted from the end of
//                              this table; the first is 0
//   N records, words ascending: L (8-bit), the L word bytes, K, then K pairs
//                              (a, b) in the order the elements were added
// A group of ab, abc, b (pairs (1,2), (3,4), (5,6)) has N = 3, offsets 0, 15,
// 31, and first record 02 61 62 | 01 00 00 00 | 01 00 00 00 02 00 00 00.

#include <cstdint>
#include <string>
#include <vector>

#include "ElementArena.h"

namespace lexdex {

// How often the group file is tried, creating its folder after the first
// failure, before the group is given up.
inline constexpr int kGroupFileCreateAttempts = 3;

// The group file's bytes for the arena's elements (sorts the arena).
void EncodeGroupFile(ElementArena& arena, std::vector<std::uint8_t>& out);

// Creates (truncates) the group file and writes `bytes`; when the file cannot
// be created, creates its group folder and tries again, a bounded number of
// times. False when the file could not be created or written.
bool WriteGroupFile(const std::string& folder, int group, const std::vector<std::uint8_t>& bytes);

}  // namespace lexdex

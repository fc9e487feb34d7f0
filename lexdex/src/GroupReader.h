#pragma once

// Reading group files (layout in GroupWriter.h). Group files come from disk
// and may be damaged: every count and offset is checked against the file's
// size before it is followed, and a damaged part yields nothing.

#include <cstdint>
#include <cstdio>
#include <vector>

#include "ByteOrder.h"

namespace lexdex {

// Binary search of `word` in the group file that starts at the current
// position of `file`. Returns the word's pair count K with the file left at
// its first pair, or 0 when the word is absent or the file is damaged on the
// way to it (then the position is unspecified). A file with N = 0 is left
// just past N.
std::uint32_t FindWordInGroupFile(std::FILE* file, const std::uint8_t* word, std::size_t length);

// The whole rest of `file`; false on a read error.
bool ReadRestOfFile(std::FILE* file, std::vector<std::uint8_t>& out);

// Calls visit(word, length) for every word record of a group file's bytes, in
// file order, stopping at the first record that does not fit in `size`.
template <typename Visit>
void ForEachWordOfGroupFile(const std::uint8_t* data, std::size_t size, Visit&& visit) {
  if (size < kFixed32Size) return;
  const std::uint64_t words = DecodeFixed32(data);
  std::uint64_t pos = kFixed32Size + kFixed32Size * words;  // past the offset table
  for (std::uint64_t i = 0; i < words; ++i) {
    if (pos + 1 > size) return;
    const std::uint8_t length = data[pos];
    const std::uint64_t countPos = pos + 1 + length;
    if (countPos + kFixed32Size > size) return;
    visit(data + pos + 1, std::size_t{length});
    const std::uint64_t pairs = DecodeFixed32(data + countPos);
    pos = countPos + kFixed32Size + 2 * kFixed32Size * pairs;
  }
}

}  // namespace lexdex

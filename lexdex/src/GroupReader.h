#pragma once

// Reading group files (layout in GroupFormat.h). Group files come from disk
// and may be damaged: every count and offset is checked against the size of
// the bytes before it is followed, and a damaged part yields nothing.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "ByteOrder.h"
#include "GroupFormat.h"

namespace lexdex {

// Where a word's pairs lie in a group file's bytes.
struct WordPairs {
  std::uint64_t offset;  // of the first pair
  std::uint32_t count;   // K
};

// Binary search of `word` in the bytes of a group file, probing the offset
// table. Nothing when the word is absent, or when a record on the way or the
// word's pairs do not fit in `size`.
std::optional<WordPairs> FindWordInGroup(const std::uint8_t* data, std::size_t size,
                                         const std::uint8_t* word, std::size_t length);

// The same search in the group file that starts at the current position of
// `file`: the word's pair count K with the file left at its first pair, or 0
// (position unspecified, except just past N when N = 0).
std::uint32_t FindWordInGroupFile(std::FILE* file, const std::uint8_t* word, std::size_t length);

// No group file of a real index comes near this size: a group holds one
// document, whose text is bounded, and two million elements take 24 MiB. A
// read that passes it is refused as damaged: a link to an endless device
// under a group file's name would otherwise never end.
constexpr std::size_t kMaxGroupFileBytes = std::size_t{512} << 20;

// Appends the rest of `file` to `out`; false on a read error or past
// kMaxGroupFileBytes.
bool ReadRestOfFile(std::FILE* file, std::vector<std::uint8_t>& out);

// The whole file at `path` in `out`; false when it cannot be opened or read,
// or is longer than kMaxGroupFileBytes.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out);

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
    pos = countPos + kFixed32Size + kPairSize * DecodeFixed32(data + countPos);
  }
}

}  // namespace lexdex

#include "GroupReader.h"

#include <algorithm>
#include <climits>

#include "ByteOrder.h"
#include "Word.h"

namespace lexdex {
namespace {

constexpr std::uint64_t kPairSize = 2 * kFixed32Size;

bool ReadAt(std::FILE* file, std::uint64_t pos, std::uint8_t* out, std::size_t length) {
  return std::fseek(file, static_cast<long>(pos), SEEK_SET) == 0 &&
         std::fread(out, 1, length, file) == length;
}

}  // namespace

std::uint32_t FindWordInGroupFile(std::FILE* file, const std::uint8_t* word, std::size_t length) {
  const long start = std::ftell(file);
  std::uint8_t count[kFixed32Size];
  if (start < 0 || std::fread(count, 1, kFixed32Size, file) != kFixed32Size) return 0;
  const std::uint64_t words = DecodeFixed32(count);
  if (words == 0) return 0;
  if (std::fseek(file, 0, SEEK_END) != 0) return 0;
  const long endPos = std::ftell(file);
  if (endPos < start) return 0;
  const auto base = static_cast<std::uint64_t>(start);
  const auto end = static_cast<std::uint64_t>(endPos);
  const std::uint64_t records = base + kFixed32Size + kFixed32Size * words;
  if (records > end) return 0;  // absurd N

  // Invariant: the word, if present, is among records [lo, hi).
  std::uint64_t lo = 0;
  std::uint64_t hi = words;
  std::uint8_t probe[1 + kMaxWordLength];
  while (lo < hi) {
    const std::uint64_t mid = (lo + hi) / 2;
    std::uint8_t offsetBytes[kFixed32Size];
    if (!ReadAt(file, base + kFixed32Size + kFixed32Size * mid, offsetBytes, kFixed32Size)) return 0;
    const std::uint64_t recordPos = records + DecodeFixed32(offsetBytes);
    if (recordPos >= end) return 0;
    // The length byte and the longest possible word in one read, cut at the end.
    const std::size_t available =
        static_cast<std::size_t>(std::min<std::uint64_t>(sizeof probe, end - recordPos));
    if (!ReadAt(file, recordPos, probe, available) || std::size_t{probe[0]} + 1 > available) return 0;
    const int order = CompareWords(word, length, probe + 1, probe[0]);
    if (order < 0) {
      hi = mid;
    } else if (order > 0) {
      lo = mid + 1;
    } else {
      const std::uint64_t countPos = recordPos + 1 + probe[0];
      if (!ReadAt(file, countPos, count, kFixed32Size)) return 0;
      const std::uint64_t pairs = DecodeFixed32(count);
      const std::uint64_t pairsPos = countPos + kFixed32Size;
      // Every pair must lie inside the file; the reads then cannot come up short.
      if (pairs > INT_MAX || pairsPos + kPairSize * pairs > end) return 0;
      return static_cast<std::uint32_t>(pairs);
    }
  }
  return 0;
}

bool ReadRestOfFile(std::FILE* file, std::vector<std::uint8_t>& out) {
  out.clear();
  std::uint8_t chunk[8192];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) out.insert(out.end(), chunk, chunk + got);
  return std::ferror(file) == 0;
}

}  // namespace lexdex

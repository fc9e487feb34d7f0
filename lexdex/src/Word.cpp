#include "Word.h"

#include <array>
#include <cstring>

namespace lexdex {
namespace {

constexpr std::uint32_t kCrc32Polynomial = 0xEDB88320u;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < table.size(); ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ kCrc32Polynomial : c >> 1;
    table[n] = c;
  }
  return table;
}

// Built by the compiler, so the hash works even before ACL_Init.
constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t length) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < length; ++i) crc = kCrcTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

int CompareWords(const std::uint8_t* x, std::size_t xLength, const std::uint8_t* y,
                 std::size_t yLength) {
  const std::size_t common = xLength < yLength ? xLength : yLength;
  if (common > 0) {
    // memcmp compares as unsigned char, which is the word order.
    const int byBytes = std::memcmp(x, y, common);
    if (byBytes != 0) return byBytes;
  }
  return xLength < yLength ? -1 : (xLength > yLength ? 1 : 0);
}

}  // namespace lexdex

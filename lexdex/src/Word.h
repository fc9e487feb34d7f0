#pragma once

// Words: byte strings of 1 to 255 bytes, hashed to one of 16384 hint rows and
// ordered bytewise.

#include <cstddef>
#include <cstdint>

namespace lexdex {

// A word is stored behind an 8-bit length.
inline constexpr std::size_t kMaxWordLength = 255;
inline constexpr int kHashBits = 14;
inline constexpr std::uint32_t kHashCount = 1u << kHashBits;  // rows per hint region

inline bool IsValidWordLength(long long length) {
  return length >= 1 && length <= static_cast<long long>(kMaxWordLength);
}

// The CRC-32 of zlib and PNG (reflected polynomial 0xEDB88320, initial value
// and final exclusive-or 0xFFFFFFFF). Crc32("abc") == 0x352441C2.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t length);

// The low 14 bits of the CRC-32: WordHash("abc") == 0x01C2.
inline std::uint32_t WordHash(const std::uint8_t* word, std::size_t length) {
  return Crc32(word, length) & (kHashCount - 1);
}

// Bytes compared as unsigned values from the first; a proper prefix sorts
// first. Returns <0, 0 or >0. "ab" < "abc" < "b"; "\xE7" > "z".
int CompareWords(const std::uint8_t* x, std::size_t xLength, const std::uint8_t* y,
                 std::size_t yLength);

}  // namespace lexdex

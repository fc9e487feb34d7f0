#pragma once

// Every integer of the index files is a little-endian 32-bit value; all of
// them are encoded and decoded here, whatever the host's byte order.

#include <cstdint>
#include <vector>

namespace lexdex {

inline constexpr std::size_t kFixed32Size = 4;

inline std::uint32_t DecodeFixed32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline void EncodeFixed32(std::uint8_t* p, std::uint32_t value) {
  p[0] = static_cast<std::uint8_t>(value);
  p[1] = static_cast<std::uint8_t>(value >> 8);
  p[2] = static_cast<std::uint8_t>(value >> 16);
  p[3] = static_cast<std::uint8_t>(value >> 24);
}

inline void AppendFixed32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t bytes[kFixed32Size];
  EncodeFixed32(bytes, value);
  out.insert(out.end(), bytes, bytes + kFixed32Size);
}

}  // namespace lexdex

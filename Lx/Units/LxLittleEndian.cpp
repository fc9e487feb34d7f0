#include "LxLittleEndian.h"



void EncodeFixed32(char* dst, std::uint32_t value) {
  dst[0] = static_cast<char>(value & 0xFF);
  dst[1] = static_cast<char>((value >> 8) & 0xFF);
  dst[2] = static_cast<char>((value >> 16) & 0xFF);
  dst[3] = static_cast<char>((value >> 24) & 0xFF);
}

std::uint32_t DecodeFixed32(const char* src) {
  const auto* b = reinterpret_cast<const unsigned char*>(src);
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

void WriteLittleEndian32(TLxStream& stream, std::int32_t value) {
  char bytes[4];
  EncodeFixed32(bytes, static_cast<std::uint32_t>(value));
  stream.WriteBuffer(bytes, sizeof bytes);
}

std::int32_t ReadLittleEndian32(TLxStream& stream) {
  char bytes[4];
  stream.ReadBuffer(bytes, sizeof bytes);
  return static_cast<std::int32_t>(DecodeFixed32(bytes));
}

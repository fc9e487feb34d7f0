#include "SyntheticBitmap.h"

namespace {

constexpr std::int32_t kFileHeaderSize = 14;
constexpr std::int32_t kInfoHeaderSize = 40;
constexpr std::int32_t kBytesPerPixel = 3;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void Put16(std::string& bytes, std::uint32_t value) {
  bytes += static_cast<char>(value & 0xFF);
  bytes += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& bytes, std::uint32_t value) {
  Put16(bytes, value & 0xFFFF);
  Put16(bytes, value >> 16);
}

}  // namespace

std::string SyntheticBitmap(std::int32_t width, std::int32_t height, std::uint32_t pattern) {
  // Rows are padded to a multiple of four bytes.
  const std::int32_t rowSize = (width * kBytesPerPixel + 3) / 4 * 4;
  const std::int32_t pixelBytes = rowSize * height;
  std::string bytes;
  bytes.reserve(static_cast<size_t>(kFileHeaderSize + kInfoHeaderSize + pixelBytes));
  bytes += "BM";
  Put32(bytes, static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize + pixelBytes));
  Put32(bytes, 0);
  Put32(bytes, kFileHeaderSize + kInfoHeaderSize);
  Put32(bytes, kInfoHeaderSize);
  Put32(bytes, static_cast<std::uint32_t>(width));
  Put32(bytes, static_cast<std::uint32_t>(height));
  Put16(bytes, 1);                       // planes
  Put16(bytes, kBytesPerPixel * 8);      // bits per pixel
  Put32(bytes, 0);                       // no compression
  Put32(bytes, static_cast<std::uint32_t>(pixelBytes));
  Put32(bytes, kPixelsPerMetre);
  Put32(bytes, kPixelsPerMetre);
  Put32(bytes, 0);
  Put32(bytes, 0);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      bytes += static_cast<char>((x * 255 / width + pattern) & 0xFF);
      bytes += static_cast<char>((y * 255 / height) & 0xFF);
      bytes += static_cast<char>(((x / 8 + y / 8) % 2 ? 220 : 40) ^ (pattern & 0x3F));
    }
    bytes.append(static_cast<size_t>(rowSize - width * kBytesPerPixel), '\0');
  }
  return bytes;
}

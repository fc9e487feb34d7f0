#include "LxStreamLayers.h"
#include "TOMOStream.h"

#include <algorithm>

// Fixed for the life of the format: every scrambled document ever written
// depends on it.
const std::array<std::uint8_t, TTOMOStream::kKeySize> TTOMOStream::kKey = {
    0x5A, 0x3C, 0x96, 0xE1, 0x0F, 0x72, 0xB4, 0x2D, 0xC8, 0x61, 0x1E, 0x9B, 0x47, 0xD3, 0x85, 0x2A};

TTOMOStream::TTOMOStream(std::unique_ptr<TLxStream> inner)
    : TLxStreamDecorator(std::move(inner)),
      origin_(Inner().Position()),
      workBuffer_(std::make_unique<std::uint8_t[]>(kWorkBufferSize)) {}

std::uint8_t TTOMOStream::KeyAt(std::int64_t position) const {
  // Positions before the origin (a seek back past it) still map into the key.
  const std::int64_t offset = position - origin_;
  return kKey[static_cast<size_t>(((offset % kKeySize) + kKeySize) % kKeySize)];
}

std::int32_t TTOMOStream::Read(void* buffer, std::int32_t count) {
  const std::int64_t start = Inner().Position();
  const std::int32_t got = Inner().Read(buffer, count);
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  for (std::int32_t i = 0; i < got; ++i) bytes[i] ^= KeyAt(start + i);
  return std::max<std::int32_t>(got, 0);
}

std::int32_t TTOMOStream::Write(const void* buffer, std::int32_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  std::int32_t written = 0;
  while (written < count) {
    const std::int32_t chunk = std::min(kWorkBufferSize, count - written);
    const std::int64_t start = Inner().Position();
    for (std::int32_t i = 0; i < chunk; ++i) workBuffer_[i] = bytes[written + i] ^ KeyAt(start + i);
    const std::int32_t taken = Inner().Write(workBuffer_.get(), chunk);
    if (taken > 0) written += taken;
    if (taken < chunk) break;
  }
  return written;
}

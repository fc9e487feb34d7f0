#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "LxStreamLayers.h"

// The scrambling of old document bodies: each byte is stored XOR a 16-byte
// key, the key index counted from the stream's origin (the inner position
// when the stream was made). Reading unscrambles, writing scrambles; the same
// operation both ways. The stream owns its inner stream.
//
//   TTOMOStream body(std::move(file));   // origin: the file's position now
//   body.Read(buffer, n);                // plain bytes
class TTOMOStream : public TLxStreamDecorator {
 public:
  static constexpr std::int32_t kKeySize = 16;
  static const std::array<std::uint8_t, kKeySize> kKey;

  explicit TTOMOStream(std::unique_ptr<TLxStream> inner);

  std::int32_t Read(void* buffer, std::int32_t count) override;
  // Writes in chunks of the work buffer; stops early when the inner stream
  // takes less than a chunk. Returns the bytes written.
  std::int32_t Write(const void* buffer, std::int32_t count) override;

  std::int32_t Origin() const { return origin_; }

 private:
  static constexpr std::int32_t kWorkBufferSize = 8192;

  // Key byte for a byte at `position` of the inner stream.
  std::uint8_t KeyAt(std::int64_t position) const;

  std::int32_t origin_;
  std::unique_ptr<std::uint8_t[]> workBuffer_;
};

#pragma once

// Unit LxStrm: the memory stream.

#include <cstdint>
#include <string>

#include "LxStrm.h"

// Bytes in memory. Writing past the end extends the stream (a gap left by a
// seek beyond the end reads as zero bytes).
//
//   TLxMemoryStream s;
//   WriteLine(s, "abc");           // s.Bytes() == "abc\r\n"
//   s.SetPosition(0);
//   ReadLine(s);                   // "abc"
class TLxMemoryStream : public TLxStream {
 public:
  explicit TLxMemoryStream(std::string bytes = {});

  std::int32_t Read(void* buffer, std::int32_t count) override;
  std::int32_t Write(const void* buffer, std::int32_t count) override;
  // Any position >= 0 is allowed; a negative target raises ELxStreamError.
  std::int32_t Seek(std::int32_t offset, int origin) override;
  void SetSize(std::int32_t newSize) override;
  std::int32_t Position() override { return position_; }
  std::int32_t Size() override { return static_cast<std::int32_t>(bytes_.size()); }
  bool ReadUntil(char delimiter, std::string& text, std::size_t maxLength) override;

  // The stream's bytes (Size() of them).
  const std::string& Bytes() const { return bytes_; }
  char* Memory() { return bytes_.data(); }
  // Empties the stream (size and position 0).
  void Clear();

 private:
  std::string bytes_;
  std::int32_t position_ = 0;
};

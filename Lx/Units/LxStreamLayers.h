#pragma once

// Unit LxStrm: layers over another stream, the decorator and the slice window.

#include <cstdint>
#include <memory>
#include <string>

#include "LxStrm.h"

// Forwards Read, Write, Seek and SetSize unchanged to the inner stream. It does
// not own the inner stream, unless given it as a unique_ptr (a subclass that
// owns its inner stream, such as the document scrambling stream, uses that).
class TLxStreamDecorator : public TLxStream {
 public:
  explicit TLxStreamDecorator(TLxStream& inner);
  explicit TLxStreamDecorator(std::unique_ptr<TLxStream> ownedInner);
  ~TLxStreamDecorator() override;

  std::int32_t Read(void* buffer, std::int32_t count) override;
  std::int32_t Write(const void* buffer, std::int32_t count) override;
  std::int32_t Seek(std::int32_t offset, int origin) override;
  void SetSize(std::int32_t newSize) override;

  TLxStream& Inner() const { return *inner_; }

 private:
  TLxStream* inner_;
  std::unique_ptr<TLxStream> ownedInner_;
};

// A window onto the inner stream's bytes [start, start + size); size 0 means
// unbounded. The inner stream is not owned; every Read and Write first moves
// the inner stream to start + position.
//
// Example: a window of size 10 at start 100, at window position 5: Read of 20
// bytes returns 5 bytes, from inner offsets 105 to 109.
// A position at or past the size reads and writes nothing. Seek has no bound: a
// negative position addresses bytes before start.
class TLxSliceSubstream : public TLxStream {
 public:
  TLxSliceSubstream(TLxStream& inner, std::int32_t start, std::int32_t size);

  std::int32_t Read(void* buffer, std::int32_t count) override;
  std::int32_t Write(const void* buffer, std::int32_t count) override;
  // Origin 0 sets the position to offset, 1 adds offset, 2 sets it to offset +
  // size; any other origin leaves it. Returns the position.
  std::int32_t Seek(std::int32_t offset, int origin) override;
  // Another size raises ELxException "Impossível alterar o tamanho deste bloco
  // de dados."; the same size changes nothing.
  void SetSize(std::int32_t newSize) override;
  bool ReadUntil(char delimiter, std::string& text, std::size_t maxLength) override;

  std::int32_t Start() const { return start_; }
  std::int32_t WindowSize() const { return size_; }

 private:
  std::int32_t Clamp(std::int32_t count) const;

  TLxStream& inner_;
  std::int32_t start_;
  std::int32_t position_ = 0;
  std::int32_t size_;
};

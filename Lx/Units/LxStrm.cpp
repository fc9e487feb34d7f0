#include "LxStrm.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// Bytes moved at a time by CopyFrom.
constexpr std::int32_t kCopyChunkSize = 64 * 1024;

}  // namespace

std::int32_t TLxStream::Position() { return Seek(0, soFromCurrent); }

std::int32_t TLxStream::Size() {
  const std::int32_t position = Seek(0, soFromCurrent);
  const std::int32_t size = Seek(0, soFromEnd);
  Seek(position, soFromBeginning);
  return size;
}

void TLxStream::ReadBuffer(void* buffer, std::int32_t count) {
  if (count < 0) throw ELxReadError();
  auto* out = static_cast<char*>(buffer);
  std::int32_t done = 0;
  // A stream may hand out fewer bytes than asked before its end (a window, a
  // decompressor); only a read of 0 bytes means there are no more.
  while (done < count) {
    const std::int32_t n = Read(out + done, count - done);
    if (n <= 0) throw ELxReadError();
    done += n;
  }
}

void TLxStream::WriteBuffer(const void* buffer, std::int32_t count) {
  if (count < 0) throw ELxWriteError();
  const auto* in = static_cast<const char*>(buffer);
  std::int32_t done = 0;
  while (done < count) {
    const std::int32_t n = Write(in + done, count - done);
    if (n <= 0) throw ELxWriteError();
    done += n;
  }
}

std::int32_t TLxStream::CopyFrom(TLxStream& source, std::int32_t count) {
  if (count == 0) {
    source.Seek(0, soFromBeginning);
    count = source.Size();
  }
  if (count < 0) throw ELxReadError();
  std::unique_ptr<char[]> chunk(new char[static_cast<std::size_t>(std::min(count, kCopyChunkSize)) + 1]);
  std::int32_t left = count;
  while (left > 0) {
    const std::int32_t step = std::min(left, kCopyChunkSize);
    source.ReadBuffer(chunk.get(), step);
    WriteBuffer(chunk.get(), step);
    left -= step;
  }
  return count;
}

bool TLxStream::ReadUntil(char delimiter, std::string& text, std::size_t maxLength) {
  char c;
  for (std::size_t taken = 0; taken < maxLength && Read(&c, 1) == 1; ++taken) {
    if (c == delimiter) return true;
    text.push_back(c);
  }
  return false;
}

std::int32_t LxCheckedPosition(std::int64_t target, const char* where) {
  if (target < std::numeric_limits<std::int32_t>::min() || target > kLxMaxStreamSize) {
    throw ELxStreamError(FormatMessage("Posição inválida %s: %lld", where, static_cast<long long>(target)));
  }
  return static_cast<std::int32_t>(target);
}

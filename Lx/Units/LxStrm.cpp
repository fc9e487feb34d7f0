// The stream contract, the memory stream, the decorator, the slice window, and
// the text and line helpers. The file stream lives in LxFileStream.cpp and the
// zlib block stream in LxZLIBStream.cpp.

#include "LxStrm.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr std::int32_t kMaxStreamSize = std::numeric_limits<std::int32_t>::max();
// Bytes moved at a time by CopyFrom.
constexpr std::int32_t kCopyChunkSize = 64 * 1024;

// Windows-1252 lower case of a byte: ASCII letters, the accented capitals
// C0..DE (except the multiplication sign D7), and Š Œ Ž Ÿ.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A: return 0x9A;  // Š
    case 0x8C: return 0x9C;  // Œ
    case 0x8E: return 0x9E;  // Ž
    case 0x9F: return 0xFF;  // Ÿ
    default: return c;
  }
}

bool IsTrimmed(unsigned char c) { return c <= ' '; }

// A position or a size computed in 64 bits, checked to fit the 32-bit contract.
std::int32_t CheckedPosition(std::int64_t target, const char* where) {
  if (target < std::numeric_limits<std::int32_t>::min() || target > kMaxStreamSize) {
    throw ELxStreamError(FormatMessage("Posição inválida %s: %lld", where, static_cast<long long>(target)));
  }
  return static_cast<std::int32_t>(target);
}

}  // namespace

// ---------------------------------------------------------------------------
// Little-endian helpers

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

// ---------------------------------------------------------------------------
// TLxStream

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

bool TLxStream::ReadUntil(char delimiter, std::string& text) {
  char c;
  while (Read(&c, 1) == 1) {
    if (c == delimiter) return true;
    text.push_back(c);
  }
  return false;
}

// ---------------------------------------------------------------------------
// TLxMemoryStream

TLxMemoryStream::TLxMemoryStream(std::string bytes) : bytes_(std::move(bytes)) {
  if (bytes_.size() > static_cast<std::size_t>(kMaxStreamSize)) {
    throw ELxStreamError("Fluxo em memória grande demais (mais de 2 GiB)");
  }
}

std::int32_t TLxMemoryStream::Read(void* buffer, std::int32_t count) {
  const std::int32_t size = Size();
  if (count <= 0 || position_ >= size) return 0;
  const std::int32_t n = std::min(count, size - position_);
  std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int32_t TLxMemoryStream::Write(const void* buffer, std::int32_t count) {
  if (count <= 0) return 0;
  const std::int32_t n = std::min(count, kMaxStreamSize - position_);  // the 2 GiB bound
  if (n <= 0) return 0;
  const std::size_t end = static_cast<std::size_t>(position_) + static_cast<std::size_t>(n);
  if (end > bytes_.size()) bytes_.resize(end, '\0');
  std::memcpy(bytes_.data() + position_, buffer, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int32_t TLxMemoryStream::Seek(std::int32_t offset, int origin) {
  std::int64_t target = position_;
  switch (origin) {
    case soFromBeginning: target = offset; break;
    case soFromCurrent: target = static_cast<std::int64_t>(position_) + offset; break;
    case soFromEnd: target = static_cast<std::int64_t>(Size()) + offset; break;
    default: break;
  }
  if (target < 0) {
    throw ELxStreamError(FormatMessage("Posição inválida no fluxo em memória: %lld", static_cast<long long>(target)));
  }
  position_ = CheckedPosition(target, "no fluxo em memória");
  return position_;
}

void TLxMemoryStream::SetSize(std::int32_t newSize) {
  if (newSize < 0) throw ELxStreamError(FormatMessage("Tamanho inválido para o fluxo em memória: %d", newSize));
  bytes_.resize(static_cast<std::size_t>(newSize), '\0');
  if (position_ > newSize) position_ = newSize;
}

bool TLxMemoryStream::ReadUntil(char delimiter, std::string& text) {
  const std::int32_t size = Size();
  if (position_ >= size) return false;
  const char* begin = bytes_.data() + position_;
  const auto* found = static_cast<const char*>(std::memchr(begin, delimiter, static_cast<std::size_t>(size - position_)));
  if (found == nullptr) {
    text.append(begin, static_cast<std::size_t>(size - position_));
    position_ = size;
    return false;
  }
  text.append(begin, static_cast<std::size_t>(found - begin));
  position_ += static_cast<std::int32_t>(found - begin) + 1;
  return true;
}

void TLxMemoryStream::Clear() {
  bytes_.clear();
  position_ = 0;
}

// ---------------------------------------------------------------------------
// TLxStreamDecorator

TLxStreamDecorator::TLxStreamDecorator(TLxStream& inner) : inner_(&inner) {}

TLxStreamDecorator::TLxStreamDecorator(std::unique_ptr<TLxStream> ownedInner)
    : inner_(ownedInner.get()), ownedInner_(std::move(ownedInner)) {
  if (inner_ == nullptr) throw ELxAssertionFailed("O fluxo interno não pode ser nulo", "LxStrm");
}

TLxStreamDecorator::~TLxStreamDecorator() = default;

std::int32_t TLxStreamDecorator::Read(void* buffer, std::int32_t count) { return inner_->Read(buffer, count); }

std::int32_t TLxStreamDecorator::Write(const void* buffer, std::int32_t count) {
  return inner_->Write(buffer, count);
}

std::int32_t TLxStreamDecorator::Seek(std::int32_t offset, int origin) { return inner_->Seek(offset, origin); }

void TLxStreamDecorator::SetSize(std::int32_t newSize) { inner_->SetSize(newSize); }

// ---------------------------------------------------------------------------
// TLxSliceSubstream

TLxSliceSubstream::TLxSliceSubstream(TLxStream& inner, std::int32_t start, std::int32_t size)
    : inner_(inner), start_(start), size_(size) {}

std::int32_t TLxSliceSubstream::Clamp(std::int32_t count) const {
  if (count <= 0) return 0;
  if (size_ == 0) return count;
  const std::int64_t left = static_cast<std::int64_t>(size_) - position_;
  if (left <= 0) return 0;
  return static_cast<std::int32_t>(std::min<std::int64_t>(count, left));
}

std::int32_t TLxSliceSubstream::Read(void* buffer, std::int32_t count) {
  count = Clamp(count);
  if (count == 0) return 0;
  inner_.Seek(CheckedPosition(static_cast<std::int64_t>(start_) + position_, "na janela do fluxo"), soFromBeginning);
  const std::int32_t n = inner_.Read(buffer, count);
  position_ += n;
  return n;
}

std::int32_t TLxSliceSubstream::Write(const void* buffer, std::int32_t count) {
  count = Clamp(count);
  if (count == 0) return 0;
  inner_.Seek(CheckedPosition(static_cast<std::int64_t>(start_) + position_, "na janela do fluxo"), soFromBeginning);
  const std::int32_t n = inner_.Write(buffer, count);
  position_ += n;
  return n;
}

std::int32_t TLxSliceSubstream::Seek(std::int32_t offset, int origin) {
  switch (origin) {
    case soFromBeginning: position_ = offset; break;
    case soFromCurrent:
      position_ = CheckedPosition(static_cast<std::int64_t>(position_) + offset, "na janela do fluxo");
      break;
    case soFromEnd:
      position_ = CheckedPosition(static_cast<std::int64_t>(size_) + offset, "na janela do fluxo");
      break;
    default: break;
  }
  return position_;
}

void TLxSliceSubstream::SetSize(std::int32_t newSize) {
  if (newSize != size_) throw ELxException("Impossível alterar o tamanho deste bloco de dados.");
}

bool TLxSliceSubstream::ReadUntil(char delimiter, std::string& text) {
  if (size_ != 0) return TLxStream::ReadUntil(delimiter, text);  // bounded: byte by byte keeps the bound
  const std::int32_t from = CheckedPosition(static_cast<std::int64_t>(start_) + position_, "na janela do fluxo");
  inner_.Seek(from, soFromBeginning);
  const bool found = inner_.ReadUntil(delimiter, text);
  position_ += inner_.Position() - from;
  return found;
}

// ---------------------------------------------------------------------------
// Text helpers

std::string LxTrim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsTrimmed(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && IsTrimmed(static_cast<unsigned char>(text[end - 1]))) --end;
  return std::string(text.substr(begin, end - begin));
}

bool LxSameText(std::string_view first, std::string_view second) {
  if (first.size() != second.size()) return false;
  for (std::size_t i = 0; i < first.size(); ++i) {
    if (FoldCase(static_cast<unsigned char>(first[i])) != FoldCase(static_cast<unsigned char>(second[i]))) {
      return false;
    }
  }
  return true;
}

std::string TLxNameValueList::Values(std::string_view name) const {
  const std::int32_t index = IndexOfName(name);
  return index >= 0 ? entries_[static_cast<std::size_t>(index)].Value : std::string();
}

std::int32_t TLxNameValueList::IndexOfName(std::string_view name) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (LxSameText(entries_[i].Name, name)) return static_cast<std::int32_t>(i);
  }
  return -1;
}

void TLxNameValueList::SetValue(std::string_view name, std::string value) {
  const std::int32_t index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) entries_.erase(entries_.begin() + index);
  } else if (index >= 0) {
    entries_[static_cast<std::size_t>(index)].Value = std::move(value);
  } else {
    entries_.push_back(TEntry{std::string(name), std::move(value)});
  }
}

// ---------------------------------------------------------------------------
// Line helpers

void WriteLine(TLxStream& stream, std::string_view text) {
  if (text.size() > static_cast<std::size_t>(kMaxStreamSize) - 2) throw ELxWriteError();
  std::string line;
  line.reserve(text.size() + 2);
  line.append(text);
  line.append("\r\n");
  stream.WriteBuffer(line.data(), static_cast<std::int32_t>(line.size()));
}

bool ReadLine(TLxStream& stream, std::string& line) {
  line.clear();
  const bool endedByLineFeed = stream.ReadUntil('\n', line);
  const bool readSomething = endedByLineFeed || !line.empty();
  std::erase(line, '\r');
  return readSomething;
}

std::string ReadLine(TLxStream& stream) {
  std::string line;
  ReadLine(stream, line);
  return line;
}

void ReadLines(TLxStream& stream, TLxStringList& list) {
  std::string line;
  while (ReadLine(stream, line) && !line.empty()) list.push_back(line);
}

void ReadHeaderValues(TLxStream& stream, TLxNameValueList& list) {
  std::string line;
  for (;;) {
    ReadLine(stream, line);
    const std::string trimmed = LxTrim(line);
    if (trimmed.empty()) return;  // the empty line ends the block (and is consumed)
    const std::size_t colon = trimmed.find(':');
    if (colon == std::string::npos) {
      list.SetValue(trimmed, std::string());
    } else {
      list.SetValue(LxTrim(std::string_view(trimmed).substr(0, colon)),
                    LxTrim(std::string_view(trimmed).substr(colon + 1)));
    }
  }
}

TLxNameValueList ReadHeaderValues(TLxStream& stream) {
  TLxNameValueList list;
  ReadHeaderValues(stream, list);
  return list;
}

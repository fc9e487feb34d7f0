#include "LxMemoryStream.h"

#include <algorithm>
#include <cstring>

TLxMemoryStream::TLxMemoryStream(std::string bytes) : bytes_(std::move(bytes)) {
  if (bytes_.size() > static_cast<std::size_t>(kLxMaxStreamSize)) {
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
  const std::int32_t n = std::min(count, kLxMaxStreamSize - position_);  // the 2 GiB bound
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
  position_ = LxCheckedPosition(target, "no fluxo em memória");
  return position_;
}

void TLxMemoryStream::SetSize(std::int32_t newSize) {
  if (newSize < 0) throw ELxStreamError(FormatMessage("Tamanho inválido para o fluxo em memória: %d", newSize));
  bytes_.resize(static_cast<std::size_t>(newSize), '\0');
  if (position_ > newSize) position_ = newSize;
}

bool TLxMemoryStream::ReadUntil(char delimiter, std::string& text, std::size_t maxLength) {
  const std::int32_t size = static_cast<std::int32_t>(
      std::min<std::int64_t>(Size(), static_cast<std::int64_t>(position_) + std::min<std::size_t>(maxLength, kLxMaxStreamSize)));
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

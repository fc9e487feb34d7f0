#include "LxStreamLayers.h"

#include <algorithm>

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
  inner_.Seek(LxCheckedPosition(static_cast<std::int64_t>(start_) + position_, "na janela do fluxo"), soFromBeginning);
  const std::int32_t n = inner_.Read(buffer, count);
  position_ += n;
  return n;
}

std::int32_t TLxSliceSubstream::Write(const void* buffer, std::int32_t count) {
  count = Clamp(count);
  if (count == 0) return 0;
  inner_.Seek(LxCheckedPosition(static_cast<std::int64_t>(start_) + position_, "na janela do fluxo"), soFromBeginning);
  const std::int32_t n = inner_.Write(buffer, count);
  position_ += n;
  return n;
}

std::int32_t TLxSliceSubstream::Seek(std::int32_t offset, int origin) {
  switch (origin) {
    case soFromBeginning: position_ = offset; break;
    case soFromCurrent:
      position_ = LxCheckedPosition(static_cast<std::int64_t>(position_) + offset, "na janela do fluxo");
      break;
    case soFromEnd:
      position_ = LxCheckedPosition(static_cast<std::int64_t>(size_) + offset, "na janela do fluxo");
      break;
    default: break;
  }
  return position_;
}

void TLxSliceSubstream::SetSize(std::int32_t newSize) {
  if (newSize != size_) throw ELxException("Impossível alterar o tamanho deste bloco de dados.");
}

bool TLxSliceSubstream::ReadUntil(char delimiter, std::string& text, std::size_t maxLength) {
  if (size_ != 0) return TLxStream::ReadUntil(delimiter, text, maxLength);  // bounded: byte by byte keeps the bound
  const std::int32_t from = LxCheckedPosition(static_cast<std::int64_t>(start_) + position_, "na janela do fluxo");
  inner_.Seek(from, soFromBeginning);
  const bool found = inner_.ReadUntil(delimiter, text, maxLength);
  position_ += inner_.Position() - from;
  return found;
}

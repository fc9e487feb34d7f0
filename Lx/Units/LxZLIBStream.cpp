// TLxZLIBStream: one zlib block behind an 8-byte size header, and the coder
// that deflates into or inflates from the block's window.

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "LxLittleEndian.h"
#include "LxStreamLayers.h"
#include "LxZLIBStream.h"

namespace {

// Bytes of compressed data moved between the coder and the window at a time.
constexpr std::int32_t kChunkSize = 64 * 1024;
constexpr std::int32_t kMaxSize = std::numeric_limits<std::int32_t>::max();

const char* const kCorrupt = "Erro de descompressão: dados corrompidos";
const char* const kTooLong = "Erro de descompressão: dados corrompidos (os dados excedem o tamanho expandido do cabeçalho)";
const char* const kTooShort = "Erro de descompressão: dados corrompidos (os dados não têm o tamanho expandido do cabeçalho)";
const char* const kTruncated = "Erro de descompressão: dados truncados (o bloco termina antes dos dados compactados)";

}  // namespace

// The zlib coder over the block's window: a deflater while writing, an
// inflater while reading. Position() counts the expanded bytes taken in
// (deflating) or handed out (inflating).
class TLxZCoder {
 public:
  TLxZCoder(TLxStream& window, bool compressing, std::int32_t expectedSize)
      : window_(window), compressing_(compressing), expectedSize_(expectedSize), chunk_(new unsigned char[kChunkSize]) {
    std::memset(&zs_, 0, sizeof zs_);
    const int rc = compressing ? deflateInit(&zs_, TLxZLIBStream::kCompressionLevel) : inflateInit(&zs_);
    if (rc != Z_OK) {
      throw ELxStreamError(compressing ? "Erro de compressão: não foi possível iniciar o compressor"
                                       : "Erro de descompressão: não foi possível iniciar o descompressor");
    }
  }
  ~TLxZCoder() {
    if (compressing_) {
      deflateEnd(&zs_);
    } else {
      inflateEnd(&zs_);
    }
  }
  TLxZCoder(const TLxZCoder&) = delete;
  TLxZCoder& operator=(const TLxZCoder&) = delete;

  bool Compressing() const { return compressing_; }
  std::int32_t Position() const { return position_; }

  // Deflating --------------------------------------------------------------

  std::int32_t Deflate(const void* buffer, std::int32_t count) {
    if (count <= 0) return 0;
    if (count > kMaxSize - position_) throw ELxWriteError("Erro de escrita no fluxo: o bloco excederia 2 GiB");
    zs_.next_in = static_cast<Bytef*>(const_cast<void*>(buffer));
    zs_.avail_in = static_cast<uInt>(count);
    while (zs_.avail_in > 0) Pump(Z_NO_FLUSH);
    position_ += count;
    return count;
  }

  // Completes the zlib stream (the rest of the data and the Adler-32 trailer).
  void FinishDeflate() {
    zs_.next_in = nullptr;
    zs_.avail_in = 0;
    while (Pump(Z_FINISH) != Z_STREAM_END) {
    }
  }

  // Inflating --------------------------------------------------------------

  // Hands out up to `count` expanded bytes; fewer only at the end of the data.
  // The data must inflate to exactly the header's expanded size and end with a
  // valid zlib trailer; when the last expected byte is handed out the trailer
  // is checked at once, so a reader that stops there still sees a bad block.
  std::int32_t Inflate(void* buffer, std::int32_t count) {
    if (ended_ || count <= 0) return 0;
    const std::int32_t produced = Pull(static_cast<Bytef*>(buffer), count);
    if (static_cast<std::int64_t>(position_) + produced > expectedSize_) throw ELxDecompressionError(kTooLong);
    position_ += produced;
    if (position_ == expectedSize_ && !ended_) {
      Bytef extra;
      if (Pull(&extra, 1) != 0) throw ELxDecompressionError(kTooLong);
    }
    if (ended_ && position_ != expectedSize_) throw ELxDecompressionError(kTooShort);
    return produced;
  }

  // Inflates and discards up to `count` bytes; stops early at the end.
  void Skip(std::int64_t count) {
    // The chunk holds compressed input; discarded output needs its own room.
    if (!scratch_) scratch_.reset(new unsigned char[kChunkSize]);
    while (count > 0 && !ended_) {
      const std::int32_t n = Inflate(scratch_.get(), static_cast<std::int32_t>(std::min<std::int64_t>(count, kChunkSize)));
      if (n == 0) break;
      count -= n;
    }
  }

  // Back to the first byte: inflation restarts from the window's start.
  void Reset() {
    if (inflateReset(&zs_) != Z_OK) throw ELxDecompressionError(kCorrupt);
    window_.Seek(0, soFromBeginning);
    zs_.next_in = nullptr;
    zs_.avail_in = 0;
    position_ = 0;
    ended_ = false;
  }

 private:
  // Inflates into out[0..count) until it is full or the zlib stream ends.
  // Every pass either consumes input, produces output, ends the stream or
  // raises: a malformed block cannot make this loop spin.
  std::int32_t Pull(Bytef* out, std::int32_t count) {
    zs_.next_out = out;
    zs_.avail_out = static_cast<uInt>(count);
    while (zs_.avail_out > 0) {
      if (zs_.avail_in == 0) {
        // The window stops at the block's compressed size: no read beyond it.
        const std::int32_t n = window_.Read(chunk_.get(), kChunkSize);
        if (n <= 0) throw ELxDecompressionError(kTruncated);
        zs_.next_in = chunk_.get();
        zs_.avail_in = static_cast<uInt>(n);
      }
      const int rc = inflate(&zs_, Z_NO_FLUSH);
      if (rc == Z_STREAM_END) {
        ended_ = true;
        break;
      }
      if (rc == Z_BUF_ERROR && zs_.avail_in == 0) continue;  // wants more input
      if (rc != Z_OK) throw ELxDecompressionError(kCorrupt);
    }
    return count - static_cast<std::int32_t>(zs_.avail_out);
  }

  // One deflate call into the chunk, whose output goes to the window.
  int Pump(int flush) {
    zs_.next_out = chunk_.get();
    zs_.avail_out = static_cast<uInt>(kChunkSize);
    const int rc = deflate(&zs_, flush);
    if (rc == Z_STREAM_ERROR) throw ELxCompressionError("Erro de compressão: estado inválido do compressor");
    const std::int32_t produced = kChunkSize - static_cast<std::int32_t>(zs_.avail_out);
    window_.WriteBuffer(chunk_.get(), produced);
    return rc;
  }

  TLxStream& window_;
  const bool compressing_;
  const std::int32_t expectedSize_;  // inflating: the header's expanded size
  std::unique_ptr<unsigned char[]> chunk_;    // compressed bytes on their way to or from the window
  std::unique_ptr<unsigned char[]> scratch_;  // expanded bytes discarded by Skip
  z_stream zs_;
  std::int32_t position_ = 0;
  bool ended_ = false;
};

TLxZLIBStream::TLxZLIBStream(TLxStream& inner) : TLxStreamDecorator(inner), inner_(inner) {}

TLxZLIBStream::~TLxZLIBStream() {
  try {
    Finish();
  } catch (...) {
    // A destructor cannot report; writers call Finish() themselves.
  }
}

bool TLxZLIBStream::Writing() const { return coder_ && coder_->Compressing(); }

void TLxZLIBStream::BeginRead() {
  coder_.reset();
  window_.reset();
  position_ = 0;
  char header[kHeaderSize];
  inner_.ReadBuffer(header, kHeaderSize);
  compressedSize_ = static_cast<std::int32_t>(DecodeFixed32(header));
  expandedSize_ = static_cast<std::int32_t>(DecodeFixed32(header + 4));
  // A window of size 0 would be unbounded and let inflation run on into
  // whatever follows the block; a valid zlib stream is never empty.
  if (compressedSize_ <= 0 || expandedSize_ < 0) {
    throw ELxDecompressionError(FormatMessage(
        "Erro de descompressão: cabeçalho do bloco inválido (tamanho compactado %d, tamanho expandido %d)",
        compressedSize_, expandedSize_));
  }
  window_ = std::make_unique<TLxSliceSubstream>(inner_, inner_.Position(), compressedSize_);
  coder_ = std::make_unique<TLxZCoder>(*window_, false, expandedSize_);
}

void TLxZLIBStream::BeginWrite() {
  coder_.reset();
  window_.reset();
  position_ = 0;
  char header[kHeaderSize];
  EncodeFixed32(header, static_cast<std::uint32_t>(compressedSize_));
  EncodeFixed32(header + 4, static_cast<std::uint32_t>(expandedSize_));
  inner_.WriteBuffer(header, kHeaderSize);
  window_ = std::make_unique<TLxSliceSubstream>(inner_, inner_.Position(), 0);
  coder_ = std::make_unique<TLxZCoder>(*window_, true, 0);
}

void TLxZLIBStream::EnsureBegunForReading() {
  if (!coder_) BeginRead();
}

std::int32_t TLxZLIBStream::Read(void* buffer, std::int32_t count) {
  EnsureBegunForReading();
  if (Writing()) throw ELxCompressionError("Erro de compressão: leitura não permitida em um bloco sendo gravado");
  if (count <= 0) return 0;
  if (coder_->Position() != position_) {
    if (position_ < coder_->Position()) coder_->Reset();
    coder_->Skip(static_cast<std::int64_t>(position_) - coder_->Position());
    if (coder_->Position() != position_) return 0;  // the position lies beyond the data
  }
  const std::int32_t n = coder_->Inflate(buffer, count);
  position_ += n;
  return n;
}

std::int32_t TLxZLIBStream::Write(const void* buffer, std::int32_t count) {
  if (!coder_) BeginWrite();
  if (!Writing()) throw ELxDecompressionError("Erro de descompressão: escrita não permitida em um bloco sendo lido");
  const std::int32_t n = coder_->Deflate(buffer, count);
  position_ += n;
  return n;
}

std::int32_t TLxZLIBStream::Seek(std::int32_t offset, int origin) {
  EnsureBegunForReading();
  if (Writing()) {
    if (offset == 0 && origin == soFromCurrent) return coder_->Position();
    throw ELxCompressionError("Erro de compressão: posicionamento não permitido em um bloco sendo gravado");
  }
  std::int64_t target = position_;
  switch (origin) {
    case soFromBeginning: target = offset; break;
    case soFromCurrent: target = static_cast<std::int64_t>(position_) + offset; break;
    case soFromEnd: target = static_cast<std::int64_t>(expandedSize_) + offset; break;
    default: break;
  }
  if (target < 0 || target > kMaxSize) {
    throw ELxStreamError(
        FormatMessage("Posição inválida no bloco compactado: %lld", static_cast<long long>(target)));
  }
  position_ = static_cast<std::int32_t>(target);
  return position_;
}

void TLxZLIBStream::SetSize(std::int32_t /*newSize*/) { throw ELxException("Operação não permitida"); }

void TLxZLIBStream::Finish() {
  if (!Writing()) return;
  coder_->FinishDeflate();
  expandedSize_ = coder_->Position();
  coder_.reset();
  compressedSize_ = window_->Position();
  // Fill in the placeholder header, which lies just before the window.
  window_->Seek(-kHeaderSize, soFromBeginning);
  char header[kHeaderSize];
  EncodeFixed32(header, static_cast<std::uint32_t>(compressedSize_));
  EncodeFixed32(header + 4, static_cast<std::uint32_t>(expandedSize_));
  window_->WriteBuffer(header, kHeaderSize);
  window_.reset();
  // The header write left the inner stream at the block's data; step over it.
  inner_.Seek(compressedSize_, soFromCurrent);
}

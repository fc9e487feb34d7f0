#pragma once

// Unit LxStrm: the zlib block stream.

#include <cstdint>
#include <memory>

#include "LxStreamLayers.h"

class TLxZCoder;  // the zlib compressor or decompressor (LxZLIBStream.cpp)

// Exactly one zlib block on the inner stream (not owned):
//
//   offset 0  4 bytes  compressed size (bytes from offset 8 to the block end), LE
//   offset 4  4 bytes  expanded size (bytes the block inflates to), LE
//   offset 8  ...      one zlib stream (RFC 1950), compression level 9
//
// The block begins at the inner stream's position when BeginRead/BeginWrite
// runs (it may follow a text header).
//
// Writing:
//   TLxZLIBStream z(file);
//   z.Write(body.data(), n);   // BeginWrite runs on the first Write
//   z.Finish();                // header filled in; file stands after the block
// Reading:
//   TLxZLIBStream z(file);
//   z.BeginRead();             // or just Read
//   z.Size();                  // the expanded size, without inflating
//   z.ReadBuffer(buf, z.Size());
//
// Reading stops at the end of the zlib data. Corrupt data, a block shorter
// than its header says, data that inflates to more or less than the header's
// expanded size, or negative sizes raise ELxDecompressionError
// ("Erro de descompressão: dados corrompidos", "... dados truncados", ...);
// a malformed block never loops or reads past the block's end.
// A backward Seek restarts inflation from the block start (never an error).
class TLxZLIBStream : public TLxStreamDecorator {
 public:
  // zlib compression level of every block.
  static constexpr int kCompressionLevel = 9;
  // Bytes of the size header before the zlib data.
  static constexpr std::int32_t kHeaderSize = 8;

  explicit TLxZLIBStream(TLxStream& inner);
  // Runs Finish; an error it raises is swallowed here, so a writer calls
  // Finish() itself to see it.
  ~TLxZLIBStream() override;

  // Reads the 8-byte header (a short read raises ELxReadError) and prepares
  // inflation from the inner stream's position after it.
  void BeginRead();
  // Writes the 8-byte placeholder header and prepares deflation after it.
  void BeginWrite();

  // Inflated bytes; runs BeginRead when nothing has begun yet.
  std::int32_t Read(void* buffer, std::int32_t count) override;
  // Deflates; runs BeginWrite when nothing has begun yet.
  std::int32_t Write(const void* buffer, std::int32_t count) override;
  // Reading: origin 0 sets the position, 1 adds to it, 2 sets it to offset +
  // expanded size; the inflater moves only at the next Read. Writing: only
  // Seek(0, 1) (the bytes taken in so far); anything else raises
  // ELxCompressionError. Runs BeginRead when nothing has begun yet.
  std::int32_t Seek(std::int32_t offset, int origin) override;
  // Always raises ELxException "Operação não permitida".
  void SetSize(std::int32_t newSize) override;

  // Writing only (otherwise nothing): completes the zlib stream, fills in the
  // header, and leaves the inner stream right after the block. A second call
  // does nothing.
  void Finish();

  // The header's sizes (after BeginRead, or after Finish when writing).
  std::int32_t CompressedSize() const { return compressedSize_; }
  std::int32_t ExpandedSize() const { return expandedSize_; }

 private:
  bool Writing() const;
  void EnsureBegunForReading();

  TLxStream& inner_;
  std::unique_ptr<TLxSliceSubstream> window_;
  std::unique_ptr<TLxZCoder> coder_;
  std::int32_t position_ = 0;
  std::int32_t expandedSize_ = 0;
  std::int32_t compressedSize_ = 0;
};

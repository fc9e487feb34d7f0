#pragma once

// Unit LxStrm: the stream contract of the program. Its layers live in their
// own files:
//   LxFileStream.h     TLxFileStream, a buffered file
//   LxMemoryStream.h   TLxMemoryStream, bytes in memory
//   LxStreamLayers.h   TLxStreamDecorator and TLxSliceSubstream
//   LxZLIBStream.h     TLxZLIBStream, one zlib block behind a size header
//   LxLineIO.h         WriteLine, ReadLine, ReadLines, ReadHeaderValues
//   LxLittleEndian.h   the 32-bit little-endian fields of file formats
//   LxText.h           trimming, case-blind comparison, name=value lists
//
// Positions, sizes and counts are 32-bit signed: streams go up to 2 GiB - 1.
// Texts are single-byte Windows-1252 in std::string; file names are UTF-8.

#include <cstdint>
#include <limits>
#include <string>

#include "LxStreamErrors.h"

// Origins of Seek.
enum TLxSeekOrigin : int {
  soFromBeginning = 0,
  soFromCurrent = 1,
  soFromEnd = 2,
};

// ReadUntil without a bound.
inline constexpr std::size_t kLxNoLengthLimit = static_cast<std::size_t>(-1);

class TLxStream {
 public:
  virtual ~TLxStream() = default;

  // Reads up to `count` bytes into buffer; returns the bytes read (0 at the
  // end). A count <= 0 reads nothing.
  virtual std::int32_t Read(void* buffer, std::int32_t count) = 0;
  // Writes up to `count` bytes; returns the bytes written.
  virtual std::int32_t Write(const void* buffer, std::int32_t count) = 0;
  // Moves the position: origin 0 (soFromBeginning) from the beginning, 1 from
  // the current position, 2 from the end. Returns the new position.
  virtual std::int32_t Seek(std::int32_t offset, int origin) = 0;
  // Sets the stream's size (truncating or extending).
  virtual void SetSize(std::int32_t newSize) = 0;

  // Seek(0, 1).
  virtual std::int32_t Position();
  // Seek(position, 0).
  void SetPosition(std::int32_t position) { Seek(position, soFromBeginning); }
  // Seek(0, 2), with the position restored afterwards.
  virtual std::int32_t Size();

  // Read exactly `count` bytes, or raise ELxReadError ("Erro de leitura do
  // fluxo"); the bytes that were available are consumed.
  void ReadBuffer(void* buffer, std::int32_t count);
  // Write exactly `count` bytes, or raise ELxWriteError ("Erro de escrita no
  // fluxo").
  void WriteBuffer(const void* buffer, std::int32_t count);

  // Copies `count` bytes from `source` (at its position) into this stream;
  // count 0 copies the whole source from its beginning. Raises ELxReadError /
  // ELxWriteError when short. Returns the bytes copied.
  std::int32_t CopyFrom(TLxStream& source, std::int32_t count);

  // Reads bytes up to and including the next `delimiter`, appending them to
  // `text` without the delimiter. Returns true when the delimiter was read,
  // false when the stream ended first. Exactly the bytes up to the delimiter are
  // consumed, as if read one at a time (the base does just that); buffered
  // streams override it to scan their buffer. ReadLine is built on it.
  // At most `maxLength` bytes are appended: a stream without the delimiter
  // then stops there and returns false, so that a damaged file or a device
  // cannot fill the memory.
  virtual bool ReadUntil(char delimiter, std::string& text, std::size_t maxLength = kLxNoLengthLimit);
};

// The largest position or size of a stream.
inline constexpr std::int32_t kLxMaxStreamSize = std::numeric_limits<std::int32_t>::max();

// A position or a size computed in 64 bits, checked to fit the 32-bit
// contract; raises ELxStreamError "Posição inválida <where>: <target>".
std::int32_t LxCheckedPosition(std::int64_t target, const char* where);

#pragma once

// Unit LxStrm: the stream contract of the program and its stream layers.
//
//   TLxStream            the contract: Read, Write, Seek, SetSize, Position, Size
//   TLxFileStream        a buffered file (create, open read, open read-write)
//   TLxMemoryStream      bytes in memory, exposed
//   TLxStreamDecorator   forwards everything to an inner stream
//   TLxSliceSubstream    a window onto a byte range of another stream
//   TLxZLIBStream        one zlib block behind an 8-byte size header
//   WriteLine, ReadLine, ReadLines, ReadHeaderValues   CR LF text lines
//
// Positions, sizes and counts are 32-bit signed: streams go up to 2 GiB - 1.
// Texts are single-byte Windows-1252 in std::string; file names are UTF-8.
//
// Errors (all derive from ELxException, see LxExcept.h):
//   ELxReadError     "Erro de leitura do fluxo" (ReadBuffer got fewer bytes)
//   ELxWriteError    "Erro de escrita no fluxo" (WriteBuffer wrote fewer bytes)
//   ELxInOutError    a file could not be opened, created, read or written;
//                    carries the system error code and names the file
//   ELxDecompressionError  corrupt or truncated zlib data
//   ELxException     the general errors of the stream layers
//                    ("Operação não permitida", ...)

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "LxExcept.h"

// ---------------------------------------------------------------------------
// Errors

// Base of the stream errors (class name "EStreamError").
class ELxStreamError : public ELxException {
 public:
  explicit ELxStreamError(std::string message, std::string className = "EStreamError")
      : ELxException(std::move(message), std::move(className)) {}
};

// A stream gave fewer bytes than required (class name "EReadError").
// Default message: "Erro de leitura do fluxo".
class ELxReadError : public ELxStreamError {
 public:
  explicit ELxReadError(std::string message = "Erro de leitura do fluxo")
      : ELxStreamError(std::move(message), "EReadError") {}
};

// A stream took fewer bytes than given (class name "EWriteError").
// Default message: "Erro de escrita no fluxo".
class ELxWriteError : public ELxStreamError {
 public:
  explicit ELxWriteError(std::string message = "Erro de escrita no fluxo")
      : ELxStreamError(std::move(message), "EWriteError") {}
};

// The platform's input/output error (class name "EInOutError"): a file or a
// folder could not be opened, created, read or written. ErrorCode() is the
// system's error number (errno on POSIX). Messages name the file, e.g.
//   "Não foi possível abrir o arquivo "/dados/TOMOIdx.dat" para leitura:
//    No such file or directory (código 2)"
class ELxInOutError : public ELxException {
 public:
  ELxInOutError(std::string message, int errorCode)
      : ELxException(std::move(message), "EInOutError"), errorCode_(errorCode) {}
  int ErrorCode() const { return errorCode_; }

 private:
  int errorCode_;
};

// Corrupt or truncated compressed data (class name "EZDecompressionError"),
// e.g. "Erro de descompressão: dados corrompidos".
class ELxDecompressionError : public ELxStreamError {
 public:
  explicit ELxDecompressionError(std::string message)
      : ELxStreamError(std::move(message), "EZDecompressionError") {}
};

// The compressor failed or was asked something it cannot do (class name
// "EZCompressionError"), e.g. a seek on a writing TLxZLIBStream.
class ELxCompressionError : public ELxStreamError {
 public:
  explicit ELxCompressionError(std::string message)
      : ELxStreamError(std::move(message), "EZCompressionError") {}
};

// ---------------------------------------------------------------------------
// The stream contract

// Origins of Seek.
enum TLxSeekOrigin : int {
  soFromBeginning = 0,
  soFromCurrent = 1,
  soFromEnd = 2,
};

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
  virtual bool ReadUntil(char delimiter, std::string& text);
};

// ---------------------------------------------------------------------------
// Little-endian 32-bit integers: every such field of a file format goes
// through these.

// dst[0..3] = value, least significant byte first.
void EncodeFixed32(char* dst, std::uint32_t value);
std::uint32_t DecodeFixed32(const char* src);
// WriteBuffer of the 4-byte form; ReadBuffer of it (ELxReadError when short).
void WriteLittleEndian32(TLxStream& stream, std::int32_t value);
std::int32_t ReadLittleEndian32(TLxStream& stream);

// ---------------------------------------------------------------------------
// Files

enum class TLxFileMode {
  Create,         // create, or truncate an existing file; read and write
  OpenRead,       // an existing file, read only
  OpenReadWrite,  // an existing file, read and write, not truncated
};

// Sharing, as an advisory whole-file lock (flock) taken without waiting;
// failing to get it counts as failing to open (ELxInOutError with the code
// EWOULDBLOCK).
enum class TLxFileShare {
  DenyNone,   // no lock
  DenyWrite,  // shared lock: other DenyWrite readers may open, Exclusive may not
  Exclusive,  // exclusive lock: nobody else who asks for a lock may open
};

// A buffered file stream. Reads are served from a 64 KiB buffer (ReadLine's
// byte-at-a-time reads cost no system call each); writes collect in the same
// buffer and reach the file on Flush, on a Seek that moves the position, on
// SetSize, on a Read, on Close and on destruction.
//
// Open failures raise ELxInOutError naming the file, e.g.
//   "Não foi possível criar o arquivo "/x/y.tmp": Permission denied (código 13)".
// A write that the system refuses raises ELxInOutError
//   "Erro de escrita no arquivo "%s": ... (código %d)".
// Destruction cannot raise: a writer that must know its bytes reached the file
// (commit protocol: write name.tmp, then rename) calls Close() or Flush() first.
// Bytes already in the read buffer are not read again from the disk while the
// stream stays open; to see what another process wrote since, open the file
// anew.
class TLxFileStream : public TLxStream {
 public:
  // Bytes held in memory between system calls.
  static constexpr std::int32_t kBufferSize = 64 * 1024;

  TLxFileStream(const std::string& fileName, TLxFileMode mode,
                TLxFileShare share = TLxFileShare::DenyNone);
  ~TLxFileStream() override;

  TLxFileStream(const TLxFileStream&) = delete;
  TLxFileStream& operator=(const TLxFileStream&) = delete;

  std::int32_t Read(void* buffer, std::int32_t count) override;
  std::int32_t Write(const void* buffer, std::int32_t count) override;
  // Raises ELxStreamError "Posição inválida no arquivo "%s": %lld" for a
  // target position below 0 or beyond 2 GiB - 1.
  std::int32_t Seek(std::int32_t offset, int origin) override;
  // Truncates or extends (with zero bytes) the file; a position beyond the new
  // size moves to the new size.
  void SetSize(std::int32_t newSize) override;
  std::int32_t Position() override { return position_; }
  std::int32_t Size() override;
  bool ReadUntil(char delimiter, std::string& text) override;

  // Writes the buffered bytes to the file (raising ELxInOutError on failure).
  void Flush();
  // Flushes and closes the file; raises on failure. Further use raises.
  void Close();

  const std::string& FileName() const { return fileName_; }

 private:
  void FlushWrites();
  void DropReadBuffer() { readStart_ = readLength_ = 0; }
  void CheckOpen() const;
  bool FillReadBuffer();
  [[noreturn]] void RaiseIo(const char* format, int errorCode) const;

  std::string fileName_;
  int handle_ = -1;
  bool writable_ = false;
  std::int32_t position_ = 0;   // the stream's position
  std::int64_t fileSize_ = 0;   // size of the file including buffered writes
  std::unique_ptr<char[]> buffer_;
  // Read buffer: file bytes [readStart_, readStart_ + readLength_).
  std::int64_t readStart_ = 0;
  std::int32_t readLength_ = 0;
  // Write buffer: bytes to be written at writeStart_ (writeLength_ > 0 only
  // when the read buffer is empty; the two never coexist).
  std::int64_t writeStart_ = 0;
  std::int32_t writeLength_ = 0;
};

// ---------------------------------------------------------------------------
// Memory

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
  bool ReadUntil(char delimiter, std::string& text) override;

  // The stream's bytes (Size() of them).
  const std::string& Bytes() const { return bytes_; }
  char* Memory() { return bytes_.data(); }
  // Empties the stream (size and position 0).
  void Clear();

 private:
  std::string bytes_;
  std::int32_t position_ = 0;
};

// ---------------------------------------------------------------------------
// Layers

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
  bool ReadUntil(char delimiter, std::string& text) override;

  std::int32_t Start() const { return start_; }
  std::int32_t WindowSize() const { return size_; }

 private:
  std::int32_t Clamp(std::int32_t count) const;

  TLxStream& inner_;
  std::int32_t start_;
  std::int32_t position_ = 0;
  std::int32_t size_;
};

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

// ---------------------------------------------------------------------------
// Text helpers (Windows-1252)

// Removes blanks and control characters (codes 0 to 32) at both ends:
//   LxTrim("\t Data \r") gives "Data".
std::string LxTrim(std::string_view text);

// Equal without regard to case, Windows-1252 letters included (á/Á, ç/Ç, ...):
//   LxSameText("Codificação", "CODIFICAÇÃO") is true (in Windows-1252 bytes).
bool LxSameText(std::string_view first, std::string_view second);

// An ordered list of lines, as ReadLines fills it.
using TLxStringList = std::vector<std::string>;

// An ordered list of name=value entries whose names compare without regard to
// case (LxSameText). Names are unique in the list.
//
//   TLxNameValueList v;
//   v.SetValue("Data", "01/02/2003");
//   v.Values("DATA");             // "01/02/2003"
//   v.Values("Tamanho");          // "" (absent)
//   v.SetValue("data", "x");      // replaces, the entry keeps its place
//   v.SetValue("Data", "");       // deletes the entry
class TLxNameValueList {
 public:
  struct TEntry {
    std::string Name;
    std::string Value;
  };

  std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }
  const TEntry& operator[](std::int32_t index) const { return entries_.at(static_cast<std::size_t>(index)); }
  const std::vector<TEntry>& Entries() const { return entries_; }
  std::vector<TEntry>::const_iterator begin() const { return entries_.begin(); }
  std::vector<TEntry>::const_iterator end() const { return entries_.end(); }

  // The value of name, or "" when absent.
  std::string Values(std::string_view name) const;
  // Index of the entry, or -1.
  std::int32_t IndexOfName(std::string_view name) const;
  bool Contains(std::string_view name) const { return IndexOfName(name) >= 0; }
  // A non-empty value replaces the entry's value or appends a new entry; an
  // empty value deletes the entry (and adds none).
  void SetValue(std::string_view name, std::string value);
  void Clear() { entries_.clear(); }

 private:
  std::vector<TEntry> entries_;
};

// ---------------------------------------------------------------------------
// Line helpers

// Writes text then CR LF (an empty text writes only CR LF). Raises
// ELxWriteError when the stream takes fewer bytes.
void WriteLine(TLxStream& stream, std::string_view text);

// Reads up to and including the next LF (consumed, not returned) or to the end
// of the stream; every CR is dropped.
//   "abc\r\n" gives "abc"; "x" (no LF) gives "x"; "a\rb\n" gives "ab";
//   at the end of the stream: "".
std::string ReadLine(TLxStream& stream);
// The same, telling the end apart: false when the stream was already at its
// end (nothing read, line empty); true otherwise, even for an empty line.
//   while (ReadLine(file, line)) { ... }   // every line of a file
bool ReadLine(TLxStream& stream, std::string& line);

// Appends lines to `list` until an empty line or the end of the stream; that
// empty line is consumed and not appended.
void ReadLines(TLxStream& stream, TLxStringList& list);

// Reads a header block: lines of "name: value" ended by an empty line (or the
// end of the stream), each trimmed (LxTrim). The name is the trimmed text before
// the first colon and the value the trimmed text after it; a line without a
// colon is a name with an empty value. Each pair goes through SetValue: a repeated
// name (without regard to case) replaces the earlier value, an empty value
// deletes it.
//   "Data: 01/02/2003\r\nTamanho: 120\r\n\r\nmore" gives Data=01/02/2003,
//   Tamanho=120 and leaves the stream at "more".
void ReadHeaderValues(TLxStream& stream, TLxNameValueList& list);
TLxNameValueList ReadHeaderValues(TLxStream& stream);

#pragma once

// Unit LxStrm: the file stream.

#include <cstdint>
#include <memory>
#include <string>

#include "LxStrm.h"

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
  bool ReadUntil(char delimiter, std::string& text, std::size_t maxLength) override;

  // Writes the buffered bytes to the file (raising ELxInOutError on failure).
  void Flush();
  // Flushes, then asks the system to put the bytes on the disk, so that they
  // survive a power cut (a commit does this before renaming the file into
  // place); raises ELxInOutError on failure.
  void Sync();
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

// TLxFileStream: a file behind one 64 KiB buffer, with positional system calls
// (pread/pwrite), so the buffer never has to keep the descriptor's own offset
// in step with the stream's position.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "LxFileOperations.h"
#include "LxFileStream.h"
#include "LxSystemError.h"

namespace {

constexpr std::int64_t kMaxFilePosition = std::numeric_limits<std::int32_t>::max();
// Permissions of a new file before the umask, as fopen gives them.
constexpr mode_t kNewFileMode = 0666;

// `pattern` holds one %s, where the quoted file name goes:
//   "Não foi possível abrir o arquivo %s para leitura" gives
//   Não foi possível abrir o arquivo "/d/x.dat" para leitura: arquivo ou diretório não encontrado (código 2)
[[noreturn]] void RaiseOpenError(const std::string& pattern, const std::string& fileName, int code) {
  std::string message = pattern;
  const std::size_t slot = message.find("%s");
  if (slot != std::string::npos) message.replace(slot, 2, "\"" + fileName + "\"");
  throw ELxInOutError(message + ": " + SystemErrorText(code), code);
}

}  // namespace

TLxFileStream::TLxFileStream(const std::string& fileName, TLxFileMode mode, TLxFileShare share)
    : fileName_(fileName), buffer_(new char[kBufferSize]) {
  int flags = O_CLOEXEC;
  const char* failure = nullptr;
  switch (mode) {
    case TLxFileMode::Create:
      // No O_TRUNC here: truncating before the lock is taken would destroy a
      // file that another process holds locked.
      flags |= O_RDWR | O_CREAT;
      failure = "Não foi possível criar o arquivo %s";
      writable_ = true;
      break;
    case TLxFileMode::OpenRead:
      flags |= O_RDONLY;
      failure = "Não foi possível abrir o arquivo %s para leitura";
      break;
    case TLxFileMode::OpenReadWrite:
      flags |= O_RDWR;
      failure = "Não foi possível abrir o arquivo %s para leitura e escrita";
      writable_ = true;
      break;
  }
  int handle;
  do {
    handle = writable_ ? FileOperations().OpenForWriting(fileName.c_str(), flags, kNewFileMode)
                       : ::open(fileName.c_str(), flags, kNewFileMode);
  } while (handle < 0 && errno == EINTR);
  if (handle < 0) RaiseOpenError(failure, fileName, errno);

  auto fail = [&](const std::string& prefix, int code) {
    ::close(handle);
    RaiseOpenError(prefix, fileName, code);
  };
  struct stat info;
  if (::fstat(handle, &info) != 0) fail(failure, errno);
  if (S_ISDIR(info.st_mode)) fail(failure, EISDIR);
  // A device, a pipe or a link to one never ends: /dev/zero named as a base's
  // file would be read forever. Only plain files hold the data we read.
  if (mode == TLxFileMode::OpenRead && !S_ISREG(info.st_mode)) fail(failure, EINVAL);
  if (share != TLxFileShare::DenyNone) {
    const int operation = (share == TLxFileShare::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int rc;
    do {
      rc = ::flock(handle, operation);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) fail("O arquivo %s está em uso por outro processo", errno);
  }
  if (mode == TLxFileMode::Create && info.st_size != 0 && FileOperations().Truncate(handle, 0) != 0) fail(failure, errno);
  handle_ = handle;
}

TLxFileStream::~TLxFileStream() {
  try {
    Close();
  } catch (...) {
    // A destructor cannot report; writers that must know call Close() first.
  }
}

void TLxFileStream::RaiseIo(const char* format, int errorCode) const {
  RaiseOpenError(format, fileName_, errorCode);
}

void TLxFileStream::CheckOpen() const {
  if (handle_ < 0) RaiseIo("O arquivo %s está fechado", EBADF);
}

void TLxFileStream::FlushWrites() {
  std::int32_t done = 0;
  while (done < writeLength_) {
    const ssize_t n = FileOperations().WriteAt(handle_, buffer_.get() + done,
                                               static_cast<std::size_t>(writeLength_ - done),
                                               static_cast<off_t>(writeStart_ + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int code = n < 0 ? errno : ENOSPC;
      writeLength_ = 0;  // reported once; retrying in the destructor would only fail again
      RaiseIo("Erro de escrita no arquivo %s", code);
    }
    done += static_cast<std::int32_t>(n);
  }
  writeLength_ = 0;
}

bool TLxFileStream::FillReadBuffer() {
  DropReadBuffer();
  const std::int32_t wanted = static_cast<std::int32_t>(std::min<std::int64_t>(kBufferSize, kMaxFilePosition - position_));
  if (wanted <= 0) return false;
  ssize_t n;
  do {
    n = ::pread(handle_, buffer_.get(), static_cast<std::size_t>(wanted), static_cast<off_t>(position_));
  } while (n < 0 && errno == EINTR);
  if (n < 0) RaiseIo("Erro de leitura no arquivo %s", errno);
  readStart_ = position_;
  readLength_ = static_cast<std::int32_t>(n);
  return n > 0;
}

std::int32_t TLxFileStream::Read(void* buffer, std::int32_t count) {
  CheckOpen();
  if (count <= 0) return 0;
  FlushWrites();
  count = static_cast<std::int32_t>(std::min<std::int64_t>(count, kMaxFilePosition - position_));
  auto* out = static_cast<char*>(buffer);
  std::int32_t done = 0;
  while (done < count) {
    const std::int64_t bufferEnd = readStart_ + readLength_;
    if (position_ >= readStart_ && position_ < bufferEnd) {
      const std::int32_t n = static_cast<std::int32_t>(std::min<std::int64_t>(count - done, bufferEnd - position_));
      std::memcpy(out + done, buffer_.get() + (position_ - readStart_), static_cast<std::size_t>(n));
      done += n;
      position_ += n;
    } else if (count - done >= kBufferSize) {
      // Large reads go straight into the caller's memory.
      const ssize_t n = ::pread(handle_, out + done, static_cast<std::size_t>(count - done), static_cast<off_t>(position_));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) RaiseIo("Erro de leitura no arquivo %s", errno);
      if (n == 0) break;
      done += static_cast<std::int32_t>(n);
      position_ += static_cast<std::int32_t>(n);
    } else if (!FillReadBuffer()) {
      break;
    }
  }
  return done;
}

std::int32_t TLxFileStream::Write(const void* buffer, std::int32_t count) {
  CheckOpen();
  if (!writable_) RaiseIo("O arquivo %s foi aberto somente para leitura", EBADF);
  count = static_cast<std::int32_t>(std::min<std::int64_t>(count, kMaxFilePosition - position_));
  if (count <= 0) return 0;
  DropReadBuffer();
  if (writeLength_ > 0 && writeStart_ + writeLength_ != position_) FlushWrites();
  if (writeLength_ + count > kBufferSize) FlushWrites();
  if (count >= kBufferSize) {
    // Large writes go straight to the file.
    const auto* in = static_cast<const char*>(buffer);
    std::int32_t done = 0;
    while (done < count) {
      const ssize_t n = FileOperations().WriteAt(handle_, in + done, static_cast<std::size_t>(count - done),
                                                 static_cast<off_t>(position_ + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) RaiseIo("Erro de escrita no arquivo %s", n < 0 ? errno : ENOSPC);
      done += static_cast<std::int32_t>(n);
    }
  } else {
    if (writeLength_ == 0) writeStart_ = position_;
    std::memcpy(buffer_.get() + writeLength_, buffer, static_cast<std::size_t>(count));
    writeLength_ += count;
  }
  position_ += count;
  fileSize_ = std::max<std::int64_t>(fileSize_, position_);
  return count;
}

std::int32_t TLxFileStream::Seek(std::int32_t offset, int origin) {
  CheckOpen();
  std::int64_t target = position_;
  switch (origin) {
    case soFromBeginning: target = offset; break;
    case soFromCurrent: target = static_cast<std::int64_t>(position_) + offset; break;
    case soFromEnd: target = static_cast<std::int64_t>(Size()) + offset; break;
    default: break;
  }
  if (target < 0 || target > kMaxFilePosition) {
    throw ELxStreamError(FormatMessage("Posição inválida no arquivo \"%s\": %lld", fileName_.c_str(),
                                       static_cast<long long>(target)));
  }
  if (target != position_) {
    FlushWrites();
    position_ = static_cast<std::int32_t>(target);
  }
  return position_;
}

void TLxFileStream::SetSize(std::int32_t newSize) {
  CheckOpen();
  if (!writable_) RaiseIo("O arquivo %s foi aberto somente para leitura", EBADF);
  if (newSize < 0) {
    throw ELxStreamError(FormatMessage("Tamanho inválido para o arquivo \"%s\": %d", fileName_.c_str(), newSize));
  }
  FlushWrites();
  DropReadBuffer();
  if (FileOperations().Truncate(handle_, static_cast<off_t>(newSize)) != 0) RaiseIo("Erro ao alterar o tamanho do arquivo %s", errno);
  fileSize_ = newSize;
  if (position_ > newSize) position_ = newSize;
}

std::int32_t TLxFileStream::Size() {
  CheckOpen();
  struct stat info;
  if (::fstat(handle_, &info) != 0) RaiseIo("Erro ao consultar o arquivo %s", errno);
  std::int64_t size = info.st_size;
  if (writeLength_ > 0) size = std::max<std::int64_t>(size, writeStart_ + writeLength_);
  fileSize_ = size;
  return static_cast<std::int32_t>(std::min<std::int64_t>(size, kMaxFilePosition));
}

bool TLxFileStream::ReadUntil(char delimiter, std::string& text, std::size_t maxLength) {
  CheckOpen();
  FlushWrites();
  for (std::size_t taken = 0; taken < maxLength;) {
    const std::int64_t bufferEnd = readStart_ + readLength_;
    if (position_ >= readStart_ && position_ < bufferEnd) {
      const char* begin = buffer_.get() + (position_ - readStart_);
      const std::size_t available = std::min(static_cast<std::size_t>(bufferEnd - position_), maxLength - taken);
      const auto* found = static_cast<const char*>(std::memchr(begin, delimiter, available));
      if (found != nullptr) {
        text.append(begin, static_cast<std::size_t>(found - begin));
        position_ += static_cast<std::int32_t>(found - begin) + 1;
        return true;
      }
      text.append(begin, available);
      position_ += static_cast<std::int32_t>(available);
      taken += available;
    } else if (!FillReadBuffer()) {
      return false;
    }
  }
  return false;
}

void TLxFileStream::Flush() {
  CheckOpen();
  FlushWrites();
}

void TLxFileStream::Sync() {
  Flush();
  int rc;
  do {
    rc = FileOperations().Sync(handle_);
  } while (rc != 0 && errno == EINTR);
  // A file system that cannot sync (some network shares) has nothing better to
  // offer; only a real failure to store the bytes is an error.
  if (rc != 0 && errno != EINVAL && errno != EROFS) RaiseIo("Erro de escrita no arquivo %s", errno);
}

void TLxFileStream::Close() {
  if (handle_ < 0) return;
  const int handle = handle_;
  try {
    FlushWrites();
  } catch (...) {
    handle_ = -1;
    ::close(handle);
    throw;
  }
  handle_ = -1;
  DropReadBuffer();
  if (::close(handle) != 0 && errno != EINTR) RaiseIo("Erro ao fechar o arquivo %s", errno);
}

#include "LxFileOperations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

#ifndef RENAME_EXCHANGE
constexpr unsigned kRenameExchange = 1U << 1;  // from <linux/fs.h>
#else
constexpr unsigned kRenameExchange = RENAME_EXCHANGE;
#endif

TLxFileOperations systemOperations;
std::atomic<TLxFileOperations*> currentOperations{&systemOperations};

}  // namespace

int TLxFileOperations::OpenForWriting(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }

ssize_t TLxFileOperations::WriteAt(int handle, const void* bytes, std::size_t count, off_t offset) {
  return ::pwrite(handle, bytes, count, offset);
}

ssize_t TLxFileOperations::Write(int handle, const void* bytes, std::size_t count) {
  return ::write(handle, bytes, count);
}

int TLxFileOperations::Truncate(int handle, off_t size) { return ::ftruncate(handle, size); }

int TLxFileOperations::Sync(int handle) { return ::fsync(handle); }

int TLxFileOperations::Rename(const char* from, const char* to) { return ::rename(from, to); }

int TLxFileOperations::Exchange(const char* first, const char* second) {
#ifdef SYS_renameat2
  return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, first, AT_FDCWD, second, kRenameExchange));
#else
  (void)first;
  (void)second;
  errno = ENOSYS;
  return -1;
#endif
}

int TLxFileOperations::Remove(const char* path) { return std::remove(path); }

int TLxFileOperations::MakeDirectory(const char* path, mode_t mode) { return ::mkdir(path, mode); }

TLxFileOperations& FileOperations() { return *currentOperations.load(std::memory_order_acquire); }

TScopedFileOperations::TScopedFileOperations(TLxFileOperations& operations)
    : previous_(currentOperations.exchange(&operations)) {}

TScopedFileOperations::~TScopedFileOperations() { currentOperations.store(previous_); }

bool RemoveTreeQuietly(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path root(path);
  const fs::file_status status = fs::symlink_status(root, error);
  if (error || !fs::exists(status)) return true;
  if (fs::is_directory(status)) {
    // Children first: a folder can only go once it is empty. A link inside
    // is removed as a link, never followed.
    std::vector<fs::path> children;
    for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
      children.push_back(it->path());
    }
    for (const fs::path& child : children) RemoveTreeQuietly(child.string());
  }
  FileOperations().Remove(root.c_str());
  return !fs::exists(fs::symlink_status(root, error));
}

#include "FileWrites.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

#if !defined(_WIN32) && __has_include(<unistd.h>)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define LEXDEX_POSIX_FILES 1
#endif

namespace lexdex {
namespace {

FileWrites systemWrites;
std::atomic<FileWrites*> currentWrites{&systemWrites};

}  // namespace

#if LEXDEX_POSIX_FILES
int FileWrites::Open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t FileWrites::Write(int fd, const void* bytes, std::size_t count) { return ::write(fd, bytes, count); }
int FileWrites::MakeDirectory(const char* path) { return ::mkdir(path, 0777); }
#else
int FileWrites::Open(const char*, int, mode_t) { return -1; }
ssize_t FileWrites::Write(int, const void*, std::size_t) { return -1; }
int FileWrites::MakeDirectory(const char* path) {
  std::error_code error;
  return std::filesystem::create_directory(path, error) && !error ? 0 : -1;
}
#endif

std::size_t FileWrites::WriteStream(const void* bytes, std::size_t count, std::FILE* file) {
  return std::fwrite(bytes, 1, count, file);
}

int FileWrites::FlushStream(std::FILE* file) { return std::fflush(file); }

int FileWrites::Rename(const char* from, const char* to) { return std::rename(from, to); }

int FileWrites::Remove(const char* path) { return std::remove(path); }

FileWrites& Writes() { return *currentWrites.load(std::memory_order_acquire); }

void SetWrites(FileWrites* writes) { currentWrites.store(writes ? writes : &systemWrites); }

}  // namespace lexdex

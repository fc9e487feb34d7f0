#pragma once

// Every change the engine makes to its files goes through one process-wide
// object: the system's own calls, unless a test of the engine installs its own
// to make one change fail or to stop all changes from one on, as a crash would.

#include <sys/types.h>

#include <cstddef>
#include <cstdio>

namespace lexdex {

class FileWrites {
 public:
  virtual ~FileWrites() = default;
  // open(2) of a file to be written.
  virtual int Open(const char* path, int flags, mode_t mode);
  // write(2); a negative count on failure.
  virtual ssize_t Write(int fd, const void* bytes, std::size_t count);
  // fwrite(3) and fflush(3) of the hint file.
  virtual std::size_t WriteStream(const void* bytes, std::size_t count, std::FILE* file);
  virtual int FlushStream(std::FILE* file);
  // rename(2), remove(3) of a file or an empty folder, mkdir(2).
  virtual int Rename(const char* from, const char* to);
  virtual int Remove(const char* path);
  virtual int MakeDirectory(const char* path);
};

FileWrites& Writes();
// Installs `writes` (nullptr: the system's own again); for tests only.
void SetWrites(FileWrites* writes);

}  // namespace lexdex

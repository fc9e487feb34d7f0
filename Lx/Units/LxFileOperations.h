#pragma once

// The file-system calls that change what is stored, behind one process-wide
// interface. The program always gets the system's own calls; a test installs
// its own implementation to make the k-th change fail, or to stop every change
// from the k-th on as a power cut or a killed process would, and then checks
// that the files left behind still read as the old or the new version.
//
// Every call keeps the POSIX contract of the call it stands for: -1 (or a
// negative count) with errno set on failure.
//
//   class TFailThirdWrite : public TLxFileOperations { ... };
//   TScopedFileOperations scoped(failThirdWrite);   // until the scope ends
//   tree.SaveToFile(folder);                        // the third write fails

#include <sys/types.h>

#include <cstddef>
#include <string>

class TLxFileOperations {
 public:
  virtual ~TLxFileOperations() = default;

  // open(2) for a file that may be written or created; reads are not changes.
  virtual int OpenForWriting(const char* path, int flags, mode_t mode);
  // pwrite(2) and write(2).
  virtual ssize_t WriteAt(int handle, const void* bytes, std::size_t count, off_t offset);
  virtual ssize_t Write(int handle, const void* bytes, std::size_t count);
  // ftruncate(2).
  virtual int Truncate(int handle, off_t size);
  // fsync(2): the bytes written so far survive a power cut.
  virtual int Sync(int handle);
  // rename(2): replaces an existing target.
  virtual int Rename(const char* from, const char* to);
  // renameat2(2) with RENAME_EXCHANGE: two existing names trade places in one
  // step. Fails with EINVAL or ENOSYS where the file system cannot do it.
  virtual int Exchange(const char* first, const char* second);
  // remove(3): a file, or an empty folder.
  virtual int Remove(const char* path);
  // mkdir(2).
  virtual int MakeDirectory(const char* path, mode_t mode);
};

// The operations in force: the system's own unless a test installed others.
TLxFileOperations& FileOperations();

// Installs `operations` for the whole process until the object goes away,
// then puts back what was there before. Not for concurrent use: tests install
// one at a time, while no other thread writes.
class TScopedFileOperations {
 public:
  explicit TScopedFileOperations(TLxFileOperations& operations);
  ~TScopedFileOperations();
  TScopedFileOperations(const TScopedFileOperations&) = delete;
  TScopedFileOperations& operator=(const TScopedFileOperations&) = delete;

 private:
  TLxFileOperations* previous_;
};

// Removes a file, or a folder with everything in it, through FileOperations;
// true when nothing is left at `path` (also when nothing was there).
bool RemoveTreeQuietly(const std::string& path);

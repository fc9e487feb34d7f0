#include "FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "LxFileOperations.h"

bool DeleteFileQuietly(const std::string& path) {
  if (FileOperations().Remove(path.c_str()) == 0) return true;
  struct stat info;
  return errno == ENOENT && ::lstat(path.c_str(), &info) != 0;
}

bool SyncQuietly(const std::string& path) {
  const int handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (handle < 0) return false;
  int rc;
  do {
    rc = FileOperations().Sync(handle);
  } while (rc != 0 && errno == EINTR);
  const bool synced = rc == 0 || errno == EINVAL || errno == EROFS;
  ::close(handle);
  return synced;
}

bool RenameFileQuietly(const std::string& from, const std::string& to) {
  return FileOperations().Rename(from.c_str(), to.c_str()) == 0;
}

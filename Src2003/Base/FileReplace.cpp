#include "FileReplace.h"

#include <sys/stat.h>

#include <cerrno>

#include "LxFileOperations.h"

bool DeleteFileQuietly(const std::string& path) {
  if (FileOperations().Remove(path.c_str()) == 0) return true;
  struct stat info;
  return errno == ENOENT && ::lstat(path.c_str(), &info) != 0;
}

bool RenameFileQuietly(const std::string& from, const std::string& to) {
  return FileOperations().Rename(from.c_str(), to.c_str()) == 0;
}

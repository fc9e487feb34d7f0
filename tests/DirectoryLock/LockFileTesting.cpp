#include "LockFileTesting.h"

#include <ctime>
#include <sys/stat.h>
#include <sys/time.h>

#include "LxDirectoryLockFile.h"
#include "TempFolder.h"

std::vector<std::string> LockFileLines(const std::string& path) { return ParseLockLines(ReadWholeFile(path)); }

void WriteLockFile(const std::string& path, const std::vector<std::string>& lines) {
  WriteWholeFile(path, FormatLockLines(lines));
}

void AgeFile(const std::string& path, long seconds) {
  const time_t written = std::time(nullptr) - seconds;
  const timeval times[2] = {{written, 0}, {written, 0}};
  ::utimes(path.c_str(), times);
}

long SecondsSinceWritten(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return -1;
  return static_cast<long>(std::time(nullptr) - status.st_mtime);
}

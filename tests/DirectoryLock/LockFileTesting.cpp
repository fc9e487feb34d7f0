#include "LockFileTesting.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <ctime>
#include <stdexcept>

#include "LxDirectoryLockFile.h"
#include "TempFolder.h"

std::vector<std::string> LockFileLines(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  ::flock(fd, LOCK_SH);
  std::string bytes;
  char buffer[4096];
  for (ssize_t count; (count = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, static_cast<size_t>(count));
  ::close(fd);
  return ParseLockLines(bytes);
}

std::string LockFileLine(const std::string& path, size_t index) {
  const std::vector<std::string> lines = LockFileLines(path);
  return index < lines.size() ? lines[index] : std::string();
}

void WriteLockFile(const std::string& path, const std::vector<std::string>& lines) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  const std::string bytes = FormatLockLines(lines);
  const bool written = fd >= 0 && ::flock(fd, LOCK_EX) == 0 && ::ftruncate(fd, 0) == 0 &&
                       ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  if (fd >= 0) ::close(fd);
  if (!written) throw std::runtime_error("não foi possível escrever " + path);
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

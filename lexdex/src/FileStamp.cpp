#include "FileStamp.h"

#include <filesystem>
#include <system_error>

#if __has_include(<sys/stat.h>) && !defined(_WIN32)
#include <sys/stat.h>
#define LEXDEX_POSIX_STAT 1
#endif

namespace lexdex {
namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;

}  // namespace

#if LEXDEX_POSIX_STAT

namespace {

FileStamp StampOfStatus(const struct stat& status) {
  return FileStamp{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
                   static_cast<std::uint64_t>(status.st_size),
                   status.st_mtim.tv_sec * kNsPerSecond + status.st_mtim.tv_nsec,
                   status.st_ctim.tv_sec * kNsPerSecond + status.st_ctim.tv_nsec};
}

}  // namespace

std::optional<FileStamp> StampOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return StampOfStatus(status);
}

std::optional<FileStamp> StampOfOpenFile(std::FILE* file, const std::string&) {
  struct stat status {};
  if (file == nullptr || ::fstat(::fileno(file), &status) != 0) return std::nullopt;
  return StampOfStatus(status);
}

std::optional<FileStamp> StampOfOpenPlainFile(std::FILE* file, const std::string&) {
  struct stat status {};
  if (file == nullptr || ::fstat(::fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return StampOfStatus(status);
}

void TouchFile(const std::string& path) {
  // Both times to "now" (null times): the contents are not touched.
  ::utimensat(0, path.c_str(), nullptr, 0);
}

#else

std::optional<FileStamp> StampOf(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  const auto written = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(written.time_since_epoch()).count();
  return FileStamp{0, 0, static_cast<std::uint64_t>(size), ns, ns};
}

std::optional<FileStamp> StampOfOpenFile(std::FILE*, const std::string& path) { return StampOf(path); }

std::optional<FileStamp> StampOfOpenPlainFile(std::FILE*, const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  return StampOf(path);
}

void TouchFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now(), ignored);
}

#endif

}  // namespace lexdex

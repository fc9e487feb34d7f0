#include "FileReplace.h"

#include <filesystem>
#include <system_error>

bool DeleteFileQuietly(const std::string& path) {
  std::error_code error;
  std::filesystem::remove(std::filesystem::u8path(path), error);
  return !error;
}

bool RenameFileQuietly(const std::string& from, const std::string& to) {
  std::error_code error;
  std::filesystem::rename(std::filesystem::u8path(from), std::filesystem::u8path(to), error);
  return !error;
}

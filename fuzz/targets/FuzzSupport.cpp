#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {
void RemoveScratchFolder() {
  std::error_code error;
  fs::remove_all(FuzzScratchFolder(), error);
}
}  // namespace

const std::string& FuzzScratchFolder() {
  static const std::string folder = [] {
    std::error_code error;
    const fs::path base = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path path = base / ("pandecta-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(path);
    return path.string();
  }();
  // Registered after the name exists, so it runs before the name goes.
  static const bool removedAtExit = std::atexit(RemoveScratchFolder) == 0;
  (void)removedAtExit;
  return folder;
}

void WriteFuzzFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  WriteFuzzFile(path, AsText(data, size));
}

void WriteFuzzFile(const std::string& path, std::string_view bytes) {
  std::error_code error;
  fs::create_directories(fs::path(path).parent_path(), error);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void ClearFuzzScratchFolder() {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(FuzzScratchFolder(), error)) {
    fs::remove_all(entry.path(), error);
  }
}


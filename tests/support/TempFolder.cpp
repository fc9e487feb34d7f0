#include "TempFolder.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

namespace {

std::filesystem::path UniqueFolderName() {
  static std::atomic<int> counter{0};
  std::ostringstream name;
  name << "pandecta-test-" << ::getpid() << "-" << counter++;
  return std::filesystem::temp_directory_path() / name.str();
}

}  // namespace

TempFolder::TempFolder() : path_(UniqueFolderName()) {
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::File(const std::string& relative) const {
  return (path_ / relative).string();
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot create " + path.string());
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

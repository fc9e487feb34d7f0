#include "HintMap.h"

#if !defined(_WIN32) && __has_include(<sys/mman.h>)
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#define LEXDEX_HAS_MMAP 1
#endif

namespace lexdex {

#if LEXDEX_HAS_MMAP

bool HintMap::Map(const std::string& path, std::uint64_t bytes) {
  Unmap();
  if (bytes == 0) {
    mapped_ = true;
    return true;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  void* address = ::mmap(nullptr, bytes, PROT_READ, MAP_SHARED, fd, 0);
  ::close(fd);  // the mapping keeps the file alive
  if (address == MAP_FAILED) return false;
  data_ = static_cast<const std::uint8_t*>(address);
  size_ = bytes;
  mapped_ = true;
  return true;
}

void HintMap::Unmap() {
  if (data_ != nullptr) ::munmap(const_cast<std::uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
  mapped_ = false;
}

#else

bool HintMap::Map(const std::string&, std::uint64_t) { return false; }
void HintMap::Unmap() {}

#endif

}  // namespace lexdex

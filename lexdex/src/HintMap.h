#pragma once

// The hint file mapped read-only into memory, for searching: a search reads
// only the 64-byte row of each region it walks, where going through the block
// cache would read a whole 32 KiB block per region. Only whole blocks are
// mapped, since a partial last block reads as zeros anyway. Where mapping is
// not available, IsMapped stays false and searches use the block cache.

#include <cstdint>
#include <string>

namespace lexdex {

class HintMap {
 public:
  HintMap() = default;
  HintMap(const HintMap&) = delete;
  HintMap& operator=(const HintMap&) = delete;
  ~HintMap() { Unmap(); }

  // Maps the first `bytes` bytes of the file at `path`; false (and nothing
  // mapped) when that fails. An empty file maps as zero bytes.
  bool Map(const std::string& path, std::uint64_t bytes);
  void Unmap();

  bool IsMapped() const { return mapped_; }
  const std::uint8_t* Data() const { return data_; }
  std::uint64_t Size() const { return size_; }

 private:
  const std::uint8_t* data_ = nullptr;
  std::uint64_t size_ = 0;
  bool mapped_ = false;
};

}  // namespace lexdex

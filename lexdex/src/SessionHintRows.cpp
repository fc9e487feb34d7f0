#include "SessionHintRows.h"

#include <algorithm>
#include <bit>

#include "ByteOrder.h"
#include "GroupScan.h"
#include "ParallelWork.h"

#if !defined(_WIN32) && __has_include(<unistd.h>)
#include <cerrno>
#include <unistd.h>
#define LEXDEX_POSIX_PREAD 1
#endif

namespace lexdex {
namespace {

constexpr std::uint32_t kBitmapWordsPerRow = kRowSize / kFixed32Size;  // 16
constexpr std::uint32_t kBitsPerBitmapWord = 32;
constexpr std::uint32_t kAllBits = 0xFFFFFFFF;

std::uint64_t RowOffset(std::uint32_t key) {
  return std::uint64_t{key / kHashCount} * kRegionSize + std::uint64_t{key % kHashCount} * kRowSize;
}

}  // namespace

void SessionHintRows::Attach(std::FILE* file, std::uint64_t fileBytes, FolderKind kind, bool keepSettled) {
  file_ = file;
  fileBytes_ = fileBytes;
  kind_ = kind;
  if (!keepSettled) {
    rows_.clear();
    return;
  }
  std::erase_if(rows_, [](const auto& row) { return !row.second.settled; });
}

void SessionHintRows::Detach() { Attach(nullptr, 0, FolderKind::Local, true); }

void SessionHintRows::Forget() { Attach(nullptr, 0, FolderKind::Local, false); }

std::uint32_t SessionHintRows::RegionsInFile() const {
  return static_cast<std::uint32_t>((fileBytes_ + kRegionSize - 1) / kRegionSize);
}

#if LEXDEX_POSIX_PREAD

bool SessionHintRows::ReadRow(std::uint32_t key, Row& row) const {
  const int fd = ::fileno(file_);
  std::size_t filled = 0;
  while (filled < row.size()) {
    const ssize_t got = ::pread(fd, row.data() + filled, row.size() - filled,
                                static_cast<off_t>(RowOffset(key) + filled));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    filled += static_cast<std::size_t>(got);
  }
  return true;
}

#else

bool SessionHintRows::ReadRow(std::uint32_t key, Row& row) const {
  return std::fseek(file_, static_cast<long>(RowOffset(key)), SEEK_SET) == 0 &&
         std::fread(row.data(), 1, row.size(), file_) == row.size();
}

#endif

void SessionHintRows::Load(const std::vector<std::uint32_t>& hashes, const std::vector<int>* only, bool settled) {
  if (file_ == nullptr) return;
  std::vector<std::uint32_t> regions;
  for (std::uint32_t region = 0; region < RegionsInFile(); ++region) regions.push_back(region);
  if (only != nullptr) {
    regions.clear();
    for (int group : *only) {
      const std::uint32_t region = static_cast<std::uint32_t>(group) / kGroupsPerRegion;
      if (region < RegionsInFile() && (regions.empty() || regions.back() != region)) regions.push_back(region);
    }
  }
  std::vector<std::uint32_t> missing;
  for (std::uint32_t region : regions) {
    for (std::uint32_t hash : hashes) {
      const std::uint32_t key = Key(hash, region);
      if (RowOffset(key) < fileBytes_ && rows_.count(key) == 0 &&
          std::find(missing.begin(), missing.end(), key) == missing.end()) {
        missing.push_back(key);
      }
    }
  }
  std::vector<Row> read(missing.size());
  std::vector<std::uint8_t> readWell(missing.size(), 0);
  auto readRow = [&](unsigned, std::size_t i) {
    readWell[i] = ReadRow(missing[i], read[i]);
    if (!readWell[i]) read[i].fill(0xFF);  // unknown: every group may hold the word
  };
#if LEXDEX_POSIX_PREAD
  const unsigned threads =
      kind_ == FolderKind::Network ? static_cast<unsigned>(std::min<std::size_t>(missing.size(), kNetworkReadsInFlight)) : 1;
#else
  const unsigned threads = 1;  // one stream, one position
#endif
  RunInParallel(missing.size(), threads, readRow);
  // A row that could not be read serves this session only.
  for (std::size_t i = 0; i < missing.size(); ++i) rows_.emplace(missing[i], HeldRow{read[i], settled && readWell[i]});
}

std::uint32_t SessionHintRows::BitmapWord(std::uint32_t hash, std::uint32_t region, std::uint32_t index) const {
  const auto row = rows_.find(Key(hash, region));
  if (row == rows_.end()) return RowOffset(Key(hash, region)) < fileBytes_ ? kAllBits : 0;
  return DecodeFixed32(row->second.bytes.data() + index * kFixed32Size);
}

namespace {

bool HasAllHintBits(const SessionHintRows& rows, const std::vector<std::uint32_t>& hashes, int group) {
  const std::uint32_t region = static_cast<std::uint32_t>(group) / kGroupsPerRegion;
  const std::uint32_t column = static_cast<std::uint32_t>(group) % kGroupsPerRegion;
  const std::uint32_t bit = 1u << (column % kBitsPerBitmapWord);
  for (std::uint32_t hash : hashes) {
    if ((rows.BitmapWord(hash, region, column / kBitsPerBitmapWord) & bit) == 0) return false;
  }
  return true;
}

}  // namespace

std::vector<int> GroupsWithAllHintBits(const SessionHintRows& rows, const std::vector<std::uint32_t>& hashes,
                                       const std::vector<int>* only) {
  std::vector<int> groups;
  if (hashes.empty()) return groups;
  if (only != nullptr) {
    for (int group : *only) {
      if (static_cast<std::uint32_t>(group) / kGroupsPerRegion < rows.RegionsInFile() &&
          HasAllHintBits(rows, hashes, group)) {
        groups.push_back(group);
      }
    }
    return groups;
  }
  for (std::uint32_t region = 0; region < rows.RegionsInFile(); ++region) {
    for (std::uint32_t index = 0; index < kBitmapWordsPerRow; ++index) {
      std::uint32_t bits = kAllBits;
      for (std::uint32_t hash : hashes) bits &= rows.BitmapWord(hash, region, index);
      const int base = static_cast<int>(region * kGroupsPerRegion + index * kBitsPerBitmapWord);
      for (; bits != 0; bits &= bits - 1) groups.push_back(base + std::countr_zero(bits));
    }
  }
  return groups;
}

}  // namespace lexdex

#include "GroupScan.h"

#include <algorithm>
#include <thread>

#include "GroupReader.h"
#include "IndexPaths.h"

#if !defined(_WIN32) && __has_include(<unistd.h>)
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#define LEXDEX_POSIX_SCAN 1
#endif

namespace lexdex {
namespace {

#if LEXDEX_POSIX_SCAN

// Reads group files of ascending groups: the group folder stays open while
// its groups are read, so that each file costs an openat of its short name,
// reads into the reused buffer and a close (no fstat: a read that fills the
// buffer simply grows it and reads on).
class GroupFileReader {
 public:
  explicit GroupFileReader(const std::string& folder) : folder_(folder) {}
  ~GroupFileReader() { CloseFolder(); }
  GroupFileReader(const GroupFileReader&) = delete;
  GroupFileReader& operator=(const GroupFileReader&) = delete;

  bool Read(int group, std::vector<std::uint8_t>& bytes) {
    const int folderNumber = group / kGroupsPerFolder;
    if (folderNumber != folderNumber_) OpenFolder(group, folderNumber);
    if (folderFd_ < 0) return false;
    const std::string path = GroupFilePath(std::string(), group);  // "/grpXX/YY.sl"
    const char* name = path.c_str() + path.size() - kFileNameLength;
    const int fd = ::openat(folderFd_, name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool read = ReadAll(fd, bytes);
    ::close(fd);
    return read;
  }

 private:
  static constexpr std::size_t kFileNameLength = 5;  // "YY.sl"
  static constexpr std::size_t kFirstBufferSize = 65536;

  void OpenFolder(int group, int folderNumber) {
    CloseFolder();
    folderNumber_ = folderNumber;
    folderFd_ = ::open(GroupFolderPath(folder_, group).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  }
  void CloseFolder() {
    if (folderFd_ >= 0) ::close(folderFd_);
    folderFd_ = -1;
  }

  static bool ReadAll(int fd, std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < kFirstBufferSize) bytes.resize(kFirstBufferSize);
    std::size_t filled = 0;
    for (;;) {
      if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
      const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return false;
      if (got == 0) break;
      filled += static_cast<std::size_t>(got);
      // A short read is the end of the file, as with the C streams.
      if (filled < bytes.size()) break;
    }
    bytes.resize(filled);  // keeps the capacity for the next file
    return true;
  }

  std::string folder_;
  int folderNumber_ = -1;
  int folderFd_ = -1;
};

#else

class GroupFileReader {
 public:
  explicit GroupFileReader(const std::string& folder) : folder_(folder) {}
  bool Read(int group, std::vector<std::uint8_t>& bytes) {
    return ReadWholeFile(GroupFilePath(folder_, group), bytes);
  }

 private:
  std::string folder_;
};

#endif

struct ScanRange {
  std::size_t begin;
  std::size_t end;
};

using TriplesPerWord = std::vector<std::vector<FoundTriple>>;

void AppendPairs(const std::vector<std::uint8_t>& bytes, int group, LengthPrefixedWord word,
                 std::vector<FoundTriple>& out) {
  const std::optional<WordPairs> pairs = FindWordInGroup(bytes.data(), bytes.size(), word + 1, word[0]);
  if (!pairs) return;
  const std::uint8_t* pair = bytes.data() + pairs->offset;
  for (std::uint32_t k = 0; k < pairs->count; ++k, pair += kPairSize) {
    out.push_back({group, static_cast<std::int32_t>(DecodeFixed32(pair)),
                   static_cast<std::int32_t>(DecodeFixed32(pair + kFixed32Size))});
  }
}

void ScanShare(const std::string& folder, const std::vector<int>& groups, ScanRange range,
               const std::vector<LengthPrefixedWord>& words, TriplesPerWord& out) {
  std::vector<std::uint8_t> bytes;  // reused: no fresh memory per file
  GroupFileReader reader(folder);
  for (std::size_t i = range.begin; i < range.end; ++i) {
    if (!reader.Read(groups[i], bytes)) continue;
    for (std::size_t w = 0; w < words.size(); ++w) AppendPairs(bytes, groups[i], words[w], out[w]);
  }
}

unsigned ThreadCount(std::size_t files) {
  if (files < kParallelScanMinFiles) return 1;
  return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxScanThreads);
}

}  // namespace

std::vector<std::vector<FoundTriple>> FindInGroupFiles(const std::string& folder, const std::vector<int>& groups,
                                                       const std::vector<LengthPrefixedWord>& words) {
  const unsigned threads = ThreadCount(groups.size());
  // Contiguous shares, concatenated in order, keep the group order.
  std::vector<TriplesPerWord> shares(threads, TriplesPerWord(words.size()));
  std::vector<std::thread> helpers;
  auto range = [&](unsigned t) {
    return ScanRange{groups.size() * t / threads, groups.size() * (t + 1) / threads};
  };
  for (unsigned t = 1; t < threads; ++t) {
    helpers.emplace_back(ScanShare, std::cref(folder), std::cref(groups), range(t), std::cref(words),
                         std::ref(shares[t]));
  }
  ScanShare(folder, groups, range(0), words, shares[0]);
  for (std::thread& helper : helpers) helper.join();
  TriplesPerWord all = std::move(shares[0]);
  for (unsigned t = 1; t < threads; ++t) {
    for (std::size_t w = 0; w < words.size(); ++w) all[w].insert(all[w].end(), shares[t][w].begin(), shares[t][w].end());
  }
  return all;
}

}  // namespace lexdex

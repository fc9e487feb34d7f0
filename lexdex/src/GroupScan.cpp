#include "GroupScan.h"

#include <algorithm>
#include <thread>

#include "GroupFileReading.h"
#include "GroupReader.h"
#include "ParallelWork.h"

namespace lexdex {
namespace {

using TriplesPerWord = std::vector<std::vector<FoundTriple>>;

// Triples found by several threads, each into its own lists, put back into
// group order at the end: every file (item) remembers which thread read it
// and where its triples lie in that thread's lists.
class TriplesCollector {
 public:
  TriplesCollector(const std::vector<int>& groups, const std::vector<LengthPrefixedWord>& words, unsigned threads)
      : groups_(groups),
        words_(words),
        perThread_(threads, TriplesPerWord(words.size())),
        readBy_(groups.size(), 0),
        spans_(groups.size() * words.size()) {}

  // Called by thread `thread` only, for items no other thread visits.
  void Collect(unsigned thread, std::size_t item, const std::uint8_t* data, std::size_t size) {
    readBy_[item] = thread;
    TriplesPerWord& lists = perThread_[thread];
    for (std::size_t w = 0; w < words_.size(); ++w) {
      Span& span = spans_[item * words_.size() + w];
      span.begin = lists[w].size();
      AppendPairs(data, size, groups_[item], words_[w], lists[w]);
      span.end = lists[w].size();
    }
  }

  TriplesPerWord InGroupOrder() const {
    TriplesPerWord all(words_.size());
    for (std::size_t w = 0; w < words_.size(); ++w) {
      std::size_t total = 0;
      for (const TriplesPerWord& lists : perThread_) total += lists[w].size();
      all[w].reserve(total);
      for (std::size_t item = 0; item < groups_.size(); ++item) {
        const Span& span = spans_[item * words_.size() + w];
        const std::vector<FoundTriple>& list = perThread_[readBy_[item]][w];
        all[w].insert(all[w].end(), list.begin() + static_cast<std::ptrdiff_t>(span.begin),
                      list.begin() + static_cast<std::ptrdiff_t>(span.end));
      }
    }
    return all;
  }

 private:
  struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
  };

  static void AppendPairs(const std::uint8_t* data, std::size_t size, int group, LengthPrefixedWord word,
                          std::vector<FoundTriple>& out) {
    const std::optional<WordPairs> pairs = FindWordInGroup(data, size, word + 1, word[0]);
    if (!pairs) return;
    const std::uint8_t* pair = data + pairs->offset;
    for (std::uint32_t k = 0; k < pairs->count; ++k, pair += kPairSize) {
      out.push_back({group, static_cast<std::int32_t>(DecodeFixed32(pair)),
                     static_cast<std::int32_t>(DecodeFixed32(pair + kFixed32Size))});
    }
  }

  const std::vector<int>& groups_;
  const std::vector<LengthPrefixedWord>& words_;
  std::vector<TriplesPerWord> perThread_;
  std::vector<unsigned> readBy_;
  std::vector<Span> spans_;  // item-major: spans_[item * words + w]
};

unsigned LocalThreadCount(std::size_t files) {
  if (files < kParallelScanMinFiles) return 1;
  return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxLocalScanThreads);
}

// Each local thread reads one contiguous share of the files, in order; the
// group folders are all open before the threads start.
void ReadShares(GroupReadMethod method, const GroupFolders& folders, const std::vector<int>& groups,
                TriplesCollector& collector, unsigned threads) {
  const bool rings = method == GroupReadMethod::Uring && groups.size() >= kUringMinFiles;
  RunInParallel(threads, threads, [&](unsigned thread, std::size_t share) {
    const std::size_t begin = groups.size() * share / threads;
    const std::size_t end = groups.size() * (share + 1) / threads;
    const GroupFileVisit visit = [&](std::size_t item, const std::uint8_t* data, std::size_t size) {
      collector.Collect(thread, item, data, size);
    };
    if (rings && ReadGroupFilesWithUring(folders, groups, begin, end, visit)) return;
    ReadGroupFilesInOrder(folders, groups, begin, end, visit);
  });
}

void ReadManyInFlight(const std::string& folder, const std::vector<int>& groups, TriplesCollector& collector,
                      unsigned threads) {
  std::vector<FileBuffer> buffers(threads);  // one per thread, reused
  RunInParallel(groups.size(), threads, [&](unsigned thread, std::size_t item) {
    FileBuffer& bytes = buffers[thread];
    if (ReadGroupFileByPath(folder, groups[item], bytes)) collector.Collect(thread, item, bytes.data(), bytes.size());
  });
}

}  // namespace

std::vector<std::vector<FoundTriple>> FindInGroupFilesBy(GroupReadMethod method, GroupFolders& folders,
                                                         const std::vector<int>& groups,
                                                         const std::vector<LengthPrefixedWord>& words) {
  const unsigned threads = method == GroupReadMethod::ManyInFlight
                               ? static_cast<unsigned>(std::clamp<std::size_t>(groups.size(), 1, kNetworkReadsInFlight))
                               : LocalThreadCount(groups.size());
  TriplesCollector collector(groups, words, threads);
  if (method == GroupReadMethod::ManyInFlight) {
    ReadManyInFlight(folders.IndexFolder(), groups, collector, threads);
  } else {
    folders.OpenFoldersOf(groups);  // those not open yet; kept by this reading only
    ReadShares(method, folders, groups, collector, threads);
  }
  return collector.InGroupOrder();
}

std::vector<std::vector<FoundTriple>> FindInGroupFilesBy(GroupReadMethod method, const std::string& folder,
                                                         const std::vector<int>& groups,
                                                         const std::vector<LengthPrefixedWord>& words) {
  GroupFolders folders(folder);
  return FindInGroupFilesBy(method, folders, groups, words);
}

std::vector<std::vector<FoundTriple>> FindInGroupFiles(GroupFolders& folders, const std::vector<int>& groups,
                                                       const std::vector<LengthPrefixedWord>& words,
                                                       FolderKind kind) {
  return FindInGroupFilesBy(kind == FolderKind::Network ? GroupReadMethod::ManyInFlight : GroupReadMethod::Uring,
                            folders, groups, words);
}

std::vector<std::vector<FoundTriple>> FindInGroupFiles(const std::string& folder, const std::vector<int>& groups,
                                                       const std::vector<LengthPrefixedWord>& words,
                                                       FolderKind kind) {
  GroupFolders folders(folder);
  return FindInGroupFiles(folders, groups, words, kind);
}

}  // namespace lexdex

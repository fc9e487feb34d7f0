#include "GroupScan.h"

#include <algorithm>
#include <thread>

#include "GroupReader.h"
#include "IndexPaths.h"

namespace lexdex {
namespace {

struct ScanRange {
  std::size_t begin;
  std::size_t end;
};

void ScanShare(const std::string& folder, const std::vector<int>& groups, ScanRange range,
               const std::uint8_t* word, std::size_t length, std::vector<FoundTriple>& out) {
  std::vector<std::uint8_t> bytes;  // reused: no fresh memory per file
  for (std::size_t i = range.begin; i < range.end; ++i) {
    if (!ReadWholeFile(GroupFilePath(folder, groups[i]), bytes)) continue;
    const std::optional<WordPairs> pairs = FindWordInGroup(bytes.data(), bytes.size(), word, length);
    if (!pairs) continue;
    const std::uint8_t* pair = bytes.data() + pairs->offset;
    for (std::uint32_t k = 0; k < pairs->count; ++k, pair += kPairSize) {
      out.push_back({groups[i], static_cast<std::int32_t>(DecodeFixed32(pair)),
                     static_cast<std::int32_t>(DecodeFixed32(pair + kFixed32Size))});
    }
  }
}

unsigned ThreadCount(std::size_t files) {
  if (files < kParallelScanMinFiles) return 1;
  return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxScanThreads);
}

}  // namespace

std::vector<FoundTriple> FindInGroupFiles(const std::string& folder, const std::vector<int>& groups,
                                          const std::uint8_t* word, std::size_t length) {
  const unsigned threads = ThreadCount(groups.size());
  // Contiguous shares, concatenated in order, keep the group order.
  std::vector<std::vector<FoundTriple>> shares(threads);
  std::vector<std::thread> helpers;
  auto range = [&](unsigned t) {
    return ScanRange{groups.size() * t / threads, groups.size() * (t + 1) / threads};
  };
  for (unsigned t = 1; t < threads; ++t) {
    helpers.emplace_back(ScanShare, std::cref(folder), std::cref(groups), range(t), word, length,
                         std::ref(shares[t]));
  }
  ScanShare(folder, groups, range(0), word, length, shares[0]);
  for (std::thread& helper : helpers) helper.join();
  std::vector<FoundTriple> all = std::move(shares[0]);
  for (unsigned t = 1; t < threads; ++t) all.insert(all.end(), shares[t].begin(), shares[t].end());
  return all;
}

}  // namespace lexdex

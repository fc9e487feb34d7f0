#include "ParallelRead.h"

#include <algorithm>
#include <thread>

namespace lexdex {
namespace {

// Reads every `stride`-th file from `first`: interleaving keeps the two
// threads on neighbouring folders, and their shares even.
void ReadShare(const std::string& folder, const std::vector<int>& groups, std::size_t first,
               std::size_t stride, std::vector<GroupBytes>& out) {
  for (std::size_t i = first; i < groups.size(); i += stride) out[i] = ReadGroupBytes(folder, groups[i]);
}

unsigned ThreadCount(std::size_t files) {
  if (files < kParallelReadMinFiles) return 1;
  return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxReadThreads);
}

}  // namespace

std::vector<GroupBytes> ReadGroupFiles(const std::string& folder, const std::vector<int>& groups) {
  std::vector<GroupBytes> out(groups.size());
  const unsigned threads = ThreadCount(groups.size());
  std::vector<std::thread> helpers;
  for (unsigned t = 1; t < threads; ++t) {
    helpers.emplace_back(ReadShare, std::cref(folder), std::cref(groups), t, threads, std::ref(out));
  }
  ReadShare(folder, groups, 0, threads, out);
  for (std::thread& helper : helpers) helper.join();
  return out;
}

}  // namespace lexdex

#pragma once

// The triples of searches already made by this process, so that a search met
// again reads no group file. The cache belongs to one version of the index:
// it is emptied whenever the hint file's stamp changes (every session that
// writes groups rewrites or touches the hint file when it closes), and when
// this process writes a group itself. It holds at most kResultCacheBudget
// bytes of triples; past that the searches used least recently go first.

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "FileStamp.h"

namespace lexdex {

inline constexpr std::uint64_t kResultCacheBudget = std::uint64_t{64} << 20;  // 64 MiB

using FoundTriple = std::array<std::int32_t, 3>;  // group, a, b
using FoundTriples = std::shared_ptr<const std::vector<FoundTriple>>;

class SearchResultCache {
 public:
  explicit SearchResultCache(std::uint64_t budgetBytes = kResultCacheBudget) : budget_(budgetBytes) {}

  // Makes the cache serve the index in `folder` whose hint file has `stamp`;
  // anything cached for another folder or stamp is dropped.
  void Validate(const std::string& folder, const FileStamp& stamp);
  void Clear();

  // The triples stored under `key` (now the most recently used), or null.
  FoundTriples Find(const std::string& key);
  void Store(const std::string& key, FoundTriples triples);

 private:
  struct Entry {
    FoundTriples triples;
    std::list<std::string>::iterator use;  // its place in uses_
  };
  static std::uint64_t BytesOf(const std::string& key, const FoundTriples& triples);
  void EvictLeastRecentlyUsed();

  std::string folder_;
  FileStamp stamp_;
  std::unordered_map<std::string, Entry> searches_;
  std::list<std::string> uses_;  // keys, most recently used first
  std::uint64_t budget_;
  std::uint64_t heldBytes_ = 0;
};

}  // namespace lexdex

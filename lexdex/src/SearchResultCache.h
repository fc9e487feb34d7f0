#pragma once

// The triples of searches already made by this process, so that a search met
// again reads no group file. The cache belongs to one version of the index:
// it is emptied whenever the hint file's stamp changes (every session that
// writes groups rewrites or touches the hint file when it closes), and when
// this process writes a group itself. It holds at most kResultCacheBudget
// bytes of triples; past that it starts over.

#include <array>
#include <cstdint>
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
  // Makes the cache serve the index in `folder` whose hint file has `stamp`;
  // anything cached for another folder or stamp is dropped.
  void Validate(const std::string& folder, const FileStamp& stamp);
  void Clear();

  // The triples stored under `key`, or null.
  FoundTriples Find(const std::string& key) const;
  void Store(const std::string& key, FoundTriples triples);

 private:
  std::string folder_;
  FileStamp stamp_;
  std::unordered_map<std::string, FoundTriples> searches_;
  std::uint64_t heldBytes_ = 0;
};

}  // namespace lexdex

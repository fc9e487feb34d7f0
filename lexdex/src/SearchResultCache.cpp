#include "SearchResultCache.h"

namespace lexdex {

void SearchResultCache::Validate(const std::string& folder, const FileStamp& stamp) {
  if (folder == folder_ && stamp == stamp_) return;
  Clear();
  folder_ = folder;
  stamp_ = stamp;
}

void SearchResultCache::Clear() {
  searches_.clear();
  heldBytes_ = 0;
  folder_.clear();
  stamp_ = FileStamp{};
}

FoundTriples SearchResultCache::Find(const std::string& key) const {
  const auto found = searches_.find(key);
  return found == searches_.end() ? nullptr : found->second;
}

void SearchResultCache::Store(const std::string& key, FoundTriples triples) {
  const std::uint64_t bytes = key.size() + triples->size() * sizeof(FoundTriple);
  if (bytes > kResultCacheBudget) return;  // never kept: it would evict everything
  if (heldBytes_ + bytes > kResultCacheBudget) {
    // Starting over is simpler than choosing victims, and rare: a session's
    // searches of the expected index fit in the budget.
    searches_.clear();
    heldBytes_ = 0;
  }
  heldBytes_ += bytes;
  searches_[key] = std::move(triples);
}

}  // namespace lexdex

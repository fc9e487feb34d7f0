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
  uses_.clear();
  heldBytes_ = 0;
  folder_.clear();
  stamp_ = FileStamp{};
}

std::uint64_t SearchResultCache::BytesOf(const std::string& key, const FoundTriples& triples) {
  return key.size() + triples->size() * sizeof(FoundTriple);
}

FoundTriples SearchResultCache::Find(const std::string& key) {
  const auto found = searches_.find(key);
  if (found == searches_.end()) return nullptr;
  uses_.splice(uses_.begin(), uses_, found->second.use);
  return found->second.triples;
}

void SearchResultCache::EvictLeastRecentlyUsed() {
  const auto victim = searches_.find(uses_.back());
  heldBytes_ -= BytesOf(victim->first, victim->second.triples);
  searches_.erase(victim);
  uses_.pop_back();
}

void SearchResultCache::Store(const std::string& key, FoundTriples triples) {
  const std::uint64_t bytes = BytesOf(key, triples);
  if (bytes > budget_ || searches_.count(key) != 0) return;  // too big to keep, or kept
  while (heldBytes_ + bytes > budget_) EvictLeastRecentlyUsed();
  uses_.push_front(key);
  searches_[key] = Entry{std::move(triples), uses_.begin()};
  heldBytes_ += bytes;
}

}  // namespace lexdex

#include "SearchResultCache.h"

namespace lexdex {

void SearchResultCache::BeginSession(const std::string& folder, const FileStamp& stamp,
                                     SessionClock::time_point now) {
  for (auto entry = searches_.begin(); entry != searches_.end();) {
    const auto next = std::next(entry);
    if (!entry->second.settled) Erase(entry);
    entry = next;
  }
  Validate(folder, stamp, now);
}

void SearchResultCache::Validate(const std::string& folder, const FileStamp& stamp, SessionClock::time_point now) {
  if (folder != folder_ || stamp != stamp_) {
    Clear();
    folder_ = folder;
    stamp_ = stamp;
    stampFirstSeen_ = now;
  }
  readingSettled_ = now - stampFirstSeen_ >= kStampSettleTime;
}

void SearchResultCache::Clear() {
  searches_.clear();
  uses_.clear();
  heldBytes_ = 0;
  folder_.clear();
  stamp_ = FileStamp{};
  readingSettled_ = false;
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

void SearchResultCache::Erase(std::unordered_map<std::string, Entry>::iterator entry) {
  heldBytes_ -= BytesOf(entry->first, entry->second.triples);
  uses_.erase(entry->second.use);
  searches_.erase(entry);
}

void SearchResultCache::EvictLeastRecentlyUsed() { Erase(searches_.find(uses_.back())); }

void SearchResultCache::Store(const std::string& key, FoundTriples triples) {
  const std::uint64_t bytes = BytesOf(key, triples);
  if (bytes > budget_ || searches_.count(key) != 0) return;  // too big to keep, or kept
  while (heldBytes_ + bytes > budget_) EvictLeastRecentlyUsed();
  uses_.push_front(key);
  searches_[key] = Entry{std::move(triples), uses_.begin(), readingSettled_};
  heldBytes_ += bytes;
}

}  // namespace lexdex

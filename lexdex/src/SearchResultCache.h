#pragma once

// The triples of searches already made by this process, so that a search met
// again reads no group file. The cache belongs to one version of the index,
// told by the hint file's stamp: every session that writes groups rewrites
// or touches the hint file when it closes, so a changed stamp empties the
// cache, and so does a group written by this process.
//
// A stamp can stay the same across a change, though: file times have a
// resolution (two seconds on some servers, a clock tick elsewhere), and a
// rewrite of the same size within the same tick as the previous change
// leaves size and times as they were. Results are therefore trusted beyond
// the session (ACL_Open to ACL_Close) that read them only when they were read
// at least kStampSettleTime after this process first saw the stamp: the last
// change then lies more than one tick before the reading, on the server's
// own clock too (only elapsed times are compared, never two clocks), and any
// later change must give another time. Results read earlier serve their own
// session, during which the caller's directory lock keeps writers out.
//
// The cache holds at most kResultCacheBudget bytes of triples; past that the
// searches used least recently go first.

#include <array>
#include <chrono>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "FileStamp.h"

namespace lexdex {

inline constexpr std::uint64_t kResultCacheBudget = std::uint64_t{64} << 20;  // 64 MiB
// The coarsest file time resolution met on file servers (2 s, FAT-like),
// with a margin for rounding up and for clocks that run at slightly
// different rates.
inline constexpr std::chrono::milliseconds kStampSettleTime{3000};

using FoundTriple = std::array<std::int32_t, 3>;  // group, a, b
using FoundTriples = std::shared_ptr<const std::vector<FoundTriple>>;
using SessionClock = std::chrono::steady_clock;

class SearchResultCache {
 public:
  explicit SearchResultCache(std::uint64_t budgetBytes = kResultCacheBudget) : budget_(budgetBytes) {}

  // A new session on the index in `folder`, whose hint file has `stamp` at
  // `now`: results that earlier sessions read while the stamp was not yet
  // settled are dropped, then the stamp is checked as by Validate.
  void BeginSession(const std::string& folder, const FileStamp& stamp, SessionClock::time_point now);
  // Makes the cache serve the index in `folder` whose hint file has `stamp`
  // at `now`; anything cached for another folder or stamp is dropped.
  void Validate(const std::string& folder, const FileStamp& stamp, SessionClock::time_point now);
  void Clear();
  // Whether what is read now may serve later sessions (see above).
  bool ReadingSettled() const { return readingSettled_; }

  // The triples stored under `key` (now the most recently used), or null.
  FoundTriples Find(const std::string& key);
  // Keeps `triples`, read since the last Validate or BeginSession.
  void Store(const std::string& key, FoundTriples triples);

 private:
  struct Entry {
    FoundTriples triples;
    std::list<std::string>::iterator use;  // its place in uses_
    bool settled;                          // may serve later sessions
  };
  static std::uint64_t BytesOf(const std::string& key, const FoundTriples& triples);
  void Erase(std::unordered_map<std::string, Entry>::iterator entry);
  void EvictLeastRecentlyUsed();

  std::string folder_;
  FileStamp stamp_;
  SessionClock::time_point stampFirstSeen_{};
  bool readingSettled_ = false;  // what is read now may serve later sessions
  std::unordered_map<std::string, Entry> searches_;
  std::list<std::string> uses_;  // keys, most recently used first
  std::uint64_t budget_;
  std::uint64_t heldBytes_ = 0;
};

}  // namespace lexdex

#include "WordIndexLockSearch.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <vector>

#include "ACLUnit.h"
#include "Prompts.h"
#include "WordIndex.h"
#include "WordIndexMessages.h"
#include "lexdex.h"

namespace {

// Distinct words a phrase word's search is filtered by.
constexpr std::size_t kMaxHintFilterWords = 8;

// Up to kMaxHintFilterWords distinct words of the phrase, longest first: long
// words are the rarest, so their hints rule out the most groups.
std::vector<std::string_view> HintFilterWords(std::vector<std::string_view> words) {
  std::stable_sort(words.begin(), words.end(),
                   [](std::string_view x, std::string_view y) { return x.size() > y.size(); });
  std::vector<std::string_view> filter;
  for (const std::string_view word : words) {
    if (filter.size() == kMaxHintFilterWords) break;
    if (std::find(filter.begin(), filter.end(), word) == filter.end()) filter.push_back(word);
  }
  return filter;
}

}  // namespace

TWordIndexLockSearch::TWordIndexLockSearch(TWordIndex& owner, std::string phrase)
    : TWordIndexLock(owner), phrase_(std::move(phrase)) {}

TWordIndexLockSearch::~TWordIndexLockSearch() { EndEngineWork(); }

bool TWordIndexLockSearch::Open(const std::string& path) {
  RetryUntilLocked(TLockMode::Shared, kSearchBusyQuestion);
  if (Owner().IsOutOfDate()) Prompts().Inform(kOutOfDateNotice);
  return ACL_Open(path.c_str(), ACL_OPEN_SEARCH_ONLY) == ACL_OPEN_OK;
}

void TWordIndexLockSearch::EndEngineWork() {
  words_.clear();
  finished_ = true;
}

void TWordIndexLockSearch::StartWords(const std::vector<int>* onlyGroups) {
  words_.clear();
  // The words are folded in place, inside our own copy of the phrase; folding
  // twice changes nothing.
  char* cursor = phrase_.data();
  int length = 0;
  std::vector<std::string_view> words;
  while (NextQueryWord(cursor, length)) {
    lastWordLength_ = length;
    words.emplace_back(cursor, static_cast<std::size_t>(length));
    cursor += length;
  }
  // A match lies in one group that holds every word: each word's search skips
  // the groups where the engine's hints rule out any of the others. A few
  // distinct others rule out nearly as much as all of them, and handing every
  // word all the others would cost time and memory quadratic in a pasted
  // phrase of thousands of words.
  const std::vector<std::string_view> filter = HintFilterWords(words);
  for (const std::string_view word : words) {
    std::vector<std::string_view> others;
    for (const std::string_view other : filter) {
      if (other != word) others.push_back(other);
    }
    words_.push_back(std::make_unique<TWordSearch>(word.data(), static_cast<int>(word.size()), others, onlyGroups));
  }
  finished_ = words_.empty() || words_.front()->Finished();
  if (!CheckMatch()) Advance();
}

bool TWordIndexLockSearch::CheckMatch() {
  if (finished_) return false;
  bool adjacent = true;
  const TWordSearch* previous = words_.front().get();
  for (auto word = words_.begin() + 1; word != words_.end(); ++word) {
    TWordSearch& current = **word;
    // Each word moves up to the element behind the previous one. An element
    // equal to the previous one is the same occurrence of a repeated word
    // ("renda renda"), which cannot also be its successor.
    while (!IsBefore(previous->Current(), current.Current())) {
      current.Next();
      if (current.Finished()) {
        finished_ = true;
        return false;
      }
    }
    adjacent = adjacent && FollowsDirectly(current.Current(), previous->Current());
    previous = &current;
  }
  if (adjacent) {
    const TWordTriple& first = words_.front()->Current();
    matchGroup_ = first.Group;
    matchStart_ = first.A;
    // In 64 bits: positions from a damaged group file may lie anywhere, and a
    // length that does not fit is marked impossible (-1) for the caller.
    const std::int64_t length =
        static_cast<std::int64_t>(words_.back()->Current().A) - matchStart_ + lastWordLength_;
    matchLength_ = length > 0 && length <= std::numeric_limits<std::int32_t>::max() ? static_cast<std::int32_t>(length)
                                                                                     : -1;
  }
  return adjacent;
}

void TWordIndexLockSearch::Advance() {
  if (finished_) return;
  TWordSearch& first = *words_.front();
  const TWordSearch& last = *words_.back();
  while (!finished_) {
    do {
      first.Next();
      if (first.Finished()) {
        finished_ = true;
        return;
      }
    } while (first.Current().Group < last.Current().Group);
    if (CheckMatch()) return;
  }
}

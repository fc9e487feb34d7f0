#include "WordIndexLockSearch.h"

#include <string_view>
#include <vector>

#include "ACLUnit.h"
#include "Prompts.h"
#include "WordIndex.h"
#include "WordIndexMessages.h"
#include "lexdex.h"

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
  // the groups where the engine's hints rule out any of the others.
  for (std::size_t w = 0; w < words.size(); ++w) {
    std::vector<std::string_view> others = words;
    others.erase(others.begin() + static_cast<std::ptrdiff_t>(w));
    words_.push_back(
        std::make_unique<TWordSearch>(words[w].data(), static_cast<int>(words[w].size()), others, onlyGroups));
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
    matchLength_ = words_.back()->Current().A - matchStart_ + lastWordLength_;
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

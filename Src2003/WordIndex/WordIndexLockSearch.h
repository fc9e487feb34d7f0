#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "WordIndexLock.h"
#include "WordSearch.h"

// The index open for one phrase search: one engine search per word of the
// phrase, aligned on the word ordinals so that a match is the words next to
// each other, in phrase order, in one group.
class TWordIndexLockSearch : public TWordIndexLock {
 public:
  TWordIndexLockSearch(TWordIndex& owner, std::string phrase);
  ~TWordIndexLockSearch() override;

  // No more matches.
  bool Finished() const { return finished_; }
  // The current match: its group, the `a` of its first word, and its length
  // (from the first word's `a` to the end of the last word).
  std::int32_t MatchGroup() const { return matchGroup_; }
  std::int32_t MatchStart() const { return matchStart_; }
  std::int32_t MatchLength() const { return matchLength_; }
  int LastWordLength() const { return lastWordLength_; }

  // Moves to the next match, or sets Finished.
  void Advance();

 protected:
  bool Open(const std::string& path) override;
  void EndEngineWork() override;

 private:
  friend class TWordIndex;

  // Starts one engine search per word, each visiting only the groups of
  // `onlyGroups` when it is given, and finds the first match. Called again,
  // it starts over.
  void StartWords(const std::vector<int>* onlyGroups = nullptr);
  // Moves the later words up to the first one; true when they now stand
  // directly behind each other, which makes the current match.
  bool CheckMatch();

  std::string phrase_;
  std::vector<std::unique_ptr<TWordSearch>> words_;
  bool finished_ = true;
  std::int32_t matchGroup_ = 0;
  std::int32_t matchStart_ = 0;
  std::int32_t matchLength_ = 0;
  int lastWordLength_ = 0;
};

#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

struct tacl_find;

// One (group, a, b) element found by the engine.
struct TWordTriple {
  std::int32_t Group = 0;
  std::int32_t A = 0;
  std::int32_t B = 0;
};

// Phrase order of elements: by group, then by word ordinal.
inline bool IsBefore(const TWordTriple& x, const TWordTriple& y) {
  return x.Group < y.Group || (x.Group == y.Group && x.B < y.B);
}

// y is the word right after x in the same group.
inline bool FollowsDirectly(const TWordTriple& y, const TWordTriple& x) {
  return y.Group == x.Group && y.B == x.B + 1;
}

// One engine search for one folded word, read one element at a time in
// ascending group order.
class TWordSearch {
 public:
  TWordSearch(const char* word, int length);
  // The same search, visiting only groups that may also hold every word of
  // `others` (the rest of a phrase): a phrase can only match in those, and
  // the engine reads no other group file.
  TWordSearch(const char* word, int length, const std::vector<std::string_view>& others);
  // The same, visiting only the groups of `onlyGroups` when it is given.
  TWordSearch(const char* word, int length, const std::vector<std::string_view>& others,
              const std::vector<int>* onlyGroups);
  ~TWordSearch();
  TWordSearch(const TWordSearch&) = delete;
  TWordSearch& operator=(const TWordSearch&) = delete;

  // Moves to the next element; sets Finished when there is none.
  void Next();
  bool Finished() const { return finished_; }
  const TWordTriple& Current() const { return current_; }

 private:
  tacl_find* findHandle_;
  bool finished_;
  TWordTriple current_;
};

#pragma once

// One-word searches. A search walks row h (the word's hash) of every hint
// region in file order, and within a row its 32-bit bitmap words and their
// bits from low to high, so groups come back ascending; each group whose bit
// is set is read in one piece and probed by binary search. In search-only
// mode the first step picks all the search's groups from the hint rows and
// reads their files at once (or takes the triples from the result cache), and
// later steps return them.
//
// A search may also be restricted to the groups whose bits are set in the
// rows of other words as well (the other words of a phrase), and to a range of
// groups: it then returns exactly the triples of the plain search that lie in
// those groups, and reads no hint row or group file outside them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Word.h"

#include "SearchResultCache.h"

namespace lexdex {
class HintRows;
class Index;
}

// The search record handed to the caller as an opaque pointer.
struct tacl_find {
  tacl_find* next = nullptr;     // free-list link while the record is free
  bool active = false;           // between Acquire and Release
  bool exhausted = false;        // no more triples, ever
  std::uint32_t remaining = 0;   // pairs still to return from `groupBytes`
  std::uint64_t nextPair = 0;    // offset of the next pair in `groupBytes`
  std::vector<std::uint8_t> groupBytes;  // the current group's file
  // Other words whose bits must be set too: each with its length byte first,
  // and their row offsets (hash * row size), in the same order.
  std::vector<std::vector<std::uint8_t>> alsoWords;
  std::vector<std::int64_t> alsoRows;
  std::int64_t ownRow = 0;       // row offset of the word's own hash
  // Limited searches visit only these groups (ascending, distinct).
  bool limited = false;
  std::vector<int> onlyGroups;
  bool started = false;          // ACL_Find has been called
  // Search-only mode: all the triples, found at the first step, and the next.
  bool scanned = false;
  lexdex::FoundTriples found;
  std::size_t nextFound = 0;
  std::uint32_t bits = 0;        // the bitmap word being scanned, visited bits cleared
  int bit = 0;                   // the bit of `bits` visited last
  int group = 0;                 // the current group
  std::int64_t pos = 0;          // hint file offset of the bitmap word being scanned
  std::int64_t rowEnd = 0;       // offset just past the row being scanned
  std::uint8_t word[1 + lexdex::kMaxWordLength] = {};  // length byte, then the bytes
};

namespace lexdex {

// Records are never freed while the library is loaded, so a pointer stays
// valid; the pool grows when every record is in use.
class SearchPool {
 public:
  tacl_find* Acquire();
  void Release(tacl_find* record);
  // Ends all active searches' walks (the index is going away under them).
  void ExhaustAll();

 private:
  std::vector<std::unique_ptr<tacl_find>> records_;
  tacl_find* free_ = nullptr;
};

// Sets the record up for `word`; an invalid length gives an exhausted search.
void BeginSearch(tacl_find& record, const std::uint8_t* word, long long length);

// Restricts a search just begun to groups whose hint bits are also set for
// `word`; a word of invalid length is ignored.
void AlsoRequireWord(tacl_find& record, const std::uint8_t* word, long long length);

// Restricts a search not yet stepped to the `count` groups of `groups` (any
// order; invalid numbers are left out; none at all finds nothing). A second
// limit keeps the groups both name. Ignored once the search has been stepped.
void LimitSearchToGroups(tacl_find& record, const int* groups, long long count);

// The next triple (group, a, b): true and stored, or false when there are no
// more.
bool NextTriple(tacl_find& record, Index& index, int* triple);

}  // namespace lexdex

#include "WordSearch.h"

#include "lexdex.h"

namespace {
constexpr int kTripleFound = 0;
}

TWordSearch::TWordSearch(const char* word, int length)
    : findHandle_(ACL_BeginFind(word, length)), finished_(findHandle_ == nullptr) {
  Next();
}

TWordSearch::~TWordSearch() {
  if (findHandle_) ACL_EndFind(findHandle_);
}

void TWordSearch::Next() {
  if (finished_) return;
  int triple[3] = {};
  finished_ = ACL_Find(findHandle_, triple) != kTripleFound;
  if (!finished_) current_ = {triple[0], triple[1], triple[2]};
}

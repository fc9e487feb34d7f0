#include "WordSearch.h"

#include "lexdex.h"

namespace {
constexpr int kTripleFound = 0;

tacl_find* BeginFindAmong(const char* word, int length, const std::vector<std::string_view>& others) {
  std::vector<const char*> words;
  std::vector<int> lengths;
  for (const std::string_view other : others) {
    words.push_back(other.data());
    lengths.push_back(static_cast<int>(other.size()));
  }
  return ACL_BeginFindAmong(word, length, words.data(), lengths.data(), static_cast<int>(words.size()));
}
}  // namespace

TWordSearch::TWordSearch(const char* word, int length)
    : findHandle_(ACL_BeginFind(word, length)), finished_(findHandle_ == nullptr) {
  Next();
}

TWordSearch::TWordSearch(const char* word, int length, const std::vector<std::string_view>& others)
    : TWordSearch(word, length, others, nullptr) {}

TWordSearch::TWordSearch(const char* word, int length, const std::vector<std::string_view>& others,
                         const std::vector<int>* onlyGroups)
    : findHandle_(BeginFindAmong(word, length, others)), finished_(findHandle_ == nullptr) {
  if (findHandle_ && onlyGroups) {
    ACL_LimitFind(findHandle_, onlyGroups->data(), static_cast<int>(onlyGroups->size()));
  }
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

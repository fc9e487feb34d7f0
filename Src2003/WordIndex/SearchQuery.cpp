#include "SearchQuery.h"

#include <algorithm>
#include <cstdint>

#include "ACLUnit.h"

#include "WordIndex.h"

TSearchResultList RunSearchQuery(TWordIndex& index, const TSearchQuery& query) {
  TSearchResultList results = index.Search(query.Phrase);
  if (query.MorePhrase.empty()) return results;
  const TSearchResultList more = index.Search(query.MorePhrase);
  if (query.Combination == TPhraseCombination::And) {
    results.IntersectWith(more);
  } else {
    results.UnionWith(more);
  }
  return results;
}

std::vector<std::string> SkippedQueryWords(const std::string& phrase) {
  BuildCharTables();
  std::vector<std::string> skipped;
  std::size_t at = 0;
  while (at < phrase.size()) {
    const std::uint8_t runClass = ClassTable[static_cast<std::uint8_t>(phrase[at])];
    std::size_t end = at + 1;
    while (end < phrase.size() && ClassTable[static_cast<std::uint8_t>(phrase[end])] == runClass) ++end;
    const bool word = runClass == kLetterClass || runClass == kDigitClass;
    const std::string run = phrase.substr(at, end - at);
    if (word && static_cast<int>(run.size()) < kMinWordLength &&
        std::find(skipped.begin(), skipped.end(), run) == skipped.end()) {
      skipped.push_back(run);
    }
    at = end;
  }
  return skipped;
}

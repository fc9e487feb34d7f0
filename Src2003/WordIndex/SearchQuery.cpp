#include "SearchQuery.h"

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

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "SearchResult.h"

// The entries found by a search, ascending by DocumentId. Everything but
// FindOrAdd keeps that order and relies on it (binary searches): the E (and)
// and Ou (or) combinations of two searches, and FindOrInsert.
class TSearchResultList {
 public:
  using TPredicate = std::function<bool(const TSearchResult&)>;

  int Count() const { return static_cast<int>(items_.size()); }
  TSearchResult& Items(int index) { return *items_.at(static_cast<std::size_t>(index)); }
  const TSearchResult& Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }

  // The result for `documentId`; a new one is appended when there is none.
  TSearchResult& FindOrAdd(std::int32_t documentId);
  // The result for `documentId`; a new one is inserted at its place in
  // DocumentId order when there is none.
  TSearchResult& FindOrInsert(std::int32_t documentId);

  // E: keeps the entries that are in both lists, with the ranges of both;
  // the title flag holds when both had it. {3, 7} and {7, 9} give {7}.
  void IntersectWith(const TSearchResultList& other);
  // Ou: adds the entries of `other`, merging the ranges of entries in both;
  // the title flag holds when either had it. {3, 7} and {5, 7} give {3, 5, 7}.
  void UnionWith(const TSearchResultList& other);
  // Keeps the results for which `keep` is true.
  void Filter(const TPredicate& keep);

 private:
  using TItems = std::vector<std::unique_ptr<TSearchResult>>;
  // The first item whose DocumentId is not below `documentId`.
  TItems::iterator LowerBound(std::int32_t documentId);

  TItems items_;
};

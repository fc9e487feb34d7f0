#pragma once

#include <cstdint>
#include <functional>

#include "LxDateTime.h"
#include "SearchResultList.h"

class TTOMOTree;

// Where the words of a search must occur ("Buscar em").
enum class TSearchWhere {
  Content,           // the document's text: results with at least one range
  Titles,            // the entry's title and summary: results with TitleMatch
  ContentAndTitles,  // either
};

// The state of a node in the title filter: it has no item there, or its
// item is ticked or not.
enum class TTitleTick { NoItem, Ticked, Unticked };

// What a search keeps of the results the word index found: a window of
// publication dates, the branches of the index ticked in the title filter,
// and where the words must occur. The settings come from the search page;
// nothing here needs a widget.
struct TSearchFilter {
  using TTitleTickOf = std::function<TTitleTick(std::int32_t nodeId)>;

  bool ByDate = false;
  // Whole days: an entry published on either day is kept, whatever the
  // time of day it carries. Undated entries (0) always pass.
  TDateTime From = 0;
  TDateTime To = 0;

  bool ByTitles = false;
  // The title filter's state of a node; asked for the entry and then its
  // ancestors until one has an item.
  TTitleTickOf TitleTickOf;

  TSearchWhere Where = TSearchWhere::ContentAndTitles;

  // Without date or title filter and with both places, every result stays
  // and filtering can be skipped.
  bool Active() const { return ByDate || ByTitles || Where != TSearchWhere::ContentAndTitles; }

  // True when the result stays. A result whose entry is not in `tree` never
  // stays.
  bool Keeps(const TSearchResult& result, const TTOMOTree& tree) const;
};

// Drops the results the filter does not keep; an inactive filter keeps all.
void ApplySearchFilter(TSearchResultList& results, const TTOMOTree& tree, const TSearchFilter& filter);

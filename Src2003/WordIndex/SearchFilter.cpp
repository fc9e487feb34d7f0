#include "SearchFilter.h"

#include <cmath>

#include "TOMONode.h"
#include "TOMOTree.h"

namespace {

TDateTime WholeDay(TDateTime value) { return std::floor(value); }

bool PublishedWithin(const TTOMORecordH& record, TDateTime from, TDateTime to) {
  if (record.PublishedDate == 0) return true;
  const TDateTime day = WholeDay(record.PublishedDate);
  return WholeDay(from) <= day && day <= WholeDay(to);
}

// The tick of the nearest node, from the entry up, that has an item in the
// title filter. The walk is bounded by the tree's size, so a damaged base
// whose parents run in a circle ends it too.
bool TickedByTitles(const TTOMONode& entry, const TTOMOTree& tree, const TSearchFilter::TTitleTickOf& tickOf) {
  if (!tickOf) return false;
  std::int32_t stepsLeft = tree.NodeCount();
  for (const TTOMONode* node = &entry; node && stepsLeft-- > 0; node = node->Parent()) {
    const TTitleTick tick = tickOf(node->Id());
    if (tick != TTitleTick::NoItem) return tick == TTitleTick::Ticked;
  }
  return false;
}

bool FoundWhere(const TSearchResult& result, TSearchWhere where) {
  switch (where) {
    case TSearchWhere::Content:
      return result.Count() > 0;
    case TSearchWhere::Titles:
      return result.TitleMatch();
    case TSearchWhere::ContentAndTitles:
      return true;
  }
  return true;
}

}  // namespace

bool TSearchFilter::Keeps(const TSearchResult& result, const TTOMOTree& tree) const {
  const TTOMONode* entry = tree.FindNode(result.DocumentId());
  if (!entry) return false;
  if (ByDate && !PublishedWithin(entry->Record(), From, To)) return false;
  if (ByTitles && !TickedByTitles(*entry, tree, TitleTickOf)) return false;
  return FoundWhere(result, Where);
}

void ApplySearchFilter(TSearchResultList& results, const TTOMOTree& tree, const TSearchFilter& filter) {
  if (!filter.Active()) return;
  results.Filter([&](const TSearchResult& result) { return filter.Keeps(result, tree); });
}

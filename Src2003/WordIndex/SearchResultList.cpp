#include "SearchResultList.h"

#include <algorithm>

namespace {

template <class TItemsRange>
auto FirstNotBelow(TItemsRange& items, std::int32_t documentId) {
  return std::lower_bound(items.begin(), items.end(), documentId,
                          [](const auto& item, std::int32_t id) { return item->DocumentId() < id; });
}

}  // namespace

TSearchResultList::TItems::iterator TSearchResultList::LowerBound(std::int32_t documentId) {
  return FirstNotBelow(items_, documentId);
}

TSearchResult& TSearchResultList::FindOrAdd(std::int32_t documentId) {
  auto found = std::find_if(items_.begin(), items_.end(),
                            [&](const auto& item) { return item->DocumentId() == documentId; });
  if (found != items_.end()) return **found;
  items_.push_back(std::make_unique<TSearchResult>(documentId));
  return *items_.back();
}

TSearchResult& TSearchResultList::FindOrInsert(std::int32_t documentId) {
  auto place = LowerBound(documentId);
  if (place != items_.end() && (*place)->DocumentId() == documentId) return **place;
  return **items_.insert(place, std::make_unique<TSearchResult>(documentId));
}

void TSearchResultList::IntersectWith(const TSearchResultList& other) {
  // Last to first, so that erasing never moves an item still to be visited.
  for (auto index = items_.size(); index-- > 0;) {
    TSearchResult& result = *items_[index];
    auto match = FirstNotBelow(other.items_, result.DocumentId());
    if (match != other.items_.end() && (*match)->DocumentId() == result.DocumentId()) {
      result.MergeRanges(**match);
      result.SetTitleMatch(result.TitleMatch() && (*match)->TitleMatch());
    } else {
      items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    }
  }
}

void TSearchResultList::UnionWith(const TSearchResultList& other) {
  for (const auto& item : other.items_) {
    TSearchResult& target = FindOrInsert(item->DocumentId());
    target.MergeRanges(*item);
    target.SetTitleMatch(target.TitleMatch() || item->TitleMatch());
  }
}

void TSearchResultList::Filter(const TPredicate& keep) {
  std::erase_if(items_, [&](const auto& item) { return !keep(*item); });
}

#include "ResultTree.h"

#include <algorithm>

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include "QtText.h"
#include "SearchResult.h"
#include "SearchResultList.h"
#include "TOMONode.h"
#include "TOMOTree.h"

namespace {

// Captions compare as a reader of the collection expects: by the letters of
// the language, ignoring case and accents' weight first.
QCollator CaptionCollator() {
  QCollator collator(QLocale(QLocale::Portuguese, QLocale::Brazil));
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  return collator;
}

}  // namespace

void TResultTree::Clear() {
  items_.clear();
  topLevel_.clear();
  displayOrder_.clear();
  displayRowOfItem_.clear();
  itemById_.clear();
  hitCount_ = 0;
}

void TResultTree::Build(const TTOMOTree& tree, TSearchResultList& results) {
  Clear();
  for (int i = 0; i < results.Count(); ++i) {
    TSearchResult& result = results.Items(i);
    TTOMONode* entry = tree.FindNode(result.DocumentId());
    // A circle of parents has no top to hang the entry under.
    if (!entry || entry->Level() < 0) continue;
    const int item = AddSearchItem(entry);
    if (item < 0) continue;
    TResultItem& hit = items_[static_cast<size_t>(item)];
    if (!hit.IsHit()) ++hitCount_;
    hit.Result = &result;
  }
  SortByCaption();
  NumberRowsAndOrder();
}

int TResultTree::AddSearchItem(TTOMONode* node) {
  if (!node || node->Id() == 0) return -1;
  if (const int existing = ItemOf(node); existing >= 0) return existing;
  const int parent = AddSearchItem(node->Parent());
  TResultItem item;
  item.Node = node;
  item.Parent = parent;
  item.Depth = parent < 0 ? 0 : items_[static_cast<size_t>(parent)].Depth + 1;
  const int index = Count();
  items_.push_back(std::move(item));
  (parent < 0 ? topLevel_ : items_[static_cast<size_t>(parent)].Children).push_back(index);
  itemById_.emplace(node->Id(), index);
  return index;
}

void TResultTree::SortByCaption() {
  const QCollator collator = CaptionCollator();
  std::vector<QCollatorSortKey> keys;
  keys.reserve(items_.size());
  for (const TResultItem& item : items_) keys.push_back(collator.sortKey(Win1252ToQString(item.Node->Record().Title)));
  // Equal captions keep the order in which their results came.
  auto byCaption = [&](int a, int b) { return keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]) < 0; };
  std::stable_sort(topLevel_.begin(), topLevel_.end(), byCaption);
  for (TResultItem& item : items_) std::stable_sort(item.Children.begin(), item.Children.end(), byCaption);
}

void TResultTree::NumberRowsAndOrder() {
  displayOrder_.reserve(items_.size());
  displayRowOfItem_.assign(items_.size(), -1);
  // Depth-first without recursion: a deep base must not exhaust the stack.
  std::vector<int> pending(topLevel_.rbegin(), topLevel_.rend());
  for (size_t row = 0; row < topLevel_.size(); ++row) items_[static_cast<size_t>(topLevel_[row])].Row = static_cast<int>(row);
  while (!pending.empty()) {
    const int index = pending.back();
    pending.pop_back();
    displayRowOfItem_[static_cast<size_t>(index)] = static_cast<int>(displayOrder_.size());
    displayOrder_.push_back(index);
    const std::vector<int>& children = items_[static_cast<size_t>(index)].Children;
    for (size_t row = 0; row < children.size(); ++row) items_[static_cast<size_t>(children[row])].Row = static_cast<int>(row);
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
}

const std::vector<int>& TResultTree::ChildrenOf(int item) const {
  return item < 0 ? topLevel_ : Item(item).Children;
}

int TResultTree::ItemOf(const TTOMONode* node) const {
  if (!node) return -1;
  const auto found = itemById_.find(node->Id());
  // Ids are looked up by value, so a node of another tree with the same Id
  // is not taken for this tree's.
  return found != itemById_.end() && items_[static_cast<size_t>(found->second)].Node == node ? found->second : -1;
}

int TResultTree::DisplayRowOf(int item) const {
  return item >= 0 && item < Count() ? displayRowOfItem_[static_cast<size_t>(item)] : -1;
}

int TResultTree::NextHitWithRanges(int item, bool forward) const {
  const int rows = static_cast<int>(displayOrder_.size());
  const int step = forward ? 1 : -1;
  // From no item, forward starts before the first row and backward after the last.
  int row = item >= 0 ? DisplayRowOf(item) : (forward ? -1 : rows);
  for (row += step; row >= 0 && row < rows; row += step) {
    const TResultItem& candidate = items_[static_cast<size_t>(displayOrder_[static_cast<size_t>(row)])];
    if (candidate.IsHit() && candidate.Result->Count() > 0) return displayOrder_[static_cast<size_t>(row)];
  }
  return -1;
}

#include "NodeList.h"

#include <unordered_set>

#include "LxCodePage.h"
#include "OperationView.h"
#include "TOMONode.h"

int TNodeList::ItemOf(const TTOMONode* node) const {
  return static_cast<int>(itemsById_.Get(node->Id())) - 1;
}

int TNodeList::AddNodeItem(TTOMONode* node) {
  if (!node) return kNoItem;
  const int existing = ItemOf(node);
  if (existing != kNoItem) return existing;
  // The folders above the node that have no item yet, nearest first. A
  // damaged base may chain parents in a circle: the walk stops where it
  // would come round again, and that entry becomes a top-level item.
  std::vector<TTOMONode*> missing{node};
  std::unordered_set<const TTOMONode*> seen{node};
  int parentItem = kNoItem;
  for (TTOMONode* parent = node->Parent(); parent && seen.insert(parent).second; parent = parent->Parent()) {
    parentItem = ItemOf(parent);
    if (parentItem != kNoItem) break;
    missing.push_back(parent);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    parentItem = AddItem(*it, parentItem, Win1252ToUtf8((*it)->Record().Title));
  }
  return parentItem;
}

int TNodeList::AddItem(TTOMONode* node, int parent, std::string caption) {
  const int item = Count();
  TItem entry;
  entry.Node = node;
  entry.Parent = parent;
  entry.IndexInParent = static_cast<int>(Siblings(parent).size());
  entry.Caption = std::move(caption);
  items_.push_back(std::move(entry));
  // Only now: adding the item may have moved the others' children lists.
  (parent == kNoItem ? topItems_ : items_[static_cast<size_t>(parent)].Children).push_back(item);
  if (node) itemsById_.Put(node->Id(), static_cast<std::intptr_t>(item) + 1);
  if (view_) view_->AddNodeItem(item, parent, node, items_.back().Caption);
  return item;
}

void TNodeList::BeginNodeList() {
  if (view_) view_->BeginNodeList();
}

void TNodeList::EndNodeList() {
  if (items_.empty()) AddItem(nullptr, kNoItem, kEmptyCaption);
  if (view_) view_->EndNodeList();
  SelectItem(FirstItem());
}

void TNodeList::SelectNodeItem(TTOMONode* node) {
  const int item = AddNodeItem(node);
  if (item != kNoItem) SelectItem(item);
}

void TNodeList::SelectItem(int item) {
  if (item < 0 || item >= Count()) return;
  selected_ = item;
  if (view_) view_->SelectNodeItem(item);
}

void TNodeList::SetCaption(int item, std::string caption) {
  items_.at(static_cast<size_t>(item)).Caption = std::move(caption);
  if (view_) view_->SetNodeItemCaption(item, items_[static_cast<size_t>(item)].Caption);
}

const std::vector<int>& TNodeList::Siblings(int parent) const {
  return parent == kNoItem ? topItems_ : items_[static_cast<size_t>(parent)].Children;
}

int TNodeList::NextItem(int item) const {
  if (item < 0 || item >= Count()) return kNoItem;
  const TItem& entry = items_[static_cast<size_t>(item)];
  if (!entry.Children.empty()) return entry.Children.front();
  // No children: the next sibling of the item or of the nearest folder above
  // it that has one.
  for (int current = item; current != kNoItem; current = items_[static_cast<size_t>(current)].Parent) {
    const TItem& at = items_[static_cast<size_t>(current)];
    const std::vector<int>& siblings = Siblings(at.Parent);
    if (at.IndexInParent + 1 < static_cast<int>(siblings.size())) {
      return siblings[static_cast<size_t>(at.IndexInParent) + 1];
    }
  }
  return kNoItem;
}

bool TNodeList::SelectNextItem() {
  const int next = NextItem(selected_);
  if (next == kNoItem) return false;
  SelectItem(next);
  return true;
}

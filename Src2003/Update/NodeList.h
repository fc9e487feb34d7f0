#pragma once

// The tree entries an operation shows in its node list: items arranged like
// the entries' folders, in display order (an item, then its children, then
// its next sibling). The list also serves as a cursor over those entries: an
// operation walks them by its selected item.
//
//   TNodeList list;                 // with a view set, every change is shown
//   list.BeginNodeList();
//   list.AddNodeItem(&document);    // adds its folders first, up to a top
//   list.EndNodeList();             // "<- vazio ->" when nothing was added
//   for (TTOMONode* n = list.SelectedNode(); n; n = list.SelectNextItem() ? list.SelectedNode() : nullptr)
//
// Items are found by the entry's Id: an entry of another tree with the same
// Id is the same item.

#include <cstdint>
#include <string>
#include <vector>

#include "LxMap.h"

class TOperationView;
class TTOMONode;

class TNodeList {
 public:
  static constexpr int kNoItem = -1;

  // Not owned; nullptr: nothing shows the list.
  void SetView(TOperationView* view) { view_ = view; }

  // The item of the node, added when missing, after the items of the
  // folders above it (a node without parent becomes a top-level item).
  // kNoItem for nullptr.
  int AddNodeItem(TTOMONode* node);
  // Brackets a batch of additions. EndNodeList adds the top-level item
  // "<- vazio ->" when the list is empty, expands everything and selects
  // the first item.
  void BeginNodeList();
  void EndNodeList();
  // Adds the node's item if needed and selects it.
  void SelectNodeItem(TTOMONode* node);
  void SelectItem(int item);

  int Count() const { return static_cast<int>(items_.size()); }
  // The node an item shows (nullptr for the placeholder).
  TTOMONode* Node(int item) const { return items_.at(static_cast<size_t>(item)).Node; }
  const std::string& Caption(int item) const { return items_.at(static_cast<size_t>(item)).Caption; }
  int ParentItem(int item) const { return items_.at(static_cast<size_t>(item)).Parent; }
  void SetCaption(int item, std::string caption);

  // The first item in display order, or kNoItem.
  int FirstItem() const { return topItems_.empty() ? kNoItem : topItems_.front(); }
  // The item after `item` in display order, or kNoItem after the last.
  int NextItem(int item) const;
  int SelectedItem() const { return selected_; }
  TTOMONode* SelectedNode() const { return selected_ == kNoItem ? nullptr : Node(selected_); }
  // Moves the selection to the next item; false (selection unchanged) after
  // the last one.
  bool SelectNextItem();

  // The caption of the item an empty list shows.
  static constexpr char kEmptyCaption[] = "<- vazio ->";

 private:
  struct TItem {
    TTOMONode* Node = nullptr;
    int Parent = kNoItem;
    int IndexInParent = 0;
    std::vector<int> Children;
    std::string Caption;
  };

  int ItemOf(const TTOMONode* node) const;
  int AddItem(TTOMONode* node, int parent, std::string caption);
  const std::vector<int>& Siblings(int parent) const;

  TOperationView* view_ = nullptr;
  std::vector<TItem> items_;
  std::vector<int> topItems_;
  // Entry Id -> item + 1 (the map keeps no 0).
  TLxIntegerToIntegerMap itemsById_;
  int selected_ = kNoItem;
};

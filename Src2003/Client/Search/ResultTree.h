#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

class TSearchResult;
class TSearchResultList;
class TTOMONode;
class TTOMOTree;

// One item of the result tree: an entry found by the search (a hit, with
// its result) or a folder above hits (no result).
struct TResultItem {
  TTOMONode* Node = nullptr;
  TSearchResult* Result = nullptr;
  int Parent = -1;  // item index; -1 at the top level
  int Row = 0;      // position among its siblings, in caption order
  int Depth = 0;    // 0 at the top level
  std::vector<int> Children;

  bool IsHit() const { return Result != nullptr; }
};

// The hits of a search under their ancestor folders, each level sorted by
// caption, as the result tree and the result list show them. Items point
// into the document tree and the result list they were built from; both
// must outlive the items (Clear before either goes).
class TResultTree {
 public:
  // Items for the results in list order: each result's entry with every
  // folder above it up to (not including) the root. Results whose entry is
  // missing, is the root, or hangs below a circle of parents get no item.
  void Build(const TTOMOTree& tree, TSearchResultList& results);
  void Clear();

  int Count() const { return static_cast<int>(items_.size()); }
  const TResultItem& Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  const std::vector<int>& TopLevel() const { return topLevel_; }
  // The children of an item (-1: the top level), in caption order.
  const std::vector<int>& ChildrenOf(int item) const;
  // Every item depth-first, parents before children: the result list's rows.
  const std::vector<int>& DisplayOrder() const { return displayOrder_; }
  // The item of a node, or -1.
  int ItemOf(const TTOMONode* node) const;
  // The item's position in DisplayOrder.
  int DisplayRowOf(int item) const;
  // How many items are hits: the documents found.
  int HitCount() const { return hitCount_; }
  // The hit with ranges in the text that comes after (or before) `item` in
  // display order, or -1: where stepping through the hits goes on once an
  // entry's hits are spent. Hits found only by their title have no ranges
  // to step to and are passed over.
  int NextHitWithRanges(int item, bool forward) const;

 private:
  int AddSearchItem(TTOMONode* node);
  void SortByCaption();
  void NumberRowsAndOrder();

  std::vector<TResultItem> items_;
  std::vector<int> topLevel_;
  std::vector<int> displayOrder_;
  std::vector<int> displayRowOfItem_;
  std::unordered_map<std::int32_t, int> itemById_;
  int hitCount_ = 0;
};

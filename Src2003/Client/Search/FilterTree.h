#pragma once

#include <cstdint>
#include <unordered_map>

#include <QTreeWidget>

#include "SearchFilter.h"

class TTOMONode;
class TTOMOTree;

// The title filter: the index's folders with a tick box each. Only the top
// level is made at first; an item's children are made when it is first
// expanded, with its tick. Ticking an item ticks everything made below it
// and its whole chain of ancestors; clearing it clears each ancestor left
// without a ticked child.
//
// Items keep their node's Id, not the node, so that a reloaded tree never
// leaves them pointing at freed nodes.
class TFilterTree : public QTreeWidget {
  Q_OBJECT

 public:
  explicit TFilterTree(QWidget* parent = nullptr);

  // One item per child of the root, none ticked. The tree is not kept
  // beyond the expansions that ask it for children.
  void Fill(const TTOMOTree* tree);
  const TTOMOTree* FilledFrom() const { return tree_; }
  // Keeps the items (their Ids) and takes later children from `tree`: the
  // document tree was reloaded.
  void SetTree(const TTOMOTree* tree) { tree_ = tree; }

  // The item of a node's Id, or nullptr.
  QTreeWidgetItem* ItemOfId(std::int32_t id) const;
  // The state of a node in the filter (for the search's predicate).
  TTitleTick TickOf(std::int32_t id) const;
  static std::int32_t IdOf(const QTreeWidgetItem& item);

  // What a click on an item's tick box does after the box changed: the tick
  // goes down to all made descendants and up the ancestors.
  void PropagateTick(QTreeWidgetItem& item);

  // The captions of the branches the user chose: from the top, a ticked
  // item whose made children are all ticked (or that has none) stands for
  // its whole branch; a ticked item with some children unticked gives way
  // to its ticked children. Empty when nothing is ticked.
  QStringList ChosenBranches() const;

 signals:
  // A tick changed (after it spread), or the items were made anew.
  void TicksChanged();

 private:
  QTreeWidgetItem* NewItem(const TTOMONode& node, Qt::CheckState tick);
  void AddChildItems(QTreeWidgetItem& item);
  void TickDescendants(QTreeWidgetItem& item, Qt::CheckState tick);
  void UpdateAncestors(QTreeWidgetItem& item);
  static void CollectChosen(const QTreeWidgetItem& item, QStringList& chosen);

  const TTOMOTree* tree_ = nullptr;
  std::unordered_map<std::int32_t, QTreeWidgetItem*> itemById_;
  bool propagating_ = false;
};

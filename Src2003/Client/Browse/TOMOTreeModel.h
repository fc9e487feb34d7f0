#pragma once

#include <QAbstractItemModel>
#include <QFont>

class TTOMOTree;
class TTOMONode;

// The index tree view's model: every node reachable from the root of a
// TTOMOTree, the root itself left out (its children are the top-level items).
// Items are the nodes themselves, so a base of 200,000 entries costs no item
// objects and the view asks only for what it shows.
//
// Display: the entry's Title; decoration: its node image; bold when the node
// has children.
class TTOMOTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  // The node image index of an item (int).
  static constexpr int kImageIndexRole = Qt::UserRole + 1;

  explicit TTOMOTreeModel(QObject* parent = nullptr);

  // Shows another tree (nullptr: none). The tree is not owned and must stay
  // until it is replaced here.
  void SetTree(TTOMOTree* tree);
  TTOMOTree* Tree() const { return tree_; }

  // The item of a node; invalid for the root, for none and for nodes not
  // reachable from the root.
  QModelIndex IndexOf(const TTOMONode* node) const;
  TTOMONode* NodeOf(const QModelIndex& index) const;
  // Repaints the node's icon after its document date or size changed.
  void RefreshIcon(const TTOMONode* node);
  // 0 for top-level items.
  static int ItemLevel(const TTOMONode& node);
  // The view's font, from which the bold items are drawn.
  void SetItemFont(const QFont& font);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  TTOMONode* ParentNodeOf(const QModelIndex& parent) const;

  TTOMOTree* tree_ = nullptr;
  QFont boldFont_;
};

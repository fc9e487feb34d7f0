#pragma once

#include <QAbstractItemModel>
#include <QFont>

#include "ResultTree.h"

// The result tree view's model: the items of a TResultTree, which it owns.
// Display: the node's Title; decoration: the icon of the node's item in the
// index tree; bold when the node has children in the document tree.
class TResultTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit TResultTreeModel(QObject* parent = nullptr);

  const TResultTree& Items() const { return items_; }
  // Rebuilds the items from a search's results (see TResultTree::Build).
  void Rebuild(const TTOMOTree& tree, TSearchResultList& results);
  void Clear();

  QModelIndex IndexOfItem(int item) const;
  // The item of an index, or -1.
  int ItemOf(const QModelIndex& index) const;
  // The view's font, from which the bold items are drawn.
  void SetItemFont(const QFont& font);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  TResultTree items_;
  QFont boldFont_;
};

#pragma once

#include <QAbstractListModel>

class TResultTree;

// The result list's rows: the items of the result tree in its display order
// (depth-first, parents before children). Roles as the document list's, the
// level being the item's depth + 1.
class TResultListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit TResultListModel(const TResultTree& items, QObject* parent = nullptr);

  // Bracket a change of the items, so that the view lets go of the old rows
  // first.
  void BeginRebuild() { beginResetModel(); }
  void EndRebuild() { endResetModel(); }
  // The result tree item of a row, or -1.
  int ItemAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  const TResultTree& items_;
};

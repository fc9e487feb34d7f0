#pragma once

#include <vector>

#include <QAbstractListModel>

class TTOMONode;
class TTOMOTreeModel;

// The rows of the document list: the children of the shown folder, in order.
// Icons are those of the nodes' items in the index tree.
class TDocumentListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  static constexpr int kSummaryRole = Qt::UserRole + 2;
  static constexpr int kLevelRole = Qt::UserRole + 3;
  // Whether the row's title is drawn bold in the result list (bool).
  static constexpr int kBoldRole = Qt::UserRole + 4;

  explicit TDocumentListModel(const TTOMOTreeModel& treeModel, QObject* parent = nullptr);

  // Fills the rows with the node's children; none clears the list.
  void Fill(const TTOMONode* folder);
  void Clear() { Fill(nullptr); }

  TTOMONode* NodeAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  const TTOMOTreeModel& treeModel_;
  std::vector<TTOMONode*> rows_;
};

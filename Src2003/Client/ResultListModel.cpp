#include "ResultListModel.h"

#include "ClientIcons.h"
#include "DocumentListModel.h"
#include "QtText.h"
#include "ResultTree.h"
#include "TOMONode.h"
#include "TOMOTreeModel.h"

TResultListModel::TResultListModel(const TResultTree& items, QObject* parent)
    : QAbstractListModel(parent), items_(items) {}

int TResultListModel::ItemAt(int row) const {
  const std::vector<int>& rows = items_.DisplayOrder();
  return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(row)] : -1;
}

int TResultListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(items_.DisplayOrder().size());
}

QVariant TResultListModel::data(const QModelIndex& index, int role) const {
  const int item = ItemAt(index.row());
  if (item < 0) return {};
  const TTOMONode& node = *items_.Item(item).Node;
  switch (role) {
    case Qt::DisplayRole:
      return Win1252ToQString(node.Record().Title);
    case TDocumentListModel::kSummaryRole:
      return Win1252ToQString(node.Record().Summary);
    case Qt::DecorationRole:
      return NodeImage(NodeImageIndex(node.Record(), TTOMOTreeModel::ItemLevel(node)));
    case TTOMOTreeModel::kImageIndexRole:
      return NodeImageIndex(node.Record(), TTOMOTreeModel::ItemLevel(node));
    case TDocumentListModel::kLevelRole:
      return items_.Item(item).Depth + 1;
    case TDocumentListModel::kBoldRole:
      return node.HasChildren();
    default:
      return {};
  }
}

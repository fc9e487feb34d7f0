#include "DocumentListModel.h"

#include "ClientIcons.h"
#include "QtText.h"
#include "TOMONode.h"
#include "TOMOTreeModel.h"

TDocumentListModel::TDocumentListModel(const TTOMOTreeModel& treeModel, QObject* parent)
    : QAbstractListModel(parent), treeModel_(treeModel) {}

void TDocumentListModel::Fill(const TTOMONode* folder) {
  beginResetModel();
  rows_.clear();
  if (folder) {
    rows_.reserve(static_cast<size_t>(folder->ChildCount()));
    for (int i = 0; i < folder->ChildCount(); ++i) rows_.push_back(folder->Child(i));
  }
  endResetModel();
}

TTOMONode* TDocumentListModel::NodeAt(int row) const {
  return row >= 0 && row < rowCount() ? rows_[static_cast<size_t>(row)] : nullptr;
}

int TDocumentListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant TDocumentListModel::data(const QModelIndex& index, int role) const {
  const TTOMONode* node = NodeAt(index.row());
  if (!node) return {};
  switch (role) {
    case Qt::DisplayRole:
      return Win1252ToQString(node->Record().Title);
    case kSummaryRole:
      return Win1252ToQString(node->Record().Summary);
    case Qt::DecorationRole:
      return NodeImage(NodeImageIndex(node->Record(), TTOMOTreeModel::ItemLevel(*node)));
    case TTOMOTreeModel::kImageIndexRole:
      return NodeImageIndex(node->Record(), TTOMOTreeModel::ItemLevel(*node));
    case kLevelRole:
      return node->Level();
    case kBoldRole:
      return node->HasChildren();
    default:
      return {};
  }
}

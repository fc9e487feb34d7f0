#include "ResultTreeModel.h"

#include "ClientIcons.h"
#include "QtText.h"
#include "TOMONode.h"
#include "TOMOTreeModel.h"

TResultTreeModel::TResultTreeModel(QObject* parent) : QAbstractItemModel(parent) { boldFont_.setBold(true); }

void TResultTreeModel::SetItemFont(const QFont& font) {
  boldFont_ = font;
  boldFont_.setBold(true);
}

void TResultTreeModel::Rebuild(const TTOMOTree& tree, TSearchResultList& results) {
  beginResetModel();
  items_.Build(tree, results);
  endResetModel();
}

void TResultTreeModel::Clear() {
  beginResetModel();
  items_.Clear();
  endResetModel();
}

// Item indexes are stored as the model indexes' internal ids.
QModelIndex TResultTreeModel::IndexOfItem(int item) const {
  if (item < 0 || item >= items_.Count()) return {};
  return createIndex(items_.Item(item).Row, 0, static_cast<quintptr>(item));
}

int TResultTreeModel::ItemOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<int>(index.internalId()) : -1;
}

QModelIndex TResultTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  const std::vector<int>& children = items_.ChildrenOf(ItemOf(parent));
  if (row >= static_cast<int>(children.size())) return {};
  return createIndex(row, 0, static_cast<quintptr>(children[static_cast<size_t>(row)]));
}

QModelIndex TResultTreeModel::parent(const QModelIndex& child) const {
  const int item = ItemOf(child);
  return item < 0 ? QModelIndex() : IndexOfItem(items_.Item(item).Parent);
}

int TResultTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  return static_cast<int>(items_.ChildrenOf(ItemOf(parent)).size());
}

int TResultTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TResultTreeModel::data(const QModelIndex& index, int role) const {
  const int item = ItemOf(index);
  if (item < 0) return {};
  const TTOMONode& node = *items_.Item(item).Node;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return Win1252ToQString(node.Record().Title);
    case Qt::DecorationRole:
      return NodeImage(NodeImageIndex(node.Record(), TTOMOTreeModel::ItemLevel(node)));
    case TTOMOTreeModel::kImageIndexRole:
      return NodeImageIndex(node.Record(), TTOMOTreeModel::ItemLevel(node));
    case Qt::FontRole:
      return node.HasChildren() ? QVariant(boldFont_) : QVariant();
    default:
      return {};
  }
}

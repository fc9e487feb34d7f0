#include "TOMOTreeModel.h"

#include <algorithm>

#include "ClientIcons.h"
#include "QtText.h"
#include "TOMOTree.h"

TTOMOTreeModel::TTOMOTreeModel(QObject* parent) : QAbstractItemModel(parent) { boldFont_.setBold(true); }

void TTOMOTreeModel::SetItemFont(const QFont& font) {
  boldFont_ = font;
  boldFont_.setBold(true);
}

void TTOMOTreeModel::SetTree(TTOMOTree* tree) {
  beginResetModel();
  tree_ = tree;
  endResetModel();
}

TTOMONode* TTOMOTreeModel::NodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<TTOMONode*>(index.internalPointer()) : nullptr;
}

TTOMONode* TTOMOTreeModel::ParentNodeOf(const QModelIndex& parent) const {
  if (parent.isValid()) return NodeOf(parent);
  return tree_ ? tree_->Root() : nullptr;
}

QModelIndex TTOMOTreeModel::IndexOf(const TTOMONode* node) const {
  if (!tree_ || !node || node == tree_->Root()) return {};
  // Only nodes whose chain of parents reaches the root have an item.
  const TTOMONode* root = tree_->Root();
  const TTOMONode* up = node;
  while (up && up != root) {
    if (up->IndexInParent() < 0) return {};
    up = up->Parent();
  }
  if (!up) return {};
  return createIndex(node->IndexInParent(), 0, const_cast<TTOMONode*>(node));
}

int TTOMOTreeModel::ItemLevel(const TTOMONode& node) { return std::max(node.Level() - 1, 0); }

void TTOMOTreeModel::RefreshIcon(const TTOMONode* node) {
  const QModelIndex item = IndexOf(node);
  if (item.isValid()) emit dataChanged(item, item, {Qt::DecorationRole, kImageIndexRole});
}

QModelIndex TTOMOTreeModel::index(int row, int column, const QModelIndex& parent) const {
  const TTOMONode* parentNode = ParentNodeOf(parent);
  if (!parentNode || column != 0 || row < 0 || row >= parentNode->ChildCount()) return {};
  return createIndex(row, column, parentNode->Child(row));
}

QModelIndex TTOMOTreeModel::parent(const QModelIndex& child) const {
  const TTOMONode* node = NodeOf(child);
  if (!node || !tree_) return {};
  TTOMONode* parentNode = node->Parent();
  if (!parentNode || parentNode == tree_->Root()) return {};
  return createIndex(std::max(parentNode->IndexInParent(), 0), 0, parentNode);
}

int TTOMOTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  const TTOMONode* node = ParentNodeOf(parent);
  return node ? node->ChildCount() : 0;
}

int TTOMOTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool TTOMOTreeModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

QVariant TTOMOTreeModel::data(const QModelIndex& index, int role) const {
  const TTOMONode* node = NodeOf(index);
  if (!node) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return Win1252ToQString(node->Record().Title);
    case Qt::DecorationRole:
      return NodeImage(NodeImageIndex(node->Record(), ItemLevel(*node)));
    case kImageIndexRole:
      return NodeImageIndex(node->Record(), ItemLevel(*node));
    case Qt::FontRole:
      return node->HasChildren() ? QVariant(boldFont_) : QVariant();
    default:
      return {};
  }
}

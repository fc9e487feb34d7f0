#include "ResultListModel.h"

#include <algorithm>

#include <QTimer>

#include "ClientIcons.h"
#include "DocumentListModel.h"
#include "QtText.h"
#include "ResultTree.h"
#include "TOMONode.h"
#include "TOMOTreeModel.h"
#include "TextSnippet.h"

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
    case kHasSnippetRole:
      return items_.Item(item).IsHit() && items_.Item(item).Result->Count() > 0;
    case kSnippetRole:
      return SnippetOf(index.row(), item);
    default:
      return {};
  }
}

void TResultListModel::BeginRebuild() {
  beginResetModel();
  snippetByRow_.clear();
  pendingRows_.clear();
}

QVariant TResultListModel::SnippetOf(int row, int item) const {
  const TResultItem& entry = items_.Item(item);
  if (!entry.IsHit() || entry.Result->Count() == 0 || !textSource_) return {};
  if (const auto made = snippetByRow_.find(row); made != snippetByRow_.end()) return QVariant::fromValue(made->second);
  // Asked while painting: made after this paint, so the titles come first.
  if (pendingRows_.empty()) {
    QTimer::singleShot(0, const_cast<TResultListModel*>(this), &TResultListModel::MakePendingSnippets);
  }
  if (std::find(pendingRows_.begin(), pendingRows_.end(), row) == pendingRows_.end()) pendingRows_.push_back(row);
  return {};
}

void TResultListModel::MakePendingSnippets() {
  if (pendingRows_.empty()) return;
  const std::vector<int> rows = std::move(pendingRows_);
  pendingRows_.clear();
  for (int row : rows) {
    const int item = ItemAt(row);
    if (item >= 0) snippetByRow_[row] = MakeSnippet(item);
  }
  const auto [first, last] = std::minmax_element(rows.begin(), rows.end());
  emit dataChanged(index(*first), index(*last), {kSnippetRole});
}

TRowSnippet TResultListModel::MakeSnippet(int item) const {
  const TResultItem& entry = items_.Item(item);
  TRowSnippet shown;
  try {
    const TTextSnippet snippet = MakeTextSnippet(textSource_(*entry.Node), entry.Result->AllRanges());
    shown.Text = Win1252ToQString(snippet.Text);
    // One Windows-1252 byte is one UTF-16 unit: the offsets hold.
    shown.Hits = snippet.Hits;
  } catch (...) {
    // A document that cannot be read shows no snippet; opening it tells why.
  }
  return shown;
}

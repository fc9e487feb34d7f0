// How the search session's views follow it: the result tree of the left
// pane and the result list of the search page, across rebuilds and reloads.
#include <functional>
#include <utility>

#include <QTreeView>

#include "ResultListModel.h"
#include "ResultListView.h"
#include "ResultTreeModel.h"
#include "SearchResult.h"
#include "SearchSession.h"
#include "TOMONode.h"
#include "TOMOTree.h"

namespace {

// Up to this many items the result tree opens every folder, so that the
// hits show at once; a larger tree opens folder by folder as the user asks.
constexpr int kExpandAllItems = 1000;

// The Id of the entry a chosen row or item stands for, or -1.
int ChosenId(const QItemSelectionModel& selection, const std::function<int(const QModelIndex&)>& itemOf,
             const TResultTree& items) {
  const QModelIndexList chosen = selection.selectedIndexes();
  const int item = chosen.isEmpty() ? -1 : itemOf(chosen.first());
  return item < 0 ? -1 : items.Item(item).Node->Id();
}

}  // namespace

void TSearchSession::ConnectViews() {
  // A chosen item, not a current one: a view that gets the focus makes its
  // first item current without choosing it, which must not open it.
  connect(resultTree_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected) {
            if (!selected.indexes().isEmpty()) ChooseTreeItem(selected.indexes().first());
          });
  connect(&list_, &TResultListView::RowClicked, this, &TSearchSession::ListRowClicked);
  connect(&list_, &TResultListView::RowOpened, this, &TSearchSession::ListRowOpened);
}

void TSearchSession::ClearViews() {
  listModel_->BeginRebuild();
  treeModel_->Clear();
  listModel_->EndRebuild();
}

void TSearchSession::RebuildViews() {
  const QModelIndex top = list_.indexAt(QPoint(0, 0));
  resultTree_->setUpdatesEnabled(false);
  listModel_->BeginRebuild();
  if (Tree() && results_) {
    treeModel_->Rebuild(*Tree(), *results_);
  } else {
    treeModel_->Clear();
  }
  listModel_->EndRebuild();
  if (Items().Count() <= kExpandAllItems) resultTree_->expandAll();
  resultTree_->setUpdatesEnabled(true);
  list_.selectionModel()->clear();
  const int rows = listModel_->rowCount();
  if (rows > 0 && top.isValid()) {
    list_.scrollTo(listModel_->index(std::min(top.row(), rows - 1)), QAbstractItemView::PositionAtTop);
  }
  list_.viewport()->update();
}

void TSearchSession::ChooseTreeItem(const QModelIndex& index) {
  if (selectingItem_) return;
  const int item = treeModel_->ItemOf(index);
  if (item < 0) return;
  const TResultItem& chosen = Items().Item(item);
  // A hit shows its entry; a folder above hits shows the folder itself.
  emit ShowWanted(chosen.IsHit() ? FindNode(chosen.Result->DocumentId()) : chosen.Node);
}

// A click on a folder row finds the folder in the result tree; the list
// stays on screen.
void TSearchSession::ListRowClicked(int row) {
  const int item = listModel_->ItemAt(row);
  if (item < 0 || Items().Item(item).IsHit()) return;
  FollowItem(item, false);
}

void TSearchSession::ListRowOpened(int row) {
  const int item = listModel_->ItemAt(row);
  if (item < 0 || !Items().Item(item).IsHit()) return;
  TTOMONode* entry = FindNode(Items().Item(item).Result->DocumentId());
  // Through none, so that an entry already shown is loaded and marked anew.
  // The left pane stays where it is: on "Pesquisa" the result tree keeps
  // showing where the hit lies among the others.
  emit ShowWanted(nullptr);
  emit ShowWanted(entry);
}

void TSearchSession::FollowItem(int item, bool inList) {
  selectingItem_ = true;
  const QModelIndex index = treeModel_->IndexOfItem(item);
  resultTree_->setCurrentIndex(index);
  resultTree_->scrollTo(index);
  selectingItem_ = false;
  if (!inList) return;
  const QModelIndex row = listModel_->index(Items().DisplayRowOf(item));
  list_.setCurrentIndex(row);
  list_.scrollTo(row);
}

void TSearchSession::LetGoOfTree() {
  const TResultTree& items = Items();
  TViewMark& mark = reloadMark_;
  mark = {};
  const QModelIndex top = list_.indexAt(QPoint(0, 0));
  if (top.isValid() && listModel_->ItemAt(top.row()) >= 0) {
    mark.TopRow = top.row();
    mark.TopId = items.Item(listModel_->ItemAt(top.row())).Node->Id();
  }
  mark.ListChosenId = ChosenId(
      *list_.selectionModel(), [this](const QModelIndex& row) { return listModel_->ItemAt(row.row()); }, items);
  mark.TreeChosenId = ChosenId(
      *resultTree_->selectionModel(), [this](const QModelIndex& index) { return treeModel_->ItemOf(index); }, items);
  ClearViews();
}

int TSearchSession::RowOfId(int id) const {
  const int item = id < 0 ? -1 : Items().ItemOf(FindNode(id));
  return item < 0 ? -1 : Items().DisplayRowOf(item);
}

// The results are built anew against the new tree: an entry the new tree no
// longer has drops out, the others keep their rows and their choice.
void TSearchSession::FollowNewTree() {
  const TViewMark mark = std::exchange(reloadMark_, {});
  if (!results_) return;
  RebuildViews();
  const int rows = listModel_->rowCount();
  const int topRow = RowOfId(mark.TopId) >= 0 ? RowOfId(mark.TopId) : std::min(mark.TopRow, rows - 1);
  if (topRow >= 0) list_.scrollTo(listModel_->index(topRow), QAbstractItemView::PositionAtTop);
  if (const int row = RowOfId(mark.ListChosenId); row >= 0) list_.setCurrentIndex(listModel_->index(row));
  const int item = mark.TreeChosenId < 0 ? -1 : Items().ItemOf(FindNode(mark.TreeChosenId));
  if (item >= 0) {
    selectingItem_ = true;
    resultTree_->setCurrentIndex(treeModel_->IndexOfItem(item));
    selectingItem_ = false;
  }
}

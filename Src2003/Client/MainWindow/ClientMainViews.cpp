// What the main window shows for a node: the document list, a text or a bitmap.
#include <QLabel>
#include <QStackedWidget>
#include <QTreeView>

#include "BitmapPage.h"
#include "ClientMainUnit.h"
#include "DocumentBaseUnit.h"
#include "DocumentListModel.h"
#include "DocumentListView.h"
#include "NavigationHistory.h"
#include "SearchPage.h"
#include "SearchSession.h"
#include "TOMOTreeModel.h"
#include "WaitCursor.h"
#include "QtText.h"
#include "ShownDocument.h"
#include "TOMONode.h"
#include "TextPage.h"
#include "TextView.h"

namespace {

void FillDocumentList(TDocumentListView& list, TDocumentListModel& model, TTOMONode* node) {
  const QModelIndex top = list.indexAt(QPoint(0, 0));
  model.Fill(node);
  // A fresh list has no chosen row; the view would otherwise mark the first.
  list.selectionModel()->clear();
  const int rows = model.rowCount();
  if (rows > 0 && top.isValid()) {
    list.scrollTo(model.index(std::min(top.row(), rows - 1)), QAbstractItemView::PositionAtTop);
  }
  list.viewport()->update();
}

}  // namespace

TTextView* TfrmClientMain::ShownText() const {
  return pageControl_->currentWidget() == textPage_ ? &textPage_->View() : nullptr;
}

void TfrmClientMain::ShowTitleAndPage(const TTOMONode* node) {
  titleLabel_->setText(node ? QStringLiteral(" ") + Win1252ToQString(node->Record().Title) : QStringLiteral("---"));
  const char kind = node ? node->Record().Kind : 0;
  pageControl_->setCurrentWidget(kind == kKindBitmap     ? static_cast<QWidget*>(bitmapPage_)
                                 : kind == kKindRichText ? static_cast<QWidget*>(textPage_)
                                                         : listBox_->parentWidget());
}

void TfrmClientMain::FillView(TTOMONode* node) {
  const char kind = node ? node->Record().Kind : 0;
  if (kind == kKindBitmap) {
    bitmapPage_->Load(*node);
  } else if (kind == kKindRichText) {
    textPage_->View().Shown().Load(*node);
  } else {
    FillDocumentList(*listBox_, *listModel_, node);
  }
}

void TfrmClientMain::ShowNode(TTOMONode* node) {
  if (node == currentNode_) return;
  TShownDocument& shown = textPage_->View().Shown();
  if (currentNode_ && ShownText()) shown.StoreScroll(currentNode_->Id());
  TWaitCursor wait;
  currentNode_ = node;
  const QModelIndex item = treeModel_->IndexOf(node);
  if (item.isValid()) {
    treeView_->setCurrentIndex(item);
    treeView_->scrollTo(item);
  } else {
    treeView_->clearSelection();
    treeView_->setCurrentIndex(QModelIndex());
  }
  ShowTitleAndPage(node);
  FillView(node);
  if (!history_->Navigating()) {
    history_->RecordHistory(node);
    history_->ClearForward();
  }
  // A search's entry opens on its first hit; any other text where it was left.
  TSearchSession& search = searchPage_->Session();
  // Marking changes the text's formats, not its content.
  if (search.MarkHits(node)) textPage_->View().document()->setModified(false);
  if (node && ShownText() && !search.HasItem(node)) shown.RestoreScroll(node->Id());
  UpdateActions();
}

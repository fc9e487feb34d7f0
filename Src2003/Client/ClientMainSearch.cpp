// The main window's search: the search page, the result tree and list, and
// the hits marked in the text.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeView>

#include "ClientMainUnit.h"
#include "ErrorDisplay.h"
#include "FilterTree.h"
#include "QtText.h"
#include "ResultListModel.h"
#include "ResultListView.h"
#include "ResultTreeModel.h"
#include "SearchFilter.h"
#include "SearchPage.h"
#include "SearchQuery.h"
#include "TOMONode.h"
#include "TOMOTree.h"
#include "TextHitMarks.h"
#include "TextView.h"
#include "WaitCursor.h"
#include "WordIndex.h"
#include "WordIndexError.h"

namespace {

constexpr char kSearchTitle[] = " Pesquisa";
constexpr char kNoWordIndexMessage[] = "O índice de palavras não está disponível.";
constexpr int kIndexTab = 0;
constexpr int kSearchTab = 1;
// Up to this many items the result tree opens every folder, so that the
// hits show at once; a larger tree opens folder by folder as the user asks.
constexpr int kExpandAllItems = 1000;

}  // namespace

void TfrmClientMain::ConnectSearch() {
  connect(treePageControl_, &QTabWidget::currentChanged, this, [this](int index) { TreePageControlChange(index); });
  // A chosen item, not a current one: a view that gets the focus makes its
  // first item current without choosing it, which must not open it.
  connect(searchTreeView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected) {
            if (!selected.indexes().isEmpty()) SearchTreeViewChange(selected.indexes().first());
          });
  connect(&searchPage_->ResultList(), &TResultListView::RowClicked, this, [this](int row) { SearchListClick(row); });
  connect(&searchPage_->ResultList(), &TResultListView::RowOpened, this, [this](int row) { SearchListOpen(row); });
  connect(searchPage_, &TSearchPage::FilterTreeWanted, this, [this] { FillFilterTree(); });
  // Typing only decides whether "Procurar" may run: nothing heavier happens
  // per key.
  connect(&searchPage_->QueryEdit(), &QLineEdit::textChanged, this, [this] { UpdateSearchActions(); });
}

void TfrmClientMain::SearchDocumentsActionExecute() {
  if (treePageControl_->currentIndex() != kSearchTab) treePageControl_->setCurrentIndex(kSearchTab);
  pageControl_->setCurrentWidget(searchPage_);
  titleLabel_->setText(QString::fromUtf8(kSearchTitle));
  searchPage_->FocusQuery();
  UpdateActions();
}

void TfrmClientMain::TreePageControlChange(int index) {
  if (index == kSearchTab) {
    SearchDocumentsActionExecute();
  } else if (index == kIndexTab) {
    ShowTitleAndPage(currentNode_);
    UpdateActions();
  }
}

void TfrmClientMain::SearchDocumentsNowActionExecute() {
  if (searchPage_->QueryEdit().text().trimmed().isEmpty()) return;
  if (!WordIndex) throw EWordIndexError(kNoWordIndexMessage);
  TWaitCursor wait;
  // A failing search raises before anything is replaced: the results shown
  // stay, and the error box tells why.
  SetSearchResults(RunSearchQuery(*WordIndex, searchPage_->Query()));
  searchPage_->ShowResults();
}

void TfrmClientMain::SetSearchResults(TSearchResultList results) {
  TWaitCursor wait;
  DropSearchResults();
  searchResults_ = std::make_unique<TSearchResultList>(std::move(results));
  if (Tree()) ApplySearchFilter(*searchResults_, *Tree(), searchPage_->Filter());
  RebuildSearchViews();
  searchPage_->ResultList().SetSearched(true);
  UpdateActions();
}

// The views point into the results: they let go before the results go.
void TfrmClientMain::DropSearchResults() {
  resultListModel_->BeginRebuild();
  resultTreeModel_->Clear();
  resultListModel_->EndRebuild();
  searchResults_.reset();
  searchPage_->ResultList().SetSearched(false);
}

void TfrmClientMain::RebuildSearchViews() {
  TResultListView& list = searchPage_->ResultList();
  const QModelIndex top = list.indexAt(QPoint(0, 0));
  searchTreeView_->setUpdatesEnabled(false);
  resultListModel_->BeginRebuild();
  if (Tree() && searchResults_) {
    resultTreeModel_->Rebuild(*Tree(), *searchResults_);
  } else {
    resultTreeModel_->Clear();
  }
  resultListModel_->EndRebuild();
  if (resultTreeModel_->Items().Count() <= kExpandAllItems) searchTreeView_->expandAll();
  searchTreeView_->setUpdatesEnabled(true);
  list.selectionModel()->clear();
  const int rows = resultListModel_->rowCount();
  if (rows > 0 && top.isValid()) {
    list.scrollTo(resultListModel_->index(std::min(top.row(), rows - 1)), QAbstractItemView::PositionAtTop);
  }
  list.viewport()->update();
}

int TfrmClientMain::SearchItemOf(const TTOMONode* node) const { return resultTreeModel_->Items().ItemOf(node); }

bool TfrmClientMain::IsSearchHit(const TTOMONode* node) const {
  const int item = SearchItemOf(node);
  return item >= 0 && resultTreeModel_->Items().Item(item).IsHit();
}

void TfrmClientMain::SearchTreeViewChange(const QModelIndex& current) {
  if (selectingSearchItem_) return;
  const int item = resultTreeModel_->ItemOf(current);
  if (item < 0) return;
  const TResultItem& chosen = resultTreeModel_->Items().Item(item);
  // A hit shows its entry; a folder above hits shows the folder itself.
  ShowNode(chosen.IsHit() ? FindNode(chosen.Result->DocumentId()) : chosen.Node);
}

// A click on a folder row finds the folder in the result tree; the list
// stays on screen.
void TfrmClientMain::SearchListClick(int row) {
  const int item = resultListModel_->ItemAt(row);
  if (item < 0 || resultTreeModel_->Items().Item(item).IsHit()) return;
  selectingSearchItem_ = true;
  const QModelIndex index = resultTreeModel_->IndexOfItem(item);
  searchTreeView_->setCurrentIndex(index);
  searchTreeView_->scrollTo(index);
  selectingSearchItem_ = false;
}

void TfrmClientMain::SearchListOpen(int row) {
  const int item = resultListModel_->ItemAt(row);
  if (item < 0 || !resultTreeModel_->Items().Item(item).IsHit()) return;
  TTOMONode* entry = FindNode(resultTreeModel_->Items().Item(item).Result->DocumentId());
  // Through none, so that an entry already shown is loaded and marked anew.
  ShowNode(nullptr);
  ShowNode(entry);
  treePageControl_->setCurrentIndex(kIndexTab);
}

void TfrmClientMain::MarkSearchHits(const TTOMONode* node) {
  if (!IsSearchHit(node) || !TextPageShown()) return;
  const TSearchResult& result = *resultTreeModel_->Items().Item(SearchItemOf(node)).Result;
  if (result.Count() == 0) return;
  TTextHitMarks view(*textEdit_);
  result.Highlight(view);
  // SelectNext moves past the caret, so a hit at the very start of the text
  // is selected directly.
  if (result.Ranges(0).Start <= view.SelectionStart()) {
    view.Select(result.Ranges(0).Start, result.Ranges(0).Length);
  } else {
    result.SelectNext(view, true);
  }
  textEdit_->document()->setModified(false);
}

void TfrmClientMain::SearchWordActionExecute(bool forward) {
  if (!IsSearchHit(currentNode_) || !TextPageShown()) return;
  TTextHitMarks view(*textEdit_);
  resultTreeModel_->Items().Item(SearchItemOf(currentNode_)).Result->SelectNext(view, forward);
}

void TfrmClientMain::ShowTitleAndPage(const TTOMONode* node) {
  titleLabel_->setText(node ? QStringLiteral(" ") + Win1252ToQString(node->Record().Title) : QStringLiteral("---"));
  const char kind = node ? node->Record().Kind : 0;
  pageControl_->setCurrentWidget(kind == kKindBitmap     ? bitmapTabSheet_
                                 : kind == kKindRichText ? textTabSheet_
                                                         : listBoxTabSheet_);
}

void TfrmClientMain::FillFilterTree() {
  TFilterTree& filter = searchPage_->FilterTree();
  if (filterTreeCurrent_ && filter.FilledFrom() == Tree()) return;
  filter.Fill(Tree());
  filterTreeCurrent_ = true;
}

void TfrmClientMain::UpdateSearchActions() {
  TClientActions& a = actions_;
  a.SearchDocumentsAction->setEnabled(true);
  a.SearchDocumentsNowAction->setEnabled(!searchPage_->QueryEdit().text().trimmed().isEmpty());
  const bool hit = IsSearchHit(currentNode_);
  a.SearchNextWordAction->setEnabled(hit);
  a.SearchPrevWordAction->setEnabled(hit);
}

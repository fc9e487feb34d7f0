// The main window's search: the search page, the result tree and list, and
// the hits marked in the text.
#include <functional>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeView>

#include "ClientMainUnit.h"
#include "DocumentText.h"
#include "ErrorDisplay.h"
#include "FilterTree.h"
#include "QtText.h"
#include "ResultListModel.h"
#include "ResultListView.h"
#include "ResultTreeModel.h"
#include "SearchFilter.h"
#include "SearchPage.h"
#include "SearchQuery.h"
#include "TOMODocumentSet.h"
#include "TOMONode.h"
#include "TOMOTree.h"
#include "TextHitMarks.h"
#include "TextView.h"
#include "WaitCursor.h"
#include "WordIndex.h"
#include "SearchResult.h"
#include "WordIndexError.h"

namespace {

constexpr char kSearchTitle[] = " Pesquisa";
constexpr char kNoWordIndexMessage[] = "O índice de palavras não está disponível.";
constexpr int kIndexTab = 0;
constexpr int kSearchTab = 1;
// Up to this many items the result tree opens every folder, so that the
// hits show at once; a larger tree opens folder by folder as the user asks.
constexpr int kExpandAllItems = 1000;

QString DocumentsText(int count, const char* one, const char* many) {
  return count == 1 ? QString::fromUtf8(one) : QString::fromUtf8(many).arg(count);
}

// Why a search shows nothing, beyond "Nenhum documento encontrado.": a title
// filter with no branch, filters that left out what the words found, and
// the words too short to be searched.
QString EmptyResultNote(const TSearchPage& page, int foundBeforeFilters) {
  QStringList notes;
  if (page.TitleFilterEmpty()) {
    notes.append(QStringLiteral("Nenhum ramo está marcado em \"Filtrar por Títulos\"."));
  } else if (foundBeforeFilters > 0) {
    notes.append(DocumentsText(foundBeforeFilters, "1 documento encontrado foi deixado de fora pelos filtros ativos.",
                               "%1 documentos encontrados foram deixados de fora pelos filtros ativos."));
  }
  QStringList skipped;
  for (const std::string& word : SkippedQueryWords(QStringToWin1252(page.QueryEdit().text()))) {
    skipped.append(QStringLiteral("\"") + Win1252ToQString(word) + QStringLiteral("\""));
  }
  if (!skipped.isEmpty()) {
    notes.append(QStringLiteral("Palavras de uma ou duas letras não são procuradas: ") +
                 skipped.join(QStringLiteral(", ")) + QStringLiteral("."));
  }
  return notes.join(QStringLiteral("\n"));
}

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
  // Snippets come from the text the word index read.
  resultListModel_->SetTextSource([](const TTOMONode& entry) {
    if (!DocumentSource()) return std::string();
    return ReadDocumentText(*DocumentSource(), entry.Record().DocumentNumber);
  });
  // Cleared filters show at once what the last search found without them.
  connect(searchPage_, &TSearchPage::FiltersCleared, this, [this] {
    if (searchResults_) actions_.SearchDocumentsNowAction->trigger();
  });
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
  const int found = searchResults_->Count();
  if (Tree()) ApplySearchFilter(*searchResults_, *Tree(), searchPage_->Filter());
  RebuildSearchViews();
  const int documents = resultTreeModel_->Items().HitCount();
  searchPage_->ShowResultCount(documents);
  searchPage_->ResultList().SetEmptyNote(documents > 0 ? QString() : EmptyResultNote(*searchPage_, found));
  searchPage_->ResultList().SetSearched(true);
  UpdateActions();
}

// The views point into the results: they let go before the results go.
void TfrmClientMain::DropSearchResults() {
  ClearSearchViews();
  searchResults_.reset();
  searchPage_->ShowResultCount(0);
  searchPage_->ResultList().SetSearched(false);
}

void TfrmClientMain::ClearSearchViews() {
  resultListModel_->BeginRebuild();
  resultTreeModel_->Clear();
  resultListModel_->EndRebuild();
}

namespace {

// The Id of the entry a chosen row or item stands for, or -1.
int ChosenId(const QItemSelectionModel& selection, const std::function<int(const QModelIndex&)>& itemOf,
             const TResultTree& items) {
  const QModelIndexList chosen = selection.selectedIndexes();
  const int item = chosen.isEmpty() ? -1 : itemOf(chosen.first());
  return item < 0 ? -1 : items.Item(item).Node->Id();
}

}  // namespace

void TfrmClientMain::RememberSearchViews() {
  const TResultTree& items = resultTreeModel_->Items();
  TResultListView& list = searchPage_->ResultList();
  TSearchViewMark& mark = reloadSearchMark_;
  mark = {};
  mark.PageShown = pageControl_->currentWidget() == searchPage_;
  const QModelIndex top = list.indexAt(QPoint(0, 0));
  if (top.isValid() && resultListModel_->ItemAt(top.row()) >= 0) {
    mark.TopRow = top.row();
    mark.TopId = items.Item(resultListModel_->ItemAt(top.row())).Node->Id();
  }
  mark.ListChosenId = ChosenId(
      *list.selectionModel(), [this](const QModelIndex& row) { return resultListModel_->ItemAt(row.row()); }, items);
  mark.TreeChosenId = ChosenId(
      *searchTreeView_->selectionModel(), [this](const QModelIndex& index) { return resultTreeModel_->ItemOf(index); },
      items);
}

// The results are built anew against the new tree: an entry the new tree no
// longer has drops out, the others keep their rows and their choice.
void TfrmClientMain::RestoreSearchViews() {
  const TSearchViewMark mark = std::exchange(reloadSearchMark_, {});
  if (!searchResults_) return;
  RebuildSearchViews();
  const TResultTree& items = resultTreeModel_->Items();
  searchPage_->ShowResultCount(items.HitCount());
  TResultListView& list = searchPage_->ResultList();
  const auto rowOfId = [&](int id) {
    const int item = id < 0 ? -1 : items.ItemOf(FindNode(id));
    return item < 0 ? -1 : items.DisplayRowOf(item);
  };
  const int rows = resultListModel_->rowCount();
  const int topRow = rowOfId(mark.TopId) >= 0 ? rowOfId(mark.TopId) : std::min(mark.TopRow, rows - 1);
  if (topRow >= 0) list.scrollTo(resultListModel_->index(topRow), QAbstractItemView::PositionAtTop);
  if (const int row = rowOfId(mark.ListChosenId); row >= 0) {
    list.setCurrentIndex(resultListModel_->index(row));
  }
  if (const int item = mark.TreeChosenId < 0 ? -1 : items.ItemOf(FindNode(mark.TreeChosenId)); item >= 0) {
    selectingSearchItem_ = true;
    searchTreeView_->setCurrentIndex(resultTreeModel_->IndexOfItem(item));
    selectingSearchItem_ = false;
  }
  reloadSearchMark_.PageShown = mark.PageShown;
}

// Showing the entry again moved the right pane to it; the search page, if
// it was on screen, comes back.
void TfrmClientMain::RestoreSearchPage() {
  if (!std::exchange(reloadSearchMark_.PageShown, false)) return;
  pageControl_->setCurrentWidget(searchPage_);
  titleLabel_->setText(QString::fromUtf8(kSearchTitle));
  UpdateActions();
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
  // The left pane stays where it is: on "Pesquisa" the result tree keeps
  // showing where the hit lies among the others.
  ShowNode(nullptr);
  ShowNode(entry);
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

// Past the entry's last hit (or before its first) the step goes on to the
// next (or previous) entry of the list with hits in its text, at its first
// (or last) hit.
void TfrmClientMain::SearchWordActionExecute(bool forward) {
  if (!IsSearchHit(currentNode_) || !TextPageShown()) return;
  const int item = SearchItemOf(currentNode_);
  TTextHitMarks view(*textEdit_);
  if (resultTreeModel_->Items().Item(item).Result->SelectNext(view, forward)) return;
  const int next = resultTreeModel_->Items().NextHitWithRanges(item, forward);
  if (next < 0) return;
  FollowSearchItem(next);
  const TSearchResult& result = *resultTreeModel_->Items().Item(next).Result;
  ShowNode(FindNode(result.DocumentId()));
  if (!forward && TextPageShown() && result.Count() > 0) {
    const TSearchRange& last = result.Ranges(result.Count() - 1);
    TTextHitMarks(*textEdit_).Select(last.Start, last.Length);
  }
}

// The result tree and the result list point at the item, without showing it.
void TfrmClientMain::FollowSearchItem(int item) {
  selectingSearchItem_ = true;
  const QModelIndex index = resultTreeModel_->IndexOfItem(item);
  searchTreeView_->setCurrentIndex(index);
  searchTreeView_->scrollTo(index);
  selectingSearchItem_ = false;
  TResultListView& list = searchPage_->ResultList();
  const QModelIndex row = resultListModel_->index(resultTreeModel_->Items().DisplayRowOf(item));
  list.setCurrentIndex(row);
  list.scrollTo(row);
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

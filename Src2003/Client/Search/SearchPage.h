#pragma once

#include <QWidget>

#include "SearchFilter.h"
#include "SearchQuery.h"
#include "SearchResultList.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class TFilterTree;
class TResultListView;
class TSearchAdvancedPage;
class TSearchSession;

// The search page of the main window ("Procurar documentos..."): the query
// field, "Avançado >>" and "Procurar" on top; below, either the result list
// or the advanced settings (second phrase with "E"/"Ou", date and title
// filters, "Buscar em"). It runs the search and keeps what it found in its
// search session.
class TSearchPage : public QWidget {
  Q_OBJECT

 public:
  // `searchNow` is the command "Procurar" runs.
  TSearchPage(QAction& searchNow, QWidget* parent = nullptr);

  QLineEdit& QueryEdit() const { return *searchDocText_; }
  TResultListView& ResultList() const { return *searchDocListBox_; }
  TFilterTree& FilterTree() const;
  TSearchSession& Session() const { return *session_; }

  // The phrases, the second one only while the advanced settings are open.
  TSearchQuery Query() const;
  // The filters as set, also while the advanced settings are hidden.
  TSearchFilter Filter() const;
  // Searches the program's word index for the query and shows what it
  // found; nothing for an empty query. A failing search raises before
  // anything is replaced (EWordIndexError without a word index).
  void RunSearch();
  // Shows a search's results (the previous ones are dropped), filtered by
  // the page's settings, with their count or why there are none.
  void ShowSearchResults(TSearchResultList results);
  // No results any more.
  void DropResults();
  void FocusQuery();
  // "N documentos encontrados" above the results; nothing for 0 (the empty
  // list speaks for itself) or before a search (-1).
  void ShowResultCount(int documents);
  // "Limpar filtros": date and title filters off, "Buscar em" "Conteúdo".
  void ClearFilters();

  // Across a reload of the tree: the views and the filter tree let go of
  // the old nodes, and follow the new tree.
  void LetGoOfTree();
  void FollowNewTree();
  // The tree is about to change on disk: the filter tree is out of date.
  void MarkFilterTreeStale() { filterTreeCurrent_ = false; }

 signals:
  // The results shown changed.
  void ResultsChanged();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* CreateQueryRow(QAction& searchNow);
  QWidget* CreateFilterLine();
  QWidget* CreateResultsPage();
  // Shows or hides the active-filter line after any filter changed.
  void UpdateFilterLine();
  // The page below follows the advanced button.
  void ShowChosenPage();
  void FillFilterTree();
  QString EmptyResultNote(int foundBeforeFilters) const;

  QLineEdit* searchDocText_ = nullptr;
  QPushButton* searchAdvancedBtn_ = nullptr;
  QPushButton* searchDocButton_ = nullptr;
  QWidget* filterLine_ = nullptr;
  QLabel* activeFiltersLabel_ = nullptr;
  QPushButton* clearFiltersBtn_ = nullptr;
  QLabel* resultCountLabel_ = nullptr;
  QStackedWidget* searchPageControl_ = nullptr;
  QWidget* resultsPage_ = nullptr;
  TSearchAdvancedPage* advancedPage_ = nullptr;
  TResultListView* searchDocListBox_ = nullptr;
  TSearchSession* session_ = nullptr;
  // True while the filter tree matches the document tree.
  bool filterTreeCurrent_ = false;
};

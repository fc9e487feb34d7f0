#pragma once

#include <QWidget>

#include "SearchFilter.h"
#include "SearchQuery.h"

class QAction;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class TFilterTree;
class TResultListView;

// The search page of the main window ("Procurar documentos..."): the query
// field, "Avançado >>" and "Procurar" on top; below, either the result list
// or the advanced settings (second phrase with "E"/"Ou", date and title
// filters, "Buscar em"). It only gathers what the user set; the main window
// runs the search.
class TSearchPage : public QWidget {
  Q_OBJECT

 public:
  // `searchNow` is the command "Procurar" runs.
  TSearchPage(QAction& searchNow, QWidget* parent = nullptr);

  QLineEdit& QueryEdit() const { return *searchDocText_; }
  TResultListView& ResultList() const { return *searchDocListBox_; }
  TFilterTree& FilterTree() const { return *searchFilterTree_; }
  bool FilterByTitles() const;

  // The phrases, the second one only while the advanced settings are open.
  TSearchQuery Query() const;
  // The filters as set, also while the advanced settings are hidden; the
  // title ticks are asked of the filter tree.
  TSearchFilter Filter() const;
  // After a search: the advanced button comes up and the results show.
  void ShowResults();
  void FocusQuery();
  // "N documentos encontrados" above the results; nothing for 0 (the empty
  // list speaks for itself) or before a search (-1).
  void ShowResultCount(int documents);

  // The filters that differ from their defaults, as the line above the
  // results says them ("Filtros ativos: ..."); empty while all are at their
  // defaults.
  QString ActiveFiltersText() const;
  // The title filter is on with no branch ticked: it keeps nothing.
  bool TitleFilterEmpty() const;
  // "Limpar filtros": date and title filters off, "Buscar em" "Conteúdo".
  void ClearFilters();

 signals:
  // The title filter was switched on and its tree wants filling.
  void FilterTreeWanted();
  // "Limpar filtros" put every filter back to its default.
  void FiltersCleared();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* CreateQueryRow(QAction& searchNow);
  QWidget* CreateFilterLine();
  void WatchFilters();
  // Shows or hides the active-filter line after any filter changed.
  void UpdateFilterLine();
  QWidget* CreateResultsPage();
  QWidget* CreateAdvancedPage();
  QWidget* CreateDateRow(QWidget* parent);
  QWidget* CreateMorePhraseRow(QWidget* parent);
  QGroupBox* CreateWhereGroup(QWidget* parent);
  // The page below follows the advanced button.
  void ShowChosenPage();
  void SearchTitleFilterToggled(bool on);
  void SearchDateFilterToggled(bool on);

  QLineEdit* searchDocText_ = nullptr;
  QPushButton* searchAdvancedBtn_ = nullptr;
  QPushButton* searchDocButton_ = nullptr;
  QWidget* filterLine_ = nullptr;
  QLabel* activeFiltersLabel_ = nullptr;
  QPushButton* clearFiltersBtn_ = nullptr;
  QLabel* resultCountLabel_ = nullptr;
  QStackedWidget* searchPageControl_ = nullptr;
  QWidget* resultsPage_ = nullptr;
  QWidget* advancedPage_ = nullptr;
  TResultListView* searchDocListBox_ = nullptr;
  QCheckBox* searchDateFilterChk_ = nullptr;
  QDateEdit* searchDateFilterFrom_ = nullptr;
  QDateEdit* searchDateFilterTo_ = nullptr;
  QCheckBox* searchFilterTreeChk_ = nullptr;
  TFilterTree* searchFilterTree_ = nullptr;
  QLineEdit* searchDocMoreText_ = nullptr;
  QRadioButton* searchMoreAndRadio_ = nullptr;
  QRadioButton* searchMoreOrRadio_ = nullptr;
  QGroupBox* searchWhereGroup_ = nullptr;
  QRadioButton* whereContentRadio_ = nullptr;
  QRadioButton* whereTitlesRadio_ = nullptr;
  QRadioButton* whereBothRadio_ = nullptr;
};

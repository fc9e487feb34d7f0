#pragma once

#include <QWidget>

#include "SearchFilter.h"
#include "SearchQuery.h"

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class TFilterTree;

// The search page's advanced settings ("Avançado"): a second phrase with
// "E"/"Ou", where the words must occur ("Buscar em"), the date filter and
// the title filter. It only holds what the user set.
class TSearchAdvancedPage : public QWidget {
  Q_OBJECT

 public:
  explicit TSearchAdvancedPage(QWidget* parent = nullptr);

  TFilterTree& FilterTree() const { return *searchFilterTree_; }
  bool FilterByTitles() const;
  // Adds the second phrase and its combination to `query`.
  void AddMorePhrase(TSearchQuery& query) const;
  // The filters as set; the title ticks are asked of the filter tree.
  TSearchFilter Filter() const;
  // The filters that differ from their defaults, as the line above the
  // results says them ("Filtros ativos: ..."); empty while all are at their
  // defaults.
  QString ActiveFiltersText() const;
  // The title filter is on with no branch ticked: it keeps nothing.
  bool TitleFilterEmpty() const;
  // Date and title filters off, "Buscar em" "Conteúdo".
  void ClearFilters();

 signals:
  // The title filter was switched on and its tree wants filling.
  void FilterTreeWanted();
  // Any filter changed.
  void FiltersChanged();
  // Return was pressed in the second phrase.
  void MorePhraseEntered();

 private:
  QWidget* CreateDateRow();
  QWidget* CreateMorePhraseRow();
  QGroupBox* CreateWhereGroup();
  void WatchFilters();
  void SearchTitleFilterToggled(bool on);
  void SearchDateFilterToggled(bool on);

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

#include "SearchPage.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "FilterTree.h"
#include "QtText.h"
#include "ResultListView.h"
#include "ResultTree.h"
#include "SearchAdvancedPage.h"
#include "SearchSession.h"
#include "WaitCursor.h"
#include "WordIndex.h"
#include "WordIndexError.h"

namespace {

constexpr char kNoWordIndexMessage[] = "O índice de palavras não está disponível.";

QString DocumentsText(int count, const char* one, const char* many) {
  return count == 1 ? QString::fromUtf8(one) : QString::fromUtf8(many).arg(count);
}

}  // namespace

TSearchPage::TSearchPage(QAction& searchNow, QWidget* parent) : QWidget(parent) {
  setObjectName("SearchDocTabSheet");
  setWindowTitle(QStringLiteral("Procurar documentos..."));
  // The query row first: the advanced page's second phrase presses its button.
  QWidget* queryRow = CreateQueryRow(searchNow);
  searchPageControl_ = new QStackedWidget(this);
  searchPageControl_->setObjectName("SearchPageControl");
  searchPageControl_->addWidget(CreateResultsPage());
  advancedPage_ = new TSearchAdvancedPage(this);
  searchPageControl_->addWidget(advancedPage_);
  connect(advancedPage_, &TSearchAdvancedPage::MorePhraseEntered, searchDocButton_, &QPushButton::click);
  connect(advancedPage_, &TSearchAdvancedPage::FilterTreeWanted, this, &TSearchPage::FillFilterTree);
  connect(advancedPage_, &TSearchAdvancedPage::FiltersChanged, this, &TSearchPage::UpdateFilterLine);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(queryRow);
  layout->addWidget(CreateFilterLine());
  layout->addWidget(searchPageControl_, 1);
  UpdateFilterLine();
  // "Limpar filtros" is made last but read right after "Procurar".
  setTabOrder(searchDocButton_, clearFiltersBtn_);
  session_ = new TSearchSession(*searchDocListBox_, this);
  // Cleared filters show at once what the last search found without them.
  connect(clearFiltersBtn_, &QPushButton::clicked, this, [this, &searchNow] {
    ClearFilters();
    if (session_->Results()) searchNow.trigger();
  });
}

// One line under the query, shown while a filter is on, so that a filter set
// on the hidden advanced page never acts unseen.
QWidget* TSearchPage::CreateFilterLine() {
  filterLine_ = new QWidget(this);
  filterLine_->setObjectName("SearchActiveFiltersLine");
  activeFiltersLabel_ = new QLabel(filterLine_);
  activeFiltersLabel_->setObjectName("SearchActiveFiltersLabel");
  activeFiltersLabel_->setTextFormat(Qt::PlainText);
  activeFiltersLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  clearFiltersBtn_ = new QPushButton(QStringLiteral("Limpar filtros"), filterLine_);
  clearFiltersBtn_->setObjectName("SearchClearFiltersBtn");
  auto* layout = new QHBoxLayout(filterLine_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(activeFiltersLabel_, 1);
  layout->addWidget(clearFiltersBtn_);
  return filterLine_;
}

QWidget* TSearchPage::CreateQueryRow(QAction& searchNow) {
  auto* row = new QWidget(this);
  auto* label = new QLabel(QStringLiteral("Digite o texto procurado:"), row);
  searchDocText_ = new QLineEdit(row);
  searchDocText_->setObjectName("SearchDocText");
  label->setBuddy(searchDocText_);
  searchAdvancedBtn_ = new QPushButton(QStringLiteral("Avançado >>"), row);
  searchAdvancedBtn_->setObjectName("SearchAdvancedBtn");
  searchAdvancedBtn_->setCheckable(true);
  searchDocButton_ = new QPushButton(searchNow.text(), row);
  searchDocButton_->setObjectName("SearchDocButton");
  searchDocButton_->setEnabled(searchNow.isEnabled());
  // The button is the command's face: it follows its enabling and runs it.
  connect(&searchNow, &QAction::changed, searchDocButton_,
          [this, &searchNow] { searchDocButton_->setEnabled(searchNow.isEnabled()); });
  connect(searchDocButton_, &QPushButton::clicked, &searchNow, &QAction::trigger);
  connect(searchDocText_, &QLineEdit::returnPressed, &searchNow, &QAction::trigger);
  connect(searchAdvancedBtn_, &QPushButton::toggled, this, &TSearchPage::ShowChosenPage);

  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(label);
  layout->addWidget(searchDocText_, 1);
  layout->addWidget(searchAdvancedBtn_);
  layout->addWidget(searchDocButton_);
  return row;
}

QWidget* TSearchPage::CreateResultsPage() {
  resultsPage_ = new QWidget(this);
  resultsPage_->setObjectName("SearchResultsTabSheet");
  resultsPage_->setWindowTitle(QStringLiteral("Resultados"));
  searchDocListBox_ = new TResultListView(resultsPage_);
  searchDocListBox_->setObjectName("SearchDocListBox");
  resultCountLabel_ = new QLabel(resultsPage_);
  resultCountLabel_->setObjectName("SearchResultCountLabel");
  resultCountLabel_->hide();
  auto* layout = new QVBoxLayout(resultsPage_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(resultCountLabel_);
  layout->addWidget(searchDocListBox_);
  return resultsPage_;
}

TFilterTree& TSearchPage::FilterTree() const { return advancedPage_->FilterTree(); }

TSearchQuery TSearchPage::Query() const {
  TSearchQuery query;
  query.Phrase = QStringToWin1252(searchDocText_->text());
  advancedPage_->AddMorePhrase(query);
  if (!searchAdvancedBtn_->isChecked()) query.MorePhrase.clear();
  return query;
}

TSearchFilter TSearchPage::Filter() const { return advancedPage_->Filter(); }

void TSearchPage::RunSearch() {
  if (searchDocText_->text().trimmed().isEmpty()) return;
  if (!WordIndex) throw EWordIndexError(kNoWordIndexMessage);
  TWaitCursor wait;
  ShowSearchResults(RunSearchQuery(*WordIndex, Query()));
  // After a search the advanced button comes up and the results show.
  searchAdvancedBtn_->setChecked(false);
  ShowChosenPage();
}

void TSearchPage::ShowSearchResults(TSearchResultList results) {
  ShowResultCount(0);
  const int found = session_->Replace(std::move(results), Filter());
  const int documents = session_->Items().HitCount();
  ShowResultCount(documents);
  searchDocListBox_->SetEmptyNote(documents > 0 ? QString() : EmptyResultNote(found));
  searchDocListBox_->SetSearched(true);
  emit ResultsChanged();
}

void TSearchPage::DropResults() {
  session_->Drop();
  ShowResultCount(0);
  searchDocListBox_->SetSearched(false);
}

// Why a search shows nothing, beyond "Nenhum documento encontrado.": a title
// filter with no branch, filters that left out what the words found, and
// the words too short to be searched.
QString TSearchPage::EmptyResultNote(int foundBeforeFilters) const {
  QStringList notes;
  if (advancedPage_->TitleFilterEmpty()) {
    notes.append(QStringLiteral("Nenhum ramo está marcado em \"Filtrar por Títulos\"."));
  } else if (foundBeforeFilters > 0) {
    notes.append(DocumentsText(foundBeforeFilters, "1 documento encontrado foi deixado de fora pelos filtros ativos.",
                               "%1 documentos encontrados foram deixados de fora pelos filtros ativos."));
  }
  QStringList skipped;
  for (const std::string& word : SkippedQueryWords(QStringToWin1252(searchDocText_->text()))) {
    skipped.append(QStringLiteral("\"") + Win1252ToQString(word) + QStringLiteral("\""));
  }
  if (!skipped.isEmpty()) {
    notes.append(QStringLiteral("Palavras de uma ou duas letras não são procuradas: ") +
                 skipped.join(QStringLiteral(", ")) + QStringLiteral("."));
  }
  return notes.join(QStringLiteral("\n"));
}

void TSearchPage::ShowResultCount(int documents) {
  const QString count = QLocale(QLocale::Portuguese, QLocale::Brazil).toString(documents);
  resultCountLabel_->setText(documents == 1 ? QStringLiteral("1 documento encontrado")
                                            : QStringLiteral("%1 documentos encontrados").arg(count));
  resultCountLabel_->setVisible(documents > 0);
}

void TSearchPage::ClearFilters() { advancedPage_->ClearFilters(); }

void TSearchPage::UpdateFilterLine() {
  const QString text = advancedPage_->ActiveFiltersText();
  activeFiltersLabel_->setText(text);
  activeFiltersLabel_->setToolTip(text);
  filterLine_->setVisible(!text.isEmpty());
}

void TSearchPage::FillFilterTree() {
  TFilterTree& filter = FilterTree();
  if (filterTreeCurrent_ && filter.FilledFrom() == session_->Tree()) return;
  filter.Fill(session_->Tree());
  filterTreeCurrent_ = true;
}

void TSearchPage::LetGoOfTree() {
  session_->LetGoOfTree();
  FilterTree().SetTree(nullptr);
}

void TSearchPage::FollowNewTree() {
  FilterTree().SetTree(session_->Tree());
  filterTreeCurrent_ = false;
  session_->FollowNewTree();
  if (session_->Results()) ShowResultCount(session_->Items().HitCount());
}

void TSearchPage::FocusQuery() {
  searchDocText_->setFocus();
  searchDocText_->selectAll();
}

void TSearchPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  ShowChosenPage();
}

void TSearchPage::ShowChosenPage() {
  searchPageControl_->setCurrentWidget(searchAdvancedBtn_->isChecked() ? advancedPage_ : resultsPage_);
}

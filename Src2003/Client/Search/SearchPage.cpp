#include "SearchPage.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "FilterTree.h"
#include "QtText.h"
#include "ResultListView.h"

namespace {

// Both date pickers start on this day until the user changes them.
constexpr int kDefaultFilterYear = 2004;
constexpr int kDefaultFilterMonth = 3;
constexpr int kDefaultFilterDay = 26;
constexpr char kShortDateFormat[] = "dd/MM/yyyy";
// Days between Qt's Julian day numbers and our date-times (30/12/1899).
constexpr qint64 kJulianDayOfDateTimeZero = 2415019;

TDateTime ToDateTime(const QDate& date) { return static_cast<TDateTime>(date.toJulianDay() - kJulianDayOfDateTimeZero); }

QDateEdit* NewDatePicker(const char* name, QWidget* parent) {
  auto* picker = new QDateEdit(QDate(kDefaultFilterYear, kDefaultFilterMonth, kDefaultFilterDay), parent);
  picker->setObjectName(name);
  picker->setDisplayFormat(QString::fromLatin1(kShortDateFormat));
  picker->setCalendarPopup(true);
  picker->setEnabled(false);
  return picker;
}

// A long list of chosen branches names this many and counts the rest.
constexpr int kBranchesNamed = 3;

QString BranchesText(const QStringList& branches) {
  if (branches.isEmpty()) return QStringLiteral("nenhum ramo marcado");
  if (branches.size() <= kBranchesNamed) return branches.join(QStringLiteral(", "));
  return branches.mid(0, kBranchesNamed).join(QStringLiteral(", ")) +
         QStringLiteral(" e mais %1").arg(branches.size() - kBranchesNamed);
}

QRadioButton* NewRadio(const char* name, const char* caption, QWidget* parent) {
  auto* radio = new QRadioButton(QString::fromUtf8(caption), parent);
  radio->setObjectName(name);
  return radio;
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
  searchPageControl_->addWidget(CreateAdvancedPage());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(queryRow);
  layout->addWidget(CreateFilterLine());
  layout->addWidget(searchPageControl_, 1);
  WatchFilters();
  UpdateFilterLine();
  // "Limpar filtros" is made last but read right after "Procurar".
  setTabOrder(searchDocButton_, clearFiltersBtn_);
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
  connect(clearFiltersBtn_, &QPushButton::clicked, this, [this] {
    ClearFilters();
    emit FiltersCleared();
  });
  auto* layout = new QHBoxLayout(filterLine_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(activeFiltersLabel_, 1);
  layout->addWidget(clearFiltersBtn_);
  return filterLine_;
}

void TSearchPage::WatchFilters() {
  const auto update = [this] { UpdateFilterLine(); };
  connect(searchDateFilterChk_, &QCheckBox::toggled, this, update);
  connect(searchDateFilterFrom_, &QDateEdit::dateChanged, this, update);
  connect(searchDateFilterTo_, &QDateEdit::dateChanged, this, update);
  connect(searchFilterTreeChk_, &QCheckBox::toggled, this, update);
  connect(searchFilterTree_, &TFilterTree::TicksChanged, this, update);
  for (QRadioButton* where : {whereContentRadio_, whereTitlesRadio_, whereBothRadio_}) {
    connect(where, &QRadioButton::toggled, this, update);
  }
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

QWidget* TSearchPage::CreateAdvancedPage() {
  advancedPage_ = new QWidget(this);
  advancedPage_->setObjectName("SearchAdvancedTabSheet");
  advancedPage_->setWindowTitle(QStringLiteral("Avançado"));

  searchFilterTreeChk_ = new QCheckBox(QStringLiteral("Filtrar por Títulos:"), advancedPage_);
  searchFilterTreeChk_->setObjectName("SearchFilterTreeChk");
  searchFilterTree_ = new TFilterTree(advancedPage_);
  searchFilterTree_->setObjectName("SearchFilterTree");
  searchFilterTree_->setEnabled(false);
  connect(searchFilterTreeChk_, &QCheckBox::toggled, this, &TSearchPage::SearchTitleFilterToggled);

  auto* layout = new QVBoxLayout(advancedPage_);
  layout->addWidget(CreateMorePhraseRow(advancedPage_));
  layout->addWidget(CreateWhereGroup(advancedPage_));
  layout->addWidget(CreateDateRow(advancedPage_));
  layout->addWidget(searchFilterTreeChk_);
  layout->addWidget(searchFilterTree_, 1);
  // The title filter is made first but read last: Tab follows the page downwards.
  setTabOrder(searchDateFilterTo_, searchFilterTreeChk_);
  setTabOrder(searchFilterTreeChk_, searchFilterTree_);
  return advancedPage_;
}

QWidget* TSearchPage::CreateDateRow(QWidget* parent) {
  auto* row = new QWidget(parent);
  searchDateFilterChk_ = new QCheckBox(QStringLiteral("Filtrar por data:"), row);
  searchDateFilterChk_->setObjectName("SearchDateFilterChk");
  searchDateFilterFrom_ = NewDatePicker("SearchDateFilterFrom", row);
  searchDateFilterTo_ = NewDatePicker("SearchDateFilterTo", row);
  connect(searchDateFilterChk_, &QCheckBox::toggled, this, &TSearchPage::SearchDateFilterToggled);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(searchDateFilterChk_);
  layout->addWidget(new QLabel(QStringLiteral("publicados entre"), row));
  layout->addWidget(searchDateFilterFrom_);
  layout->addWidget(new QLabel(QStringLiteral("e"), row));
  layout->addWidget(searchDateFilterTo_);
  layout->addStretch(1);
  return row;
}

QWidget* TSearchPage::CreateMorePhraseRow(QWidget* parent) {
  auto* row = new QWidget(parent);
  searchMoreAndRadio_ = NewRadio("SearchMoreAndRadio", "E", row);
  searchMoreAndRadio_->setChecked(true);
  searchMoreOrRadio_ = NewRadio("SearchMoreOrRadio", "Ou", row);
  searchDocMoreText_ = new QLineEdit(row);
  searchDocMoreText_->setObjectName("SearchDocMoreText");
  connect(searchDocMoreText_, &QLineEdit::returnPressed, searchDocButton_, &QPushButton::click);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(searchMoreAndRadio_);
  layout->addWidget(searchMoreOrRadio_);
  layout->addWidget(searchDocMoreText_, 1);
  return row;
}

QGroupBox* TSearchPage::CreateWhereGroup(QWidget* parent) {
  searchWhereGroup_ = new QGroupBox(QStringLiteral(" Buscar em: "), parent);
  searchWhereGroup_->setObjectName("SearchWhereGroup");
  whereContentRadio_ = NewRadio("SearchWhereContentRadio", "Conteúdo", searchWhereGroup_);
  whereContentRadio_->setChecked(true);
  whereTitlesRadio_ = NewRadio("SearchWhereTitlesRadio", "Títulos", searchWhereGroup_);
  whereBothRadio_ = NewRadio("SearchWhereBothRadio", "Conteúdo e Títulos", searchWhereGroup_);
  auto* layout = new QHBoxLayout(searchWhereGroup_);
  layout->addWidget(whereContentRadio_);
  layout->addWidget(whereTitlesRadio_);
  layout->addWidget(whereBothRadio_);
  layout->addStretch(1);
  return searchWhereGroup_;
}

bool TSearchPage::FilterByTitles() const { return searchFilterTreeChk_->isChecked(); }

TSearchQuery TSearchPage::Query() const {
  TSearchQuery query;
  query.Phrase = QStringToWin1252(searchDocText_->text());
  if (searchAdvancedBtn_->isChecked()) query.MorePhrase = QStringToWin1252(searchDocMoreText_->text());
  query.Combination = searchMoreAndRadio_->isChecked() ? TPhraseCombination::And : TPhraseCombination::Or;
  return query;
}

TSearchFilter TSearchPage::Filter() const {
  TSearchFilter filter;
  filter.ByDate = searchDateFilterChk_->isChecked();
  filter.From = ToDateTime(searchDateFilterFrom_->date());
  filter.To = ToDateTime(searchDateFilterTo_->date());
  filter.ByTitles = FilterByTitles();
  filter.TitleTickOf = [tree = searchFilterTree_](std::int32_t id) { return tree->TickOf(id); };
  filter.Where = whereContentRadio_->isChecked()  ? TSearchWhere::Content
                 : whereTitlesRadio_->isChecked() ? TSearchWhere::Titles
                                                  : TSearchWhere::ContentAndTitles;
  return filter;
}

void TSearchPage::ShowResults() {
  searchAdvancedBtn_->setChecked(false);
  ShowChosenPage();
}

void TSearchPage::ShowResultCount(int documents) {
  const QString count = QLocale(QLocale::Portuguese, QLocale::Brazil).toString(documents);
  resultCountLabel_->setText(documents == 1 ? QStringLiteral("1 documento encontrado")
                                            : QStringLiteral("%1 documentos encontrados").arg(count));
  resultCountLabel_->setVisible(documents > 0);
}

QString TSearchPage::ActiveFiltersText() const {
  QStringList active;
  if (searchDateFilterChk_->isChecked()) {
    const QString format = QString::fromLatin1(kShortDateFormat);
    active.append(QStringLiteral("data de %1 a %2")
                      .arg(searchDateFilterFrom_->date().toString(format), searchDateFilterTo_->date().toString(format)));
  }
  if (FilterByTitles()) active.append(QStringLiteral("títulos: ") + BranchesText(searchFilterTree_->ChosenBranches()));
  if (!whereContentRadio_->isChecked()) {
    active.append(QStringLiteral("buscar em ") + (whereTitlesRadio_->isChecked() ? whereTitlesRadio_->text()
                                                                                  : whereBothRadio_->text()));
  }
  return active.isEmpty() ? QString() : QStringLiteral("Filtros ativos: ") + active.join(QStringLiteral("; "));
}

bool TSearchPage::TitleFilterEmpty() const {
  return FilterByTitles() && searchFilterTree_->ChosenBranches().isEmpty();
}

void TSearchPage::ClearFilters() {
  searchDateFilterChk_->setChecked(false);
  searchFilterTreeChk_->setChecked(false);
  whereContentRadio_->setChecked(true);
}

void TSearchPage::UpdateFilterLine() {
  const QString text = ActiveFiltersText();
  activeFiltersLabel_->setText(text);
  activeFiltersLabel_->setToolTip(text);
  filterLine_->setVisible(!text.isEmpty());
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

void TSearchPage::SearchTitleFilterToggled(bool on) {
  searchFilterTree_->setEnabled(on);
  if (!on) return;
  emit FilterTreeWanted();
  searchFilterTree_->setFocus();
}

void TSearchPage::SearchDateFilterToggled(bool on) {
  searchDateFilterFrom_->setEnabled(on);
  searchDateFilterTo_->setEnabled(on);
  if (on) searchDateFilterFrom_->setFocus();
}

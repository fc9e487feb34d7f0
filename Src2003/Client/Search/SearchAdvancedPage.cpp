#include "SearchAdvancedPage.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "FilterTree.h"
#include "QtText.h"

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

TSearchAdvancedPage::TSearchAdvancedPage(QWidget* parent) : QWidget(parent) {
  setObjectName("SearchAdvancedTabSheet");
  setWindowTitle(QStringLiteral("Avançado"));

  searchFilterTreeChk_ = new QCheckBox(QStringLiteral("Filtrar por Títulos:"), this);
  searchFilterTreeChk_->setObjectName("SearchFilterTreeChk");
  searchFilterTree_ = new TFilterTree(this);
  searchFilterTree_->setObjectName("SearchFilterTree");
  searchFilterTree_->setEnabled(false);
  connect(searchFilterTreeChk_, &QCheckBox::toggled, this, &TSearchAdvancedPage::SearchTitleFilterToggled);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CreateMorePhraseRow());
  layout->addWidget(CreateWhereGroup());
  layout->addWidget(CreateDateRow());
  layout->addWidget(searchFilterTreeChk_);
  layout->addWidget(searchFilterTree_, 1);
  // The title filter is made first but read last: Tab follows the page downwards.
  setTabOrder(searchDateFilterTo_, searchFilterTreeChk_);
  setTabOrder(searchFilterTreeChk_, searchFilterTree_);
  WatchFilters();
}

void TSearchAdvancedPage::WatchFilters() {
  const auto changed = [this] { emit FiltersChanged(); };
  connect(searchDateFilterChk_, &QCheckBox::toggled, this, changed);
  connect(searchDateFilterFrom_, &QDateEdit::dateChanged, this, changed);
  connect(searchDateFilterTo_, &QDateEdit::dateChanged, this, changed);
  connect(searchFilterTreeChk_, &QCheckBox::toggled, this, changed);
  connect(searchFilterTree_, &TFilterTree::TicksChanged, this, changed);
  for (QRadioButton* where : {whereContentRadio_, whereTitlesRadio_, whereBothRadio_}) {
    connect(where, &QRadioButton::toggled, this, changed);
  }
}

QWidget* TSearchAdvancedPage::CreateDateRow() {
  auto* row = new QWidget(this);
  searchDateFilterChk_ = new QCheckBox(QStringLiteral("Filtrar por data:"), row);
  searchDateFilterChk_->setObjectName("SearchDateFilterChk");
  searchDateFilterFrom_ = NewDatePicker("SearchDateFilterFrom", row);
  searchDateFilterTo_ = NewDatePicker("SearchDateFilterTo", row);
  connect(searchDateFilterChk_, &QCheckBox::toggled, this, &TSearchAdvancedPage::SearchDateFilterToggled);
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

QWidget* TSearchAdvancedPage::CreateMorePhraseRow() {
  auto* row = new QWidget(this);
  searchMoreAndRadio_ = NewRadio("SearchMoreAndRadio", "E", row);
  searchMoreAndRadio_->setChecked(true);
  searchMoreOrRadio_ = NewRadio("SearchMoreOrRadio", "Ou", row);
  searchDocMoreText_ = new QLineEdit(row);
  searchDocMoreText_->setObjectName("SearchDocMoreText");
  connect(searchDocMoreText_, &QLineEdit::returnPressed, this, &TSearchAdvancedPage::MorePhraseEntered);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(searchMoreAndRadio_);
  layout->addWidget(searchMoreOrRadio_);
  layout->addWidget(searchDocMoreText_, 1);
  return row;
}

QGroupBox* TSearchAdvancedPage::CreateWhereGroup() {
  searchWhereGroup_ = new QGroupBox(QStringLiteral(" Buscar em: "), this);
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

bool TSearchAdvancedPage::FilterByTitles() const { return searchFilterTreeChk_->isChecked(); }

void TSearchAdvancedPage::AddMorePhrase(TSearchQuery& query) const {
  query.MorePhrase = QStringToWin1252(searchDocMoreText_->text());
  query.Combination = searchMoreAndRadio_->isChecked() ? TPhraseCombination::And : TPhraseCombination::Or;
}

TSearchFilter TSearchAdvancedPage::Filter() const {
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

QString TSearchAdvancedPage::ActiveFiltersText() const {
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

bool TSearchAdvancedPage::TitleFilterEmpty() const {
  return FilterByTitles() && searchFilterTree_->ChosenBranches().isEmpty();
}

void TSearchAdvancedPage::ClearFilters() {
  searchDateFilterChk_->setChecked(false);
  searchFilterTreeChk_->setChecked(false);
  whereContentRadio_->setChecked(true);
}

void TSearchAdvancedPage::SearchTitleFilterToggled(bool on) {
  searchFilterTree_->setEnabled(on);
  if (!on) return;
  emit FilterTreeWanted();
  searchFilterTree_->setFocus();
}

void TSearchAdvancedPage::SearchDateFilterToggled(bool on) {
  searchDateFilterFrom_->setEnabled(on);
  searchDateFilterTo_->setEnabled(on);
  if (on) searchDateFilterFrom_->setFocus();
}

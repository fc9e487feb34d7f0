#include "TextSearchPanel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

namespace {

constexpr int kSearchEditWidth = 220;

}  // namespace

TTextSearchPanel::TTextSearchPanel(QAction& findNextAction, QAction& hideAction, QWidget* parent)
    : QFrame(parent) {
  setObjectName("TextSearchPanel");
  setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  // Its controls are clipped on a narrow page rather than widening the page,
  // which would take the width from the tree pane.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

  auto* label = new QLabel(QStringLiteral("Localizar:"), this);
  searchEdit_ = new QLineEdit(this);
  searchEdit_->setObjectName("TextSearchEdit");
  searchEdit_->setToolTip(QStringLiteral("Digite aqui a palavra procurada"));
  searchEdit_->setMinimumWidth(kSearchEditWidth);
  label->setBuddy(searchEdit_);
  connect(searchEdit_, &QLineEdit::returnPressed, &findNextAction, &QAction::trigger);

  wholeWordChk_ = new QCheckBox(QStringLiteral("Coincidir palavra &inteira"), this);
  wholeWordChk_->setObjectName("TextWholeWordChk");
  wholeWordChk_->setToolTip(QStringLiteral(
      "Indica que a busca deve retornar somente as palavras que coincidem inteiramente com o texto procurado, "
      "ignorando as palavras em que o texto representa somente uma parte delas."));
  matchCaseChk_ = new QCheckBox(QStringLiteral("&Diferenciar maiúsc./minúsc."), this);
  matchCaseChk_->setObjectName("TextMatchCaseChk");
  matchCaseChk_->setToolTip(
      QStringLiteral("Indica se a busca deve fazer distinção entre letras maiúsculas e minúsculas"));

  auto* direction = new QGroupBox(QStringLiteral("Direção"), this);
  direction->setObjectName("TextDirectionGroup");
  direction->setToolTip(QStringLiteral(
      "Indica se a busca deve ser feita para baixo a partir da posição atual do cursor, ou para cima."));
  upRadio_ = new QRadioButton(QStringLiteral("A&cima"), direction);
  upRadio_->setObjectName("TextDirectionUpRadio");
  downRadio_ = new QRadioButton(QStringLiteral("A&baixo"), direction);
  downRadio_->setObjectName("TextDirectionDownRadio");
  downRadio_->setChecked(true);
  auto* directionLayout = new QHBoxLayout(direction);
  directionLayout->addWidget(upRadio_);
  directionLayout->addWidget(downRadio_);

  auto* findNext = new QToolButton(this);
  findNext->setObjectName("TextFindNextButton");
  findNext->setDefaultAction(&findNextAction);
  findNext->setToolButtonStyle(Qt::ToolButtonTextOnly);
  auto* hide = new QToolButton(this);
  hide->setObjectName("TextHideSearchButton");
  hide->setDefaultAction(&hideAction);
  hide->setToolButtonStyle(Qt::ToolButtonTextOnly);

  auto* options = new QVBoxLayout;
  options->addWidget(wholeWordChk_);
  options->addWidget(matchCaseChk_);
  // The outcome line sits under the field, where it stays visible on a narrow page.
  status_ = new QLabel(this);
  status_->setObjectName("TextSearchStatus");
  auto* field = new QVBoxLayout;
  field->addWidget(searchEdit_);
  field->addWidget(status_);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(label);
  layout->addLayout(field);
  layout->addLayout(options);
  layout->addWidget(direction);
  layout->addWidget(findNext);
  layout->addWidget(hide);
  layout->addStretch(1);
  connect(searchEdit_, &QLineEdit::textChanged, status_, &QLabel::clear);
}

TFindOptions TTextSearchPanel::Options() const {
  return {searchEdit_->text(), wholeWordChk_->isChecked(), matchCaseChk_->isChecked(), upRadio_->isChecked()};
}

void TTextSearchPanel::ShowOutcome(const TFindOutcome& outcome) {
  status_->setText(FindOutcomeText(outcome, upRadio_->isChecked()));
}

QString TTextSearchPanel::StatusText() const { return status_->text(); }

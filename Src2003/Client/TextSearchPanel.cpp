#include "TextSearchPanel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

namespace {

constexpr int kSearchEditWidth = 220;

QTextDocument::FindFlags FlagsOf(const TFindOptions& options) {
  QTextDocument::FindFlags flags;
  if (options.WholeWord) flags |= QTextDocument::FindWholeWords;
  if (options.MatchCase) flags |= QTextDocument::FindCaseSensitively;
  if (options.Backwards) flags |= QTextDocument::FindBackward;
  return flags;
}

}  // namespace

bool FindInText(QTextEdit& edit, const TFindOptions& options) {
  if (options.Text.isEmpty()) return false;
  const QTextCursor selection = edit.textCursor();
  const bool onMatch = selection.selectedText().compare(options.Text, Qt::CaseInsensitive) == 0;
  const int start = selection.selectionStart();
  QTextCursor found;
  if (options.Backwards) {
    // Qt looks backwards for matches starting before `from`; a match must end
    // at or before the start, so it starts at most start - length.
    const int from = start - static_cast<int>(options.Text.size()) + 1;
    if (from > 0) found = edit.document()->find(options.Text, from, FlagsOf(options));
  } else {
    found = edit.document()->find(options.Text, start + (onMatch ? 1 : 0), FlagsOf(options));
  }
  if (found.isNull()) return false;
  edit.setTextCursor(found);
  edit.ensureCursorVisible();
  return true;
}

TTextSearchPanel::TTextSearchPanel(QAction& findNextAction, QAction& hideAction, QWidget* parent)
    : QFrame(parent) {
  setObjectName("TextSearchPanel");
  setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

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
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(searchEdit_);
  layout->addLayout(options);
  layout->addWidget(direction);
  layout->addWidget(findNext);
  layout->addWidget(hide);
  layout->addStretch(1);
}

TFindOptions TTextSearchPanel::Options() const {
  return {searchEdit_->text(), wholeWordChk_->isChecked(), matchCaseChk_->isChecked(), upRadio_->isChecked()};
}

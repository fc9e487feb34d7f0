#include "TextPage.h"

#include <QAction>
#include <QLineEdit>
#include <QVBoxLayout>

#include "Prompts.h"
#include "TextSearchPanel.h"
#include "TextView.h"

namespace {

constexpr int kTextFontPixels = 19;
constexpr char kTextNotFound[] = "Texto não encontrado";

}  // namespace

TTextPage::TTextPage(QAction& findNext, QAction& hide, QWidget* parent) : QWidget(parent) {
  setObjectName("TextTabSheet");
  textSearchPanel_ = new TTextSearchPanel(findNext, hide, this);
  textSearchPanel_->hide();
  addAction(&hide);  // Esc anywhere on the page
  textEdit_ = new TTextView(this);
  textEdit_->setObjectName("TextEdit");
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(kTextFontPixels);
  textEdit_->setFont(font);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(textSearchPanel_);
  layout->addWidget(textEdit_, 1);
}

bool TTextPage::FindPanelShown() const { return !textSearchPanel_->isHidden(); }

void TTextPage::ToggleFindPanel() {
  const bool show = textSearchPanel_->isHidden();
  textSearchPanel_->setVisible(show);
  if (show && textSearchPanel_->SearchEdit().isEnabled()) textSearchPanel_->SearchEdit().setFocus();
}

void TTextPage::HideFindPanel() { textSearchPanel_->hide(); }

void TTextPage::FindNext() {
  const TFindOutcome outcome = FindInText(*textEdit_, textSearchPanel_->Options());
  textSearchPanel_->ShowOutcome(outcome);
  if (!outcome.Found) Prompts().Inform(kTextNotFound);
}

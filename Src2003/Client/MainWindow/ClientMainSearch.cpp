// The main window's search: the commands of the search page and of the
// hits, and the left pane's "Pesquisa" tab.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>

#include "ClientMainUnit.h"
#include "ErrorDisplay.h"
#include "SearchPage.h"
#include "SearchSession.h"
#include "TOMONode.h"

namespace {

constexpr char kSearchTitle[] = " Pesquisa";
constexpr int kIndexTab = 0;
constexpr int kSearchTab = 1;

}  // namespace

void TfrmClientMain::ConnectSearch() {
  const TClientActions& a = actions_;
  TSearchSession& session = searchPage_->Session();
  connect(&session, &TSearchSession::ShowWanted, this, [this](TTOMONode* entry) { ShowNode(entry); });
  connect(searchPage_, &TSearchPage::ResultsChanged, this, &TfrmClientMain::UpdateActions);
  connect(treePageControl_, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == kSearchTab) {
      ShowSearchPage();
      searchPage_->FocusQuery();
    } else if (index == kIndexTab) {
      ShowTitleAndPage(currentNode_);
    }
    UpdateActions();
  });
  connect(a.SearchDocumentsAction, &QAction::triggered, this, [this] {
    if (treePageControl_->currentIndex() != kSearchTab) treePageControl_->setCurrentIndex(kSearchTab);
    ShowSearchPage();
    searchPage_->FocusQuery();
    UpdateActions();
  });
  connect(a.SearchDocumentsNowAction, &QAction::triggered, this, Guarded([this] { searchPage_->RunSearch(); }));
  connect(a.SearchNextWordAction, &QAction::triggered, this,
          Guarded([this, &session] { session.StepHit(currentNode_, true); }));
  connect(a.SearchPrevWordAction, &QAction::triggered, this,
          Guarded([this, &session] { session.StepHit(currentNode_, false); }));
  // Typing only decides whether "Procurar" may run: nothing heavier happens
  // per key.
  connect(&searchPage_->QueryEdit(), &QLineEdit::textChanged, this,
          [this] { EnableSearchCommands(actions_, *searchPage_, currentNode_); });
}

void TfrmClientMain::ShowSearchPage() {
  pageControl_->setCurrentWidget(searchPage_);
  titleLabel_->setText(QString::fromUtf8(kSearchTitle));
}

void EnableSearchCommands(const TClientActions& a, const TSearchPage& page, const TTOMONode* current) {
  a.SearchDocumentsAction->setEnabled(true);
  a.SearchDocumentsNowAction->setEnabled(!page.QueryEdit().text().trimmed().isEmpty());
  const bool hit = page.Session().IsHit(current);
  a.SearchNextWordAction->setEnabled(hit);
  a.SearchPrevWordAction->setEnabled(hit);
}

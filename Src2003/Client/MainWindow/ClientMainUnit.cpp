#include "ClientMainUnit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeView>

#include "ClientEvents.h"
#include "ConfigUnit.h"
#include "DocumentListModel.h"
#include "DocumentListView.h"
#include "ErrorDisplay.h"
#include "InstalledCollection.h"
#include "FilterTree.h"
#include "NavigationHistory.h"
#include "Operation.h"
#include "QtText.h"
#include "ResultListView.h"
#include "SearchPage.h"
#include "TOMOTree.h"
#include "TOMOTreeModel.h"
#include "TextSearchPanel.h"
#include "TextView.h"
#include "UpdateBaseUnit.h"
#include "WaitCursor.h"
#include "WindowPlacement.h"
#include "WordIndex.h"

namespace {

constexpr char kWindowCaption[] = "Pandecta";
constexpr int kDefaultWidth = 1100;
constexpr int kDefaultHeight = 720;

}  // namespace

TfrmClientMain::TfrmClientMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName("frmClientMain");
  setWindowTitle(QString::fromUtf8(kWindowCaption));
  resize(kDefaultWidth, kDefaultHeight);

  CreateActions();
  CreateMenus();
  CreateToolBars();
  CreateControls();
  history_ = new TNavigationHistory(
      *historyBackMenu_, *historyForwardMenu_, [this](int id) { return FindNode(id); },
      [this](TTOMONode* node) { ShowNode(node); }, this);
  collection_ = new TInstalledCollection([] { return Config().GetString(DataFolder); },
                                         [] { return WordIndex.get(); }, this);
  ConnectCollection();
  ConnectActions();
  ConnectSearch();
  connect(treeView_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            TTOMONode* node = treeModel_->NodeOf(current);
            if (node && node != currentNode_) ShowNode(node);
          });
  connect(listBox_, &TDocumentListView::NodeClicked, this, [this](TTOMONode* node) { ShowNode(node); });
  connect(textEdit_, &TTextView::LinkClicked, this, [this](int link) {
    try {
      TextEditLinkClick(link);
    } catch (...) {
      ShowCurrentError();
    }
  });
  RestoreWindowPlacement(*this, Config().Store());

  Config().SetProgramFolder(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString());
  try {
    LoadTree();
  } catch (...) {
    ShowCurrentError();
    UpdateActions();
    return;
  }
  treePageControl_->setVisible(Config().GetBoolean(ShowTree));
  ShowNode(Tree() ? Tree()->Root() : nullptr);
  UpdateActions();
}

TfrmClientMain::~TfrmClientMain() {
  // Controls going away move the focus and change texts; the window no
  // longer follows them.
  disconnect(qApp, nullptr, this, nullptr);
  // An update window still open goes with this window's children, and its
  // operation's kind change must not reach actions already gone.
  disconnect(&UpdateKindNotifier(), nullptr, this, nullptr);
  // Operation windows go with this window's children, after its actions:
  // their `destroyed` must not reach UpdateActions.
  for (TfrmUpdateBase* window : findChildren<TfrmUpdateBase*>()) disconnect(window, nullptr, this, nullptr);
  disconnect(textEdit_, nullptr, this, nullptr);
  for (QLineEdit* line : findChildren<QLineEdit*>()) disconnect(line, nullptr, this, nullptr);
  Config().SetBoolean(ShowTree, !treePageControl_->isHidden());
  // The views hold nodes of the tree: let go of them before the tree goes.
  DropSearchResults();
  listModel_->Clear();
  treeModel_->SetTree(nullptr);
}

TTOMOTree* TfrmClientMain::Tree() const { return collection_->Tree(); }

TTOMONode* TfrmClientMain::FindNode(int id) const { return Tree() ? Tree()->FindNode(id) : nullptr; }

void TfrmClientMain::LoadTree() {
  TWaitCursor wait;
  collection_->LoadTree();
}

void TfrmClientMain::SaveTreeIfChanged() {
  TWaitCursor wait;
  collection_->SaveTreeIfChanged();
}

void TfrmClientMain::ConnectCollection() {
  connect(collection_, &TInstalledCollection::TreeAboutToBeReplaced, this,
          &TfrmClientMain::CollectionTreeAboutToBeReplaced);
  connect(collection_, &TInstalledCollection::TreeReplaced, this, &TfrmClientMain::CollectionTreeReplaced);
  connect(collection_, &TInstalledCollection::TreeAboutToBeSaved, this, [this] { filterTreeCurrent_ = false; });
}

// The views hold nodes of the old tree: they let go of them before it goes.
// The search results hold only Ids and stay.
void TfrmClientMain::CollectionTreeAboutToBeReplaced() {
  reloadedId_ = currentNode_ ? currentNode_->Id() : 0;
  reloadPause_ = std::make_unique<THistoryPause>(*history_);
  RememberSearchViews();
  ShowNode(nullptr);
  ClearSearchViews();
  listModel_->Clear();
  treeModel_->SetTree(nullptr);
  searchPage_->FilterTree().SetTree(nullptr);
  links_.clear();
}

// The entry shown before comes back by its Id, if the new tree has it.
void TfrmClientMain::CollectionTreeReplaced() {
  const std::unique_ptr<THistoryPause> pause = std::move(reloadPause_);
  treeModel_->SetTree(Tree());
  searchPage_->FilterTree().SetTree(Tree());
  filterTreeCurrent_ = false;
  history_->Revalidate();
  // The results first, so that the entry shown again gets its hits marked.
  RestoreSearchViews();
  if (Tree()) ShowNode(Tree()->FindNode(reloadedId_));
  RestoreSearchPage();
}

void TfrmClientMain::ShowNode(TTOMONode* node) {
  if (node == currentNode_) return;
  StoreScrollPosition();
  TWaitCursor wait;
  currentNode_ = node;
  SelectTreeItem(node);
  ShowTitleAndPage(node);
  FillView(node);
  if (!history_->Navigating()) {
    history_->RecordHistory(node);
    history_->ClearForward();
  }
  // A search's entry opens on its first hit; any other text where it was left.
  MarkSearchHits(node);
  if (SearchItemOf(node) < 0) RestoreScrollPosition(node);
  UpdateActions();
}

void TfrmClientMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  QCoreApplication::postEvent(this, new TClientMessage(kStartupStageEvent, kFirstStartupStage));
}

void TfrmClientMain::RunStartupStage(int stage) {
  if (stage <= kLastFlushStage) QCoreApplication::processEvents();
  if (stage < kFinalStartupStage) {
    QCoreApplication::postEvent(this, new TClientMessage(kStartupStageEvent, stage + 1));
    return;
  }
  if (!startupPackage_.isEmpty()) emit StartupUpdateRequested(startupPackage_);
}

void TfrmClientMain::customEvent(QEvent* event) {
  auto* message = static_cast<TClientMessage*>(event);
  if (event->type() == kStartupStageEvent) {
    RunStartupStage(message->Value());
  } else if (event->type() == kResizeEvent) {
    // Only the last of a burst of resizes re-measures the rows.
    if (message->Value() == width()) {
      listBox_->doItemsLayout();
      searchPage_->ResultList().doItemsLayout();
    }
  } else {
    QMainWindow::customEvent(event);
  }
}

bool TfrmClientMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pageControl_ && event->type() == QEvent::Resize) {
    QCoreApplication::postEvent(this, new TClientMessage(kResizeEvent, width()));
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfrmClientMain::closeEvent(QCloseEvent* event) {
  if (!EndOperationsForQuit()) {
    event->ignore();
    return;
  }
  ShowNode(nullptr);  // keeps the text's scroll position
  SaveWindowPlacement(*this, Config().Store());
  event->accept();
}

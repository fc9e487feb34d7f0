#include "ClientMainUnit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeView>

#include "Base/TOMOTree.h"
#include "ClientEvents.h"
#include "Config/ConfigUnit.h"
#include "DocumentListModel.h"
#include "DocumentListView.h"
#include "ErrorDisplay.h"
#include "NavigationHistory.h"
#include "QtText.h"
#include "TOMOTreeModel.h"
#include "TextSearchPanel.h"
#include "TextView.h"
#include "WaitCursor.h"
#include "WindowPlacement.h"
#include "WordIndex/WordIndex.h"
#include "WordIndex/WordIndexLockWrite.h"

TfrmClientMain* frmClientMain = nullptr;

namespace {

constexpr char kWindowCaption[] = "Pandecta";
constexpr int kDefaultWidth = 1100;
constexpr int kDefaultHeight = 720;

}  // namespace

TfrmClientMain::TfrmClientMain(QWidget* parent) : QMainWindow(parent) {
  frmClientMain = this;
  setObjectName("frmClientMain");
  setWindowTitle(QString::fromUtf8(kWindowCaption));
  resize(kDefaultWidth, kDefaultHeight);

  CreateActions();
  CreateMenus();
  CreateToolBars();
  CreateControls();
  history_ = new TNavigationHistory(
      *historyBackMenu_, *historyForwardMenu_, [this](int id) { return tree_ ? tree_->FindNode(id) : nullptr; },
      [this](TTOMONode* node) { ShowNode(node); }, this);
  ConnectActions();
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
  ShowNode(tree_ ? tree_->Root() : nullptr);
  UpdateActions();
}

TfrmClientMain::~TfrmClientMain() {
  Config().SetBoolean(ShowTree, !treePageControl_->isHidden());
  // The views hold nodes of the tree: let go of them before the tree goes.
  listModel_->Clear();
  treeModel_->SetTree(nullptr);
  if (frmClientMain == this) frmClientMain = nullptr;
}

void TfrmClientMain::LoadTree() {
  const int rememberedId = currentNode_ ? currentNode_->Id() : 0;
  THistoryPause pause(*history_);
  ShowNode(nullptr);
  listModel_->Clear();
  treeModel_->SetTree(nullptr);
  tree_.reset();
  links_.clear();

  TWaitCursor wait;
  tree_ = std::make_unique<TTOMOTree>(Config().GetString(DataFolder));
  treeModel_->SetTree(tree_.get());
  filterTreeCurrent_ = false;
  history_->Revalidate();
  ShowNode(tree_->FindNode(rememberedId));
}

void TfrmClientMain::SaveTreeIfChanged() {
  if (!tree_ || !tree_->Modified()) return;
  TWaitCursor wait;
  filterTreeCurrent_ = false;
  tree_->SaveToFile(Config().GetString(DataFolder));
  try {
    // The titles are searchable words too; a busy or missing index must not
    // keep the tree from being saved.
    if (WordIndex) WordIndex->OpenUpdate()->IndexTitles(*tree_);
  } catch (...) {
  }
  tree_->SetModified(false);
}

void TfrmClientMain::ShowNode(TTOMONode* node) {
  if (node == currentNode_) return;
  StoreScrollPosition();
  TWaitCursor wait;
  currentNode_ = node;
  SelectTreeItem(node);
  titleLabel_->setText(node ? QStringLiteral(" ") + Win1252ToQString(node->Record().Title) : QStringLiteral("---"));
  FillView(node);
  if (!history_->Navigating()) {
    history_->RecordHistory(node);
    history_->ClearForward();
  }
  RestoreScrollPosition(node);
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
    if (message->Value() == width()) listBox_->doItemsLayout();
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
  ShowNode(nullptr);  // keeps the text's scroll position
  SaveWindowPlacement(*this, Config().Store());
  event->accept();
}

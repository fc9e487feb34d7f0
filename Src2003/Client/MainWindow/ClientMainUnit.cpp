#include "ClientMainUnit.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeView>

#include <utility>

#include "BitmapPage.h"
#include "ConfigUnit.h"
#include "DocumentListModel.h"
#include "DocumentListView.h"
#include "ErrorDisplay.h"
#include "InstalledCollection.h"
#include "NavigationHistory.h"
#include "SearchPage.h"
#include "ShownDocument.h"
#include "StartupStages.h"
#include "TOMOTree.h"
#include "TOMOTreeModel.h"
#include "TextPage.h"
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

  actions_ = CreateClientActions(*this);
  const THistoryMenus historyMenus = CreateClientMenus(*this, actions_);
  CreateClientToolBars(*this, actions_, historyMenus);
  CreateControls();
  history_ = new TNavigationHistory(
      *historyMenus.Back, *historyMenus.Forward,
      [this](int id) { return Tree() ? Tree()->FindNode(id) : nullptr; },
      [this](TTOMONode* node) { ShowNode(node); }, this);
  collection_ = new TInstalledCollection([] { return Config().GetString(DataFolder); },
                                         [] { return WordIndex.get(); }, this);
  startup_ = new TStartupStages(*this);
  ConnectCollection();
  ConnectCommands();
  ConnectSearch();
  ConnectViews();
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
  disconnect(&textPage_->View(), nullptr, this, nullptr);
  disconnect(&textPage_->View().Shown(), nullptr, this, nullptr);
  for (QLineEdit* line : findChildren<QLineEdit*>()) disconnect(line, nullptr, this, nullptr);
  Config().SetBoolean(ShowTree, !treePageControl_->isHidden());
  // The views hold nodes of the tree: let go of them before the tree goes.
  searchPage_->DropResults();
  listModel_->Clear();
  treeModel_->SetTree(nullptr);
}

TTOMOTree* TfrmClientMain::Tree() const { return collection_->Tree(); }

void TfrmClientMain::LoadTree() {
  TWaitCursor wait;
  collection_->LoadTree();
}

void TfrmClientMain::SaveTreeIfChanged() {
  TWaitCursor wait;
  collection_->SaveTreeIfChanged();
}

// The views hold nodes of the old tree: they let go of them before it goes,
// and the entry shown before comes back by its Id, if the new tree has it.
// The search results hold only Ids and stay.
void TfrmClientMain::ConnectCollection() {
  connect(collection_, &TInstalledCollection::TreeAboutToBeReplaced, this, [this] {
    reload_.Id = currentNode_ ? currentNode_->Id() : 0;
    reload_.Pause = std::make_unique<THistoryPause>(*history_);
    reload_.SearchPageShown = pageControl_->currentWidget() == searchPage_;
    searchPage_->LetGoOfTree();
    ShowNode(nullptr);
    listModel_->Clear();
    treeModel_->SetTree(nullptr);
    textPage_->View().Shown().Clear();
  });
  connect(collection_, &TInstalledCollection::TreeReplaced, this, [this] {
    const std::unique_ptr<THistoryPause> pause = std::move(reload_.Pause);
    treeModel_->SetTree(Tree());
    history_->Revalidate();
    // The results first, so that the entry shown again gets its hits marked.
    searchPage_->FollowNewTree();
    if (Tree()) ShowNode(Tree()->FindNode(reload_.Id));
    // Showing the entry again moved the right pane to it; the search page,
    // if it was on screen, comes back.
    if (std::exchange(reload_.SearchPageShown, false)) {
      ShowSearchPage();
      UpdateActions();
    }
  });
  connect(collection_, &TInstalledCollection::TreeAboutToBeSaved, searchPage_, &TSearchPage::MarkFilterTreeStale);
}

void TfrmClientMain::ConnectViews() {
  connect(treeView_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            TTOMONode* node = treeModel_->NodeOf(current);
            if (node && node != currentNode_) ShowNode(node);
          });
  connect(listBox_, &TDocumentListView::NodeClicked, this, [this](TTOMONode* node) { ShowNode(node); });
  TTextView& text = textPage_->View();
  text.Shown().SetCollection(collection_);
  text.Shown().SetStillShown([this](int id) { return currentNode_ && currentNode_->Id() == id && ShownText(); });
  connect(&text.Shown(), &TShownDocument::EntryWanted, this, [this](TTOMONode* entry) { ShowNode(entry); });
  bitmapPage_->SetCollection(collection_);
  // A document read teaches its entry date and size, which its icon shows.
  const auto refreshIcon = [this](TTOMONode* entry) { treeModel_->RefreshIcon(entry); };
  connect(&text.Shown(), &TShownDocument::Loaded, this, refreshIcon);
  connect(bitmapPage_, &TBitmapPage::Loaded, this, refreshIcon);
  // Copy and select-all follow the focused control and its selection.
  const auto updateEdit = [this] { EnableEditCommands(actions_, ShownText()); };
  connect(qApp, &QApplication::focusChanged, this, updateEdit);
  connect(&text, &QTextEdit::selectionChanged, this, updateEdit);
  connect(&text, &QTextEdit::textChanged, this, updateEdit);
  for (QLineEdit* line : findChildren<QLineEdit*>()) {
    connect(line, &QLineEdit::selectionChanged, this, updateEdit);
    connect(line, &QLineEdit::textChanged, this, updateEdit);
  }
}

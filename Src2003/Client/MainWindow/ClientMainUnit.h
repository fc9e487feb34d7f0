#pragma once

#include <memory>

#include <QMainWindow>

#include "ClientActions.h"

class QLabel;
class QStackedWidget;
class QTabWidget;
class QTreeView;
class QPrinter;
class TBitmapPage;
class TDocumentListModel;
class TDocumentListView;
class THistoryPause;
class TInstalledCollection;
class TNavigationHistory;
class TSearchPage;
class TStartupStages;
class TTextPage;
class TTextView;
class TTOMONode;
class TTOMOTree;
class TTOMOTreeModel;

// The program's one top-level window: the document tree on the left, the
// shown entry on the right (a folder's list, a text, a bitmap or the search
// page), a menu and a tool bar whose commands are the actions of
// TClientActions. The pages do their own work — the reader view keeps the
// shown document, the search page its search session — and the window wires
// them to the tree, the history and the commands.
class TfrmClientMain : public QMainWindow {
  Q_OBJECT

 public:
  // Creates the window (FormCreate): records the program folder, loads the
  // tree, shows or hides the left pane and shows the root's list. Errors of
  // loading the tree are reported and leave a window without tree.
  explicit TfrmClientMain(QWidget* parent = nullptr);
  ~TfrmClientMain() override;

  // The installed collection the window shows: operations change it there,
  // and the window follows its notices.
  TInstalledCollection& Collection() const { return *collection_; }
  // (Re)loads the document tree from the data folder; the shown entry, the
  // history and the links follow it by Id.
  void LoadTree();
  // Writes the tree when it changed and re-indexes the titles.
  void SaveTreeIfChanged();
  // Makes the node current and shows it (none: an empty list titled "---").
  void ShowNode(TTOMONode* node);

  TTOMONode* CurrentNode() const { return currentNode_; }
  TTOMOTree* Tree() const;
  const TClientActions& Actions() const { return actions_; }
  TNavigationHistory& History() const { return *history_; }
  // The staged start-up after the first show, with the package named on
  // the command line.
  TStartupStages& Startup() const { return *startup_; }
  // Prints the shown text or bitmap on a printer set up by the caller.
  void PrintCurrent(QPrinter& printer);
  // Re-enables the commands after the state changed.
  void UpdateActions();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // While the collection replaces its tree: the entry to show again, no
  // history for what is shown meanwhile, and whether the search page was on
  // screen.
  struct TReload {
    int Id = 0;
    std::unique_ptr<THistoryPause> Pause;
    bool SearchPageShown = false;
  };

  // Following the installed collection (ClientMainUnit.cpp).
  void ConnectCollection();
  void ConnectViews();
  // Layout (ClientMainLayout.cpp).
  void CreateControls();
  QWidget* CreateRightPane();
  // Commands (ClientMainCommands.cpp).
  void ConnectCommands();
  // Views (ClientMainViews.cpp).
  void ShowTitleAndPage(const TTOMONode* node);
  void FillView(TTOMONode* node);
  // The reader view while the text page is on screen, nullptr otherwise.
  TTextView* ShownText() const;
  // Search (ClientMainSearch.cpp).
  void ConnectSearch();
  void ShowSearchPage();

  TClientActions actions_;
  QTabWidget* treePageControl_ = nullptr;
  QTreeView* treeView_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QStackedWidget* pageControl_ = nullptr;
  TDocumentListView* listBox_ = nullptr;
  TTextPage* textPage_ = nullptr;
  TBitmapPage* bitmapPage_ = nullptr;
  TSearchPage* searchPage_ = nullptr;
  TTOMOTreeModel* treeModel_ = nullptr;
  TDocumentListModel* listModel_ = nullptr;
  TInstalledCollection* collection_ = nullptr;
  TNavigationHistory* history_ = nullptr;
  TStartupStages* startup_ = nullptr;
  TTOMONode* currentNode_ = nullptr;
  TReload reload_;
};

// The update commands, and the update of a package the start-up asks for
// (ClientMainUpdate.cpp).
void ConnectUpdateCommands(TfrmClientMain& window);

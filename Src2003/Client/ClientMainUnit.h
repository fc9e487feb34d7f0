#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include <QImage>
#include <QMainWindow>

#include "ClientActions.h"
#include "SearchResultList.h"
#include "TOMOHyperlink.h"

class QLabel;
class QMenu;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QToolBar;
class QTreeView;
class QScrollArea;
class QPrinter;
class TDocumentListModel;
class TResultListModel;
class TResultTreeModel;
class TSearchPage;
class TSearchResultList;
class TInstalledCollection;
class TDocumentListView;
class THelpHint;
class THistoryPause;
class TNavigationHistory;
class TTextSearchPanel;
class TTextView;
class TTOMONode;
class TTOMOTree;
class TTOMOTreeModel;
enum class TUpdateKind : int;

// The program's one top-level window: the document tree on the left, the
// shown entry on the right (a folder's list, a text, a bitmap or the search
// page), a menu and a tool bar whose commands are the actions of
// TClientActions.
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
  const std::vector<TTOMOHyperlinkRecord>& Links() const { return links_; }
  const std::vector<int>& LineStarts() const { return lineStarts_; }
  TNavigationHistory& History() const { return *history_; }
  // The link click of the text view.
  void TextEditLinkClick(int linkNumber);
  // Prints the shown text or bitmap on a printer set up by the caller.
  void PrintCurrent(QPrinter& printer);
  // Re-enables the commands after the state changed.
  void UpdateActions();
  // Shows a search's results (the previous ones are dropped): filtered by
  // the search page's settings, as the result tree and the result list.
  void SetSearchResults(TSearchResultList results);
  // The results shown, or nullptr before the first search.
  const TSearchResultList* SearchResults() const { return searchResults_.get(); }
  // The program was started with an update package to apply.
  void SetStartupPackage(const QString& path) { startupPackage_ = path; }

 signals:
  // Stage 12 of the start-up with a package named on the command line.
  void StartupUpdateRequested(const QString& packagePath);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void customEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Following the installed collection.
  void ConnectCollection();
  void CollectionTreeAboutToBeReplaced();
  void CollectionTreeReplaced();
  TTOMONode* FindNode(int id) const;
  // Layout (ClientMainLayout.cpp).
  void CreateControls();
  QWidget* CreateLeftPane();
  QWidget* CreateRightPane();
  QWidget* CreateTextPage();
  QWidget* CreateBitmapPage();
  QWidget* CreateSearchPage();
  // Commands (ClientMainActions.cpp).
  void CreateActions();
  void CreateMenus();
  void CreateToolBars();
  void ConnectActions();
  // Draws texts at `percent` of their size from now on, and remembers it.
  void SetTextZoom(int percent);
  // The update window in `kind` (TUpdateOperation's kinds); kind 4 applies
  // the package named by `packageArgument`.
  void StartUpdate(TUpdateKind kind, const QString& packageArgument = {});
  void ConnectUpdateActions();
  // Before the program ends: an operation still running is cancelled if the
  // user agrees ("Sim"), and its window goes out of sight. False: the user
  // chose to stay ("Não").
  bool EndOperationsForQuit();
  // Views (ClientMainViews.cpp).
  void FillView(TTOMONode* node);
  void FillDocumentList();
  void ShowTextDocument(TTOMONode& node);
  void ShowBitmapDocument(TTOMONode& node);
  void ShowDocumentError(TTOMONode& node);
  // Saves the tree after a document taught it its date and size; a failure
  // is reported, and the document stays shown.
  void SaveLearnedFacts();
  void ClearText();
  void StoreScrollPosition();
  void RestoreScrollPosition(const TTOMONode* node);
  void SelectTreeItem(const TTOMONode* node);
  bool TextPageShown() const;
  bool BitmapPageShown() const;
  // Commands (ClientMainCommands.cpp).
  void PrintActionExecute();
  void SearchInCurrentDocActionExecute();
  void TextFindNextActionExecute();
  void TextHideSearchActionExecute();
  void BrowseUpActionExecute();
  void ShowTreeActionExecute();
  void HelpActionExecute();
  void HomePageActionExecute();
  void ClearIndexActionExecute();
  void CreateIndexActionExecute();
  void RemoveDocumentsActionExecute();
  void ConfigActionExecute();
  void AboutActionExecute();
  void EditCopyActionExecute();
  void EditSelectAllActionExecute();
  void RunStartupStage(int stage);
  // Search (ClientMainSearch.cpp).
  void ConnectSearch();
  void SearchDocumentsActionExecute();
  void SearchDocumentsNowActionExecute();
  void SearchWordActionExecute(bool forward);
  void TreePageControlChange(int index);
  void ShowTitleAndPage(const TTOMONode* node);
  void FillFilterTree();
  void RebuildSearchViews();
  void DropSearchResults();
  // Across a reload of the tree: the result views let go of the old nodes
  // but the results stay, and the views come back on the new tree with the
  // same rows, chosen rows and page, by entry Id.
  void ClearSearchViews();
  void RememberSearchViews();
  void RestoreSearchViews();
  void RestoreSearchPage();
  void SearchTreeViewChange(const QModelIndex& current);
  void SearchListClick(int row);
  void SearchListOpen(int row);
  void FollowSearchItem(int item);
  // The result tree item of a node, -1 when it has none.
  int SearchItemOf(const TTOMONode* node) const;
  bool IsSearchHit(const TTOMONode* node) const;
  // Marks the hits of the shown node's result and selects the first.
  void MarkSearchHits(const TTOMONode* node);
  void UpdateSearchActions();
  void UpdateEditActions();

  TClientActions actions_;
  // Controls.
  QToolBar* toolBar_ = nullptr;
  QMenu* historyBackMenu_ = nullptr;
  QMenu* historyForwardMenu_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QTabWidget* treePageControl_ = nullptr;
  QTreeView* treeView_ = nullptr;
  QTreeView* searchTreeView_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QStackedWidget* pageControl_ = nullptr;
  QWidget* listBoxTabSheet_ = nullptr;
  QWidget* textTabSheet_ = nullptr;
  QWidget* bitmapTabSheet_ = nullptr;
  TSearchPage* searchPage_ = nullptr;
  TDocumentListView* listBox_ = nullptr;
  TTextSearchPanel* textSearchPanel_ = nullptr;
  TTextView* textEdit_ = nullptr;
  QScrollArea* bitmapScrollBox_ = nullptr;
  QLabel* bitmapImage_ = nullptr;
  QLabel* bitmapDefaultImage_ = nullptr;
  QLabel* helpLabel_ = nullptr;
  THelpHint* helpHint_ = nullptr;

  // State.
  TInstalledCollection* collection_ = nullptr;
  // While the collection replaces its tree: the entry to show again, and no
  // history for what is shown meanwhile.
  int reloadedId_ = 0;
  std::unique_ptr<THistoryPause> reloadPause_;
  // The search views as they were before the reload, by entry Id (-1: none).
  struct TSearchViewMark {
    bool PageShown = false;
    int TopRow = -1;
    int TopId = -1;
    int ListChosenId = -1;
    int TreeChosenId = -1;
  };
  TSearchViewMark reloadSearchMark_;
  TTOMOTreeModel* treeModel_ = nullptr;
  TResultTreeModel* resultTreeModel_ = nullptr;
  TResultListModel* resultListModel_ = nullptr;
  std::unique_ptr<TSearchResultList> searchResults_;
  // Set while the window itself moves the result tree's selection, which
  // then shows nothing.
  bool selectingSearchItem_ = false;
  TDocumentListModel* listModel_ = nullptr;
  TNavigationHistory* history_ = nullptr;
  TTOMONode* currentNode_ = nullptr;
  std::vector<TTOMOHyperlinkRecord> links_;
  std::vector<int> lineStarts_;
  // Text scroll position by entry Id, in 1/65536 of the range.
  std::unordered_map<int, int> scrollById_;
  QImage bitmap_;
  bool shownOnce_ = false;
  bool filterTreeCurrent_ = false;
  QString startupPackage_;
};

#pragma once

class QAction;
class QMainWindow;
class QMenu;
class QTextEdit;
class TSearchPage;
class TTOMONode;

// The main window's commands. Every command of the window runs through one
// of these actions; each carries its name as objectName.
struct TClientActions {
  QAction* UpdateInternetAction = nullptr;
  QAction* UpdateLocalFileAction = nullptr;
  QAction* UpdateFloppyAction = nullptr;
  QAction* PrintAction = nullptr;
  QAction* CreateIndexAction = nullptr;
  QAction* ClearIndexAction = nullptr;
  QAction* RemoveDocumentsAction = nullptr;
  QAction* ConfigAction = nullptr;
  QAction* ExitAction = nullptr;
  QAction* EditCopyAction = nullptr;
  QAction* EditSelectAllAction = nullptr;
  QAction* SearchDocumentsAction = nullptr;
  QAction* SearchInCurrentDocAction = nullptr;
  QAction* SearchNextWordAction = nullptr;
  QAction* SearchPrevWordAction = nullptr;
  QAction* TextFindNextAction = nullptr;
  QAction* TextHideSearchAction = nullptr;
  QAction* BrowseBackAction = nullptr;
  QAction* BrowseForwardAction = nullptr;
  QAction* BrowseUpAction = nullptr;
  QAction* ShowTreeAction = nullptr;
  QAction* SearchDocumentsNowAction = nullptr;
  QAction* HelpAction = nullptr;
  QAction* AboutAction = nullptr;
  QAction* HomePageAction = nullptr;
  // The text view's zoom: larger, smaller and the natural size.
  QAction* ZoomInAction = nullptr;
  QAction* ZoomOutAction = nullptr;
  QAction* ZoomResetAction = nullptr;
};

// The publisher's web site, its help page, and the help file beside the program.
inline constexpr char kHomePageAddress[] = "http://www.pandecta.example/";
inline constexpr char kHelpPageAddress[] = "http://www.pandecta.example/ajuda";
inline constexpr char kHelpFile[] = "ajuda/index.html";

// The history menus "Voltar" and "Avançar" of the menu "&Procurar", which
// the tool bar's back and forward buttons drop down too.
struct THistoryMenus {
  QMenu* Back = nullptr;
  QMenu* Forward = nullptr;
};

// The window's actions, its menus and its tool bars (ClientMainActions.cpp).
TClientActions CreateClientActions(QMainWindow& window);
THistoryMenus CreateClientMenus(QMainWindow& window, const TClientActions& actions);
void CreateClientToolBars(QMainWindow& window, const TClientActions& actions, const THistoryMenus& history);
// Copy and select-all follow the focused text control, else the text shown
// (nullptr: none).
void EnableEditCommands(const TClientActions& actions, QTextEdit* shownText);
// "Procurar" while the query is not empty; the hit commands while the
// current entry is a hit (ClientMainSearch.cpp).
void EnableSearchCommands(const TClientActions& actions, const TSearchPage& page, const TTOMONode* current);

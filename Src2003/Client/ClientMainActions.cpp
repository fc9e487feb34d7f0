// The main window's commands: actions, menus, tool bars and their enabling.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTextEdit>
#include <QLabel>
#include <QMenuBar>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "ClientIcons.h"
#include "ClientMainUnit.h"
#include "ErrorDisplay.h"
#include "HelpHint.h"
#include "NavigationHistory.h"
#include "TOMONode.h"
#include "TextSearchPanel.h"
#include "IndexBuildUnit.h"
#include "MenuMnemonics.h"
#include "MouseNavigation.h"
#include "UpdateBaseUnit.h"
#include "TextView.h"
#include "TextZoom.h"
#include "ConfigUnit.h"

namespace {

constexpr int kHelpLabelFontPixels = 16;
constexpr int kUpdateInternetTag = 1;
constexpr int kUpdateLocalFileTag = 2;
constexpr int kUpdateFloppyTag = 3;
constexpr int kSearchPrevWordTag = 1;

// An update command is open while no update runs, or while an update of its
// own kind runs (the command then brings that window up).
bool UpdateCommandAvailable(const QAction& action) {
  const TUpdateKind running = TfrmUpdateBase::UpdateKind();
  return running == TUpdateKind::None || static_cast<int>(running) == action.data().toInt();
}

struct TActionText {
  const char* name;
  const char* caption;
  const char* hint;
};

// Runs a command; a failure goes to the standard error box and the window
// stays usable.
template <class TCommand>
auto Guarded(TCommand command) {
  return [command] {
    try {
      command();
    } catch (...) {
      ShowCurrentError();
    }
  };
}

}  // namespace

void TfrmClientMain::CreateActions() {
  auto make = [this](const TActionText& text, TClientIcon icon = TClientIcon::Document, bool withIcon = false) {
    auto* action = new QAction(QString::fromUtf8(text.caption), this);
    action->setObjectName(text.name);
    if (text.hint) {
      action->setToolTip(QString::fromUtf8(text.hint));
      action->setStatusTip(QString::fromUtf8(text.hint));
    }
    if (withIcon) action->setIcon(ClientIcon(icon));
    return action;
  };
  TClientActions& a = actions_;
  a.UpdateInternetAction = make({"UpdateInternetAction", "Atualizar via Internet...", nullptr});
  a.UpdateInternetAction->setData(kUpdateInternetTag);
  a.UpdateLocalFileAction = make({"UpdateLocalFileAction", "Atualizar via Arquivo Local...", nullptr});
  a.UpdateLocalFileAction->setData(kUpdateLocalFileTag);
  a.UpdateFloppyAction = make({"UpdateFloppyAction", "Atualizar via Disquete...", nullptr});
  a.UpdateFloppyAction->setData(kUpdateFloppyTag);
  a.PrintAction = make({"PrintAction", "Imprimir...", "Imprime o documento atualmente selecionado"},
                       TClientIcon::Print, true);
  a.CreateIndexAction = make({"CreateIndexAction", "Gerar Índice de Palavras...", nullptr});
  a.ClearIndexAction = make({"ClearIndexAction", "Limpar Índice de Palavras", nullptr});
  a.RemoveDocumentsAction = make({"RemoveDocumentsAction", "Atualizar lista de documentos", nullptr});
  a.ConfigAction = make({"ConfigAction", "Configurações...", nullptr});
  a.ExitAction = make({"ExitAction", "Sair", nullptr});
  a.ExitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  a.EditCopyAction = make({"EditCopyAction", "&Copiar", "Copiar texto para a área de transferência do Windows"},
                          TClientIcon::Copy, true);
  a.EditCopyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  a.EditSelectAllAction = make({"EditSelectAllAction", "Selecionar &Tudo", nullptr});
  a.EditSelectAllAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  a.SearchDocumentsAction = make({"SearchDocumentsAction", "Nova pesquisa >>", "Procurar Documentos"},
                                 TClientIcon::SearchDocuments, true);
  a.SearchInCurrentDocAction =
      make({"SearchInCurrentDocAction", "Procurar texto no documento atual...", nullptr}, TClientIcon::FindInText, true);
  a.SearchInCurrentDocAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  a.SearchInCurrentDocAction->setCheckable(true);
  a.SearchNextWordAction =
      make({"SearchNextWordAction", "Procurar próxima ocorrência", nullptr}, TClientIcon::NextHit, true);
  a.SearchPrevWordAction =
      make({"SearchPrevWordAction", "Procurar ocorrência anterior", nullptr}, TClientIcon::PreviousHit, true);
  a.SearchPrevWordAction->setData(kSearchPrevWordTag);
  a.TextFindNextAction = make({"TextFindNextAction", "Localizar próxima", nullptr});
  a.TextHideSearchAction = make({"TextHideSearchAction", "Ocultar", nullptr});
  // Esc hides the find panel while the focus is on the text page; the page
  // takes the action when it is built.
  a.TextHideSearchAction->setShortcut(QKeySequence(Qt::Key_Escape));
  a.TextHideSearchAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  a.BrowseBackAction = make({"BrowseBackAction", "Voltar", nullptr}, TClientIcon::Back, true);
  a.BrowseForwardAction = make({"BrowseForwardAction", "Avançar", nullptr}, TClientIcon::Forward, true);
  a.BrowseBackAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
  a.BrowseForwardAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
  a.BrowseUpAction = make({"BrowseUpAction", "Nível Acima", nullptr}, TClientIcon::Up, true);
  a.ShowTreeAction = make({"ShowTreeAction", "Exibir pastas", nullptr}, TClientIcon::ShowTree, true);
  a.ShowTreeAction->setCheckable(true);
  a.SearchDocumentsNowAction = make({"SearchDocumentsNowAction", "Procurar", nullptr});
  a.HelpAction = make({"HelpAction", "Ajuda...", nullptr}, TClientIcon::Help, true);
  a.AboutAction = make({"AboutAction", "Sobre...", nullptr});
  a.HomePageAction = make({"HomePageAction", kHomePageAddress, nullptr});
  a.ZoomInAction = make({"ZoomInAction", "Aumentar texto", nullptr});
  a.ZoomInAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)});
  a.ZoomOutAction = make({"ZoomOutAction", "Diminuir texto", nullptr});
  a.ZoomOutAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  a.ZoomResetAction = make({"ZoomResetAction", "Tamanho normal do texto", nullptr});
  a.ZoomResetAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  for (QAction* action : {a.EditCopyAction, a.EditSelectAllAction, a.SearchInCurrentDocAction, a.BrowseBackAction,
                          a.BrowseForwardAction, a.ExitAction, a.ZoomInAction, a.ZoomOutAction, a.ZoomResetAction}) {
    addAction(action);
  }
}

void TfrmClientMain::CreateMenus() {
  TClientActions& a = actions_;
  QMenu* file = menuBar()->addMenu(QStringLiteral("&Arquivo"));
  file->setObjectName("FileMenu");
  file->addActions({a.UpdateInternetAction, a.UpdateLocalFileAction, a.UpdateFloppyAction});
  file->addSeparator();
  file->addAction(a.PrintAction);
  file->addSeparator();
  QMenu* maintenance = file->addMenu(QStringLiteral("Manutenção"));
  maintenance->setObjectName("MaintenanceMenu");
  maintenance->addActions({a.CreateIndexAction, a.ClearIndexAction, a.RemoveDocumentsAction});
  file->addAction(a.ConfigAction);
  file->addSeparator();
  file->addAction(a.ExitAction);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Editar"));
  edit->setObjectName("EditMenu");
  edit->addActions({a.EditCopyAction, a.EditSelectAllAction});

  QMenu* view = menuBar()->addMenu(QStringLiteral("Exibir"));
  view->setObjectName("ViewMenu");
  view->addActions({a.ZoomInAction, a.ZoomOutAction, a.ZoomResetAction});

  QMenu* search = menuBar()->addMenu(QStringLiteral("&Procurar"));
  search->setObjectName("SearchMenu");
  search->addAction(a.SearchDocumentsAction);
  search->addSeparator();
  search->addActions({a.SearchInCurrentDocAction, a.SearchPrevWordAction, a.SearchNextWordAction});
  search->addSeparator();
  historyBackMenu_ = search->addMenu(ClientIcon(TClientIcon::Back), QStringLiteral("Voltar"));
  historyBackMenu_->setObjectName("HistoryBackMenu");
  historyForwardMenu_ = search->addMenu(ClientIcon(TClientIcon::Forward), QStringLiteral("Avançar"));
  historyForwardMenu_->setObjectName("HistoryForwardMenu");
  search->addSeparator();

  QMenu* help = menuBar()->addMenu(QStringLiteral("A&juda"));
  help->setObjectName("HelpMenu");
  help->addAction(a.HelpAction);
  help->addSeparator();
  help->addAction(a.AboutAction);
  help->addSeparator();
  help->addAction(a.HomePageAction);

  // The history menus hold document titles, which carry no letters of their own.
  for (QMenu* menu : {file, maintenance, edit, view, search, help}) AssignMnemonics(*menu);
  AssignMnemonics(*menuBar());
}

void TfrmClientMain::CreateToolBars() {
  TClientActions& a = actions_;
  toolBar_ = addToolBar(QStringLiteral("Ferramentas"));
  toolBar_->setObjectName("ToolBar");
  toolBar_->setMovable(false);
  toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  auto button = [this](QAction* action, const char* name) {
    toolBar_->addAction(action);
    auto* widget = qobject_cast<QToolButton*>(toolBar_->widgetForAction(action));
    widget->setObjectName(name);
    widget->setAutoRaise(true);
    return widget;
  };
  button(a.ShowTreeAction, "ShowTreeToolButton");
  toolBar_->addSeparator();
  for (auto [action, menu, name] : {std::tuple{a.BrowseBackAction, historyBackMenu_, "BrowseBackToolButton"},
                                    std::tuple{a.BrowseForwardAction, historyForwardMenu_, "BrowseFrwdToolButton"}}) {
    QToolButton* widget = button(action, name);
    widget->setMenu(menu);
    widget->setPopupMode(QToolButton::MenuButtonPopup);
    widget->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  }
  button(a.BrowseUpAction, "BrowseUpToolButton");
  toolBar_->addSeparator();
  button(a.SearchDocumentsAction, "SearchDocumentsToolButton");
  button(a.SearchInCurrentDocAction, "SearchWordToolButton");
  button(a.SearchNextWordAction, "SearchNextWordToolButton");
  button(a.SearchPrevWordAction, "SearchPrevWordToolButton");
  toolBar_->addSeparator();
  button(a.PrintAction, "PrintDocumentToolButton");
  button(a.EditCopyAction, "EditCopyToolButton");
  toolBar_->addSeparator();

  addToolBarBreak();
  QToolBar* helpBar = addToolBar(QStringLiteral("Ajuda"));
  helpBar->setObjectName("HelpToolBar");
  helpBar->setMovable(false);
  helpBar->addAction(a.HelpAction);
  helpBar->widgetForAction(a.HelpAction)->setObjectName("HelpButton");
  helpLabel_ = new QLabel(helpBar);
  helpLabel_->setObjectName("HelpLabel");
  QFont bold = helpLabel_->font();
  bold.setBold(true);
  bold.setPixelSize(kHelpLabelFontPixels);
  helpLabel_->setFont(bold);
  helpBar->addWidget(helpLabel_);
  helpHint_ = new THelpHint(*helpLabel_);
}

void TfrmClientMain::ConnectActions() {
  TClientActions& a = actions_;
  auto on = [this](QAction* action, auto command) { connect(action, &QAction::triggered, this, Guarded(command)); };
  on(a.PrintAction, [this] { PrintActionExecute(); });
  on(a.ClearIndexAction, [this] { ClearIndexActionExecute(); });
  on(a.CreateIndexAction, [this] { CreateIndexActionExecute(); });
  on(a.RemoveDocumentsAction, [this] { RemoveDocumentsActionExecute(); });
  on(a.ConfigAction, [this] { ConfigActionExecute(); });
  on(a.AboutAction, [this] { AboutActionExecute(); });
  on(a.ExitAction, [this] { close(); });
  on(a.EditCopyAction, [this] { EditCopyActionExecute(); });
  on(a.EditSelectAllAction, [this] { EditSelectAllActionExecute(); });
  on(a.SearchInCurrentDocAction, [this] { SearchInCurrentDocActionExecute(); });
  on(a.TextFindNextAction, [this] { TextFindNextActionExecute(); });
  on(a.TextHideSearchAction, [this] { TextHideSearchActionExecute(); });
  on(a.BrowseBackAction, [this] { history_->BrowseBack(); });
  on(a.BrowseForwardAction, [this] { history_->BrowseForward(); });
  connect(history_, &TNavigationHistory::Changed, this, &TfrmClientMain::UpdateActions);
  new TMouseNavigation(*this, *a.BrowseBackAction, *a.BrowseForwardAction);
  on(a.BrowseUpAction, [this] { BrowseUpActionExecute(); });
  on(a.ShowTreeAction, [this] { ShowTreeActionExecute(); });
  on(a.HelpAction, [this] { HelpActionExecute(); });
  on(a.HomePageAction, [this] { HomePageActionExecute(); });
  on(a.ZoomInAction, [this] { SetTextZoom(ZoomInStep(textEdit_->ZoomPercent())); });
  on(a.ZoomOutAction, [this] { SetTextZoom(ZoomOutStep(textEdit_->ZoomPercent())); });
  on(a.ZoomResetAction, [this] { SetTextZoom(kNaturalZoomPercent); });
  connect(textEdit_, &TTextView::ZoomWheel, this, [this](bool larger) {
    (larger ? actions_.ZoomInAction : actions_.ZoomOutAction)->trigger();
  });
  textEdit_->SetZoomPercent(ReadTextZoom(Config().Store()));
  connect(&UpdateKindNotifier(), &TUpdateKindNotifier::UpdateKindChanged, this, &TfrmClientMain::UpdateActions);
  ConnectUpdateActions();
  on(a.SearchDocumentsAction, [this] { SearchDocumentsActionExecute(); });
  on(a.SearchDocumentsNowAction, [this] { SearchDocumentsNowActionExecute(); });
  on(a.SearchNextWordAction, [this] { SearchWordActionExecute(true); });
  on(a.SearchPrevWordAction, [this] { SearchWordActionExecute(false); });
  // Copy and select-all follow the focused control and its selection.
  connect(qApp, &QApplication::focusChanged, this, [this] { UpdateEditActions(); });
  connect(textEdit_, &QTextEdit::selectionChanged, this, [this] { UpdateEditActions(); });
  connect(textEdit_, &QTextEdit::textChanged, this, [this] { UpdateEditActions(); });
  for (QLineEdit* line : findChildren<QLineEdit*>()) {
    connect(line, &QLineEdit::selectionChanged, this, [this] { UpdateEditActions(); });
    connect(line, &QLineEdit::textChanged, this, [this] { UpdateEditActions(); });
  }
}

void TfrmClientMain::UpdateActions() {
  TClientActions& a = actions_;
  // Commands whose windows belong to the search, index, update and settings
  // work stay disabled until those windows exist.
  for (QAction* update : {a.UpdateInternetAction, a.UpdateLocalFileAction, a.UpdateFloppyAction}) {
    update->setEnabled(UpdateCommandAvailable(*update));
  }
  // The settings stay closed while a window works with the folders they name.
  a.ConfigAction->setEnabled(!TfrmBuildIndex::Instance() && TfrmUpdateBase::UpdateKind() == TUpdateKind::None);
  const bool textShown = TextPageShown();
  a.PrintAction->setEnabled(textShown || BitmapPageShown());
  a.SearchInCurrentDocAction->setEnabled(textShown);
  a.SearchInCurrentDocAction->setChecked(!textSearchPanel_->isHidden());
  a.TextFindNextAction->setEnabled(textShown);
  for (QAction* zoom : {a.ZoomInAction, a.ZoomOutAction, a.ZoomResetAction}) zoom->setEnabled(textShown);
  a.TextHideSearchAction->setEnabled(!textSearchPanel_->isHidden());
  a.BrowseUpAction->setEnabled(currentNode_ && currentNode_->Parent());
  a.BrowseBackAction->setEnabled(history_ && history_->CanBrowseBack());
  a.BrowseForwardAction->setEnabled(history_ && history_->CanBrowseForward());
  a.ShowTreeAction->setChecked(!treePageControl_->isHidden());
  UpdateSearchActions();
  UpdateEditActions();
}

void TfrmClientMain::SetTextZoom(int percent) {
  textEdit_->SetZoomPercent(percent);
  WriteTextZoom(Config().Store(), percent);
}

// The control that copy and select-all act on: the focused text control,
// else the text page when it is shown.
void TfrmClientMain::UpdateEditActions() {
  TClientActions& a = actions_;
  QWidget* focus = QApplication::focusWidget();
  bool canCopy = false;
  bool canSelectAll = false;
  if (auto* line = qobject_cast<QLineEdit*>(focus)) {
    canCopy = line->hasSelectedText() && line->echoMode() == QLineEdit::Normal;
    canSelectAll = !line->text().isEmpty();
  } else if (auto* edit = qobject_cast<QTextEdit*>(focus)) {
    canCopy = edit->textCursor().hasSelection();
    canSelectAll = !edit->document()->isEmpty();
  } else if (TextPageShown()) {
    canCopy = textEdit_->textCursor().hasSelection();
    canSelectAll = !textEdit_->document()->isEmpty();
  }
  a.EditCopyAction->setEnabled(canCopy);
  a.EditSelectAllAction->setEnabled(canSelectAll);
}

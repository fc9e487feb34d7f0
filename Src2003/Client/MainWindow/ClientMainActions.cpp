// The main window's commands: actions, menus, tool bars and their enabling.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTextEdit>
#include <QLabel>
#include <QMenuBar>
#include <QMainWindow>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>

#include "ClientIcons.h"
#include "ClientMainUnit.h"
#include "NavigationHistory.h"
#include "SearchPage.h"
#include "TextPage.h"
#include "TextView.h"
#include "BitmapPage.h"
#include "HelpHint.h"
#include "TOMONode.h"
#include "IndexBuildUnit.h"
#include "MenuMnemonics.h"
#include "UpdateBaseUnit.h"

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

}  // namespace

TClientActions CreateClientActions(QMainWindow& window) {
  auto make = [&window](const TActionText& text, TClientIcon icon = TClientIcon::Document, bool withIcon = false) {
    auto* action = new QAction(QString::fromUtf8(text.caption), &window);
    action->setObjectName(text.name);
    if (text.hint) {
      action->setToolTip(QString::fromUtf8(text.hint));
      action->setStatusTip(QString::fromUtf8(text.hint));
    }
    if (withIcon) action->setIcon(ClientIcon(icon));
    return action;
  };
  TClientActions a;
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
    window.addAction(action);
  }
  return a;
}

THistoryMenus CreateClientMenus(QMainWindow& window, const TClientActions& a) {
  QMenuBar& bar = *window.menuBar();
  QMenu* file = bar.addMenu(QStringLiteral("&Arquivo"));
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

  QMenu* edit = bar.addMenu(QStringLiteral("&Editar"));
  edit->setObjectName("EditMenu");
  edit->addActions({a.EditCopyAction, a.EditSelectAllAction});

  QMenu* view = bar.addMenu(QStringLiteral("Exibir"));
  view->setObjectName("ViewMenu");
  view->addActions({a.ZoomInAction, a.ZoomOutAction, a.ZoomResetAction});

  QMenu* search = bar.addMenu(QStringLiteral("&Procurar"));
  search->setObjectName("SearchMenu");
  search->addAction(a.SearchDocumentsAction);
  search->addSeparator();
  search->addActions({a.SearchInCurrentDocAction, a.SearchPrevWordAction, a.SearchNextWordAction});
  search->addSeparator();
  THistoryMenus history;
  history.Back = search->addMenu(ClientIcon(TClientIcon::Back), QStringLiteral("Voltar"));
  history.Back->setObjectName("HistoryBackMenu");
  history.Forward = search->addMenu(ClientIcon(TClientIcon::Forward), QStringLiteral("Avançar"));
  history.Forward->setObjectName("HistoryForwardMenu");
  search->addSeparator();

  QMenu* help = bar.addMenu(QStringLiteral("A&juda"));
  help->setObjectName("HelpMenu");
  help->addAction(a.HelpAction);
  help->addSeparator();
  help->addAction(a.AboutAction);
  help->addSeparator();
  help->addAction(a.HomePageAction);

  // The history menus hold document titles, which carry no letters of their own.
  for (QMenu* menu : {file, maintenance, edit, view, search, help}) AssignMnemonics(*menu);
  AssignMnemonics(bar);
  return history;
}

void CreateClientToolBars(QMainWindow& window, const TClientActions& a, const THistoryMenus& history) {
  QToolBar* toolBar = window.addToolBar(QStringLiteral("Ferramentas"));
  toolBar->setObjectName("ToolBar");
  toolBar->setMovable(false);
  toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  auto button = [toolBar](QAction* action, const char* name) {
    toolBar->addAction(action);
    auto* widget = qobject_cast<QToolButton*>(toolBar->widgetForAction(action));
    widget->setObjectName(name);
    widget->setAutoRaise(true);
    return widget;
  };
  button(a.ShowTreeAction, "ShowTreeToolButton");
  toolBar->addSeparator();
  for (auto [action, menu, name] : {std::tuple{a.BrowseBackAction, history.Back, "BrowseBackToolButton"},
                                    std::tuple{a.BrowseForwardAction, history.Forward, "BrowseFrwdToolButton"}}) {
    QToolButton* widget = button(action, name);
    widget->setMenu(menu);
    widget->setPopupMode(QToolButton::MenuButtonPopup);
    widget->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  }
  button(a.BrowseUpAction, "BrowseUpToolButton");
  toolBar->addSeparator();
  button(a.SearchDocumentsAction, "SearchDocumentsToolButton");
  button(a.SearchInCurrentDocAction, "SearchWordToolButton");
  button(a.SearchNextWordAction, "SearchNextWordToolButton");
  button(a.SearchPrevWordAction, "SearchPrevWordToolButton");
  toolBar->addSeparator();
  button(a.PrintAction, "PrintDocumentToolButton");
  button(a.EditCopyAction, "EditCopyToolButton");
  toolBar->addSeparator();

  window.addToolBarBreak();
  QToolBar* helpBar = window.addToolBar(QStringLiteral("Ajuda"));
  helpBar->setObjectName("HelpToolBar");
  helpBar->setMovable(false);
  helpBar->addAction(a.HelpAction);
  helpBar->widgetForAction(a.HelpAction)->setObjectName("HelpButton");
  auto* helpLabel = new QLabel(helpBar);
  helpLabel->setObjectName("HelpLabel");
  QFont bold = helpLabel->font();
  bold.setBold(true);
  bold.setPixelSize(kHelpLabelFontPixels);
  helpLabel->setFont(bold);
  helpBar->addWidget(helpLabel);
  new THelpHint(*helpLabel);
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
  const bool textShown = ShownText() != nullptr;
  a.PrintAction->setEnabled(textShown || pageControl_->currentWidget() == bitmapPage_);
  a.SearchInCurrentDocAction->setEnabled(textShown);
  a.SearchInCurrentDocAction->setChecked(textPage_->FindPanelShown());
  a.TextFindNextAction->setEnabled(textShown);
  for (QAction* zoom : {a.ZoomInAction, a.ZoomOutAction, a.ZoomResetAction}) zoom->setEnabled(textShown);
  a.TextHideSearchAction->setEnabled(textPage_->FindPanelShown());
  a.BrowseUpAction->setEnabled(currentNode_ && currentNode_->Parent());
  a.BrowseBackAction->setEnabled(history_ && history_->CanBrowseBack());
  a.BrowseForwardAction->setEnabled(history_ && history_->CanBrowseForward());
  a.ShowTreeAction->setChecked(!treePageControl_->isHidden());
  EnableSearchCommands(a, *searchPage_, currentNode_);
  EnableEditCommands(a, ShownText());
}

// The control that copy and select-all act on: the focused text control,
// else the text page when it is shown.
void EnableEditCommands(const TClientActions& a, QTextEdit* shownText) {
  QWidget* focus = QApplication::focusWidget();
  bool canCopy = false;
  bool canSelectAll = false;
  if (auto* line = qobject_cast<QLineEdit*>(focus)) {
    canCopy = line->hasSelectedText() && line->echoMode() == QLineEdit::Normal;
    canSelectAll = !line->text().isEmpty();
  } else if (auto* edit = qobject_cast<QTextEdit*>(focus)) {
    canCopy = edit->textCursor().hasSelection();
    canSelectAll = !edit->document()->isEmpty();
  } else if (shownText) {
    canCopy = shownText->textCursor().hasSelection();
    canSelectAll = !shownText->document()->isEmpty();
  }
  a.EditCopyAction->setEnabled(canCopy);
  a.EditSelectAllAction->setEnabled(canSelectAll);
}

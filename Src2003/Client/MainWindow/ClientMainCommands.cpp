// The main window's command handlers, and the wiring of its actions to them.
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QUrl>

#include "BitmapPage.h"
#include "ClientConfigUnit.h"
#include "ClientErrors.h"
#include "ClientMainUnit.h"
#include "ConfigUnit.h"
#include "DocumentPrinting.h"
#include "ErrorDisplay.h"
#include "IndexBuildUnit.h"
#include "InstalledShare.h"
#include "LxFilUtl.h"
#include "MouseNavigation.h"
#include "NavigationHistory.h"
#include "Prompts.h"
#include "QtText.h"
#include "RemoveDocumentUnit.h"
#include "ShellOpen.h"
#include "TOMOTree.h"
#include "TextPage.h"
#include "TextView.h"
#include "TextZoom.h"
#include "UpdateBaseUnit.h"
#include "WordIndex.h"

namespace {

constexpr char kCreateIndexTitle[] = "Gerar índice de palavras";
constexpr char kCreateIndexQuestion[] = "Esta operação poderá levar alguns minutos. Deseja continuar?";
constexpr char kNoTreeToIndex[] = "Não há árvore de documentos carregada para indexar.";
constexpr char kHelpNotOpened[] =
    "Não foi possível abrir um navegador para mostrar a ajuda. Abra-a em um navegador a partir deste endereço:\n";
constexpr char kNoBitmapToPrint[] =
    "A imagem deste documento não pôde ser carregada, portanto não há o que imprimir. "
    "Tente atualizar o Pandecta para corrigir o problema.";

void HelpActionExecute() {
  const std::string helpFile = ProgramSharedPath(kHelpFile);
  const QUrl address = FileExists(helpFile) ? QUrl::fromLocalFile(QString::fromStdString(helpFile))
                                            : QUrl(QString::fromLatin1(kHelpPageAddress));
  if (!OpenMaximized(address)) {
    const QString where = address.isLocalFile() ? QDir::toNativeSeparators(address.toLocalFile()) : address.toString();
    Prompts().Inform(kHelpNotOpened + where.toStdString());
  }
}

void CreateIndexActionExecute(TfrmClientMain& window) {
  if (!TfrmBuildIndex::Instance()) {
    if (!WordIndex || !window.Tree()) throw ELxException(kNoTreeToIndex);
    if (!Prompts().AskYesNoTitled(kCreateIndexTitle, kCreateIndexQuestion)) return;
    auto* build = new TfrmBuildIndex(*WordIndex, window.Collection(), &window);
    QObject::connect(build, &QObject::destroyed, &window, [&window] { window.UpdateActions(); });
    window.UpdateActions();
  }
  TfrmBuildIndex* build = TfrmBuildIndex::Instance();
  build->showNormal();
  build->raise();
  build->activateWindow();
}

void RemoveDocumentsActionExecute(TfrmClientMain& window) {
  QPointer<TfrmRemoveDocuments> refresh = new TfrmRemoveDocuments(window.Collection(), &window);
  refresh->exec();
  delete refresh.data();
}

void AboutActionExecute(TfrmClientMain& window) {
  // Where "Configurações..." is closed, "Sobre..." must not open the settings.
  if (!window.Actions().ConfigAction->isEnabled()) {
    TfrmClientConfig::ShowAboutOnly(&window);
    return;
  }
  TfrmClientConfig::ShowConfig(TfrmClientConfig::TPage::About, &window.Collection(), &window);
}

// Copy and select-all act on the focused text control, else on the text
// shown (nullptr: none).
void EditCopyActionExecute(QTextEdit* shownText) {
  QWidget* focus = QApplication::focusWidget();
  if (auto* edit = qobject_cast<QTextEdit*>(focus)) {
    edit->copy();
  } else if (auto* line = qobject_cast<QLineEdit*>(focus)) {
    line->copy();
  } else if (shownText) {
    shownText->copy();
  }
}

void EditSelectAllActionExecute(QTextEdit* shownText) {
  QWidget* focus = QApplication::focusWidget();
  if (auto* line = qobject_cast<QLineEdit*>(focus)) {
    line->selectAll();
  } else if (shownText) {
    shownText->selectAll();
  }
}

// Draws texts at `percent` of their size from now on, and remembers it.
void SetTextZoom(TTextView& view, int percent) {
  view.SetZoomPercent(percent);
  WriteTextZoom(Config().Store(), percent);
}

}  // namespace

void TfrmClientMain::PrintCurrent(QPrinter& printer) {
  const QString title = currentNode_ ? Win1252ToQString(currentNode_->Record().Title) : QString();
  if (ShownText()) {
    PrintTextDocument(*ShownText()->document(), title, printer);
  } else if (pageControl_->currentWidget() == bitmapPage_) {
    if (bitmapPage_->Bitmap().isNull()) throw ETOMOError(kNoBitmapToPrint);
    PrintBitmap(bitmapPage_->Bitmap(), title, printer);
  }
}

void TfrmClientMain::ConnectCommands() {
  TClientActions& a = actions_;
  auto on = [this](QAction* action, auto command) { connect(action, &QAction::triggered, this, Guarded(command)); };
  on(a.PrintAction, [this] {
    // Nothing to print is said before a printer is chosen for it.
    if (pageControl_->currentWidget() == bitmapPage_ && bitmapPage_->Bitmap().isNull()) {
      throw ETOMOError(kNoBitmapToPrint);
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) PrintCurrent(printer);
  });
  on(a.ClearIndexAction, [] {
    if (WordIndex) WordIndex->DeleteIndex();
  });
  on(a.CreateIndexAction, [this] { CreateIndexActionExecute(*this); });
  on(a.RemoveDocumentsAction, [this] { RemoveDocumentsActionExecute(*this); });
  on(a.ConfigAction,
     [this] { TfrmClientConfig::ShowConfig(TfrmClientConfig::TPage::Installation, &Collection(), this); });
  on(a.AboutAction, [this] { AboutActionExecute(*this); });
  on(a.ExitAction, [this] { close(); });
  on(a.EditCopyAction, [this] { EditCopyActionExecute(ShownText()); });
  on(a.EditSelectAllAction, [this] { EditSelectAllActionExecute(ShownText()); });
  const auto andUpdate = [this](auto command) {
    return [this, command] {
      command();
      UpdateActions();
    };
  };
  on(a.SearchInCurrentDocAction, andUpdate([this] { textPage_->ToggleFindPanel(); }));
  on(a.TextHideSearchAction, andUpdate([this] { textPage_->HideFindPanel(); }));
  on(a.TextFindNextAction, [this] { textPage_->FindNext(); });
  on(a.ShowTreeAction, andUpdate([this] { treePageControl_->setVisible(treePageControl_->isHidden()); }));
  on(a.BrowseBackAction, [this] { history_->BrowseBack(); });
  on(a.BrowseForwardAction, [this] { history_->BrowseForward(); });
  connect(history_, &TNavigationHistory::Changed, this, &TfrmClientMain::UpdateActions);
  new TMouseNavigation(*this, *a.BrowseBackAction, *a.BrowseForwardAction);
  on(a.BrowseUpAction, [this] {
    if (currentNode_ && currentNode_->Parent()) ShowNode(currentNode_->Parent());
  });
  on(a.HelpAction, [] { HelpActionExecute(); });
  on(a.HomePageAction, [] { OpenMaximized(QUrl(QString::fromLatin1(kHomePageAddress))); });
  TTextView& text = textPage_->View();
  on(a.ZoomInAction, [&text] { SetTextZoom(text, ZoomInStep(text.ZoomPercent())); });
  on(a.ZoomOutAction, [&text] { SetTextZoom(text, ZoomOutStep(text.ZoomPercent())); });
  on(a.ZoomResetAction, [&text] { SetTextZoom(text, kNaturalZoomPercent); });
  connect(&text, &TTextView::ZoomWheel, this,
          [this](bool larger) { (larger ? actions_.ZoomInAction : actions_.ZoomOutAction)->trigger(); });
  text.SetZoomPercent(ReadTextZoom(Config().Store()));
  connect(&UpdateKindNotifier(), &TUpdateKindNotifier::UpdateKindChanged, this, &TfrmClientMain::UpdateActions);
  ConnectUpdateCommands(*this);
}

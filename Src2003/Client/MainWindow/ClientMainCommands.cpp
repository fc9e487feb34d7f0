// The main window's command handlers.
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPointer>
#include <QPrinter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QDir>
#include <QUrl>

#include "ClientConfigUnit.h"
#include "ClientErrors.h"
#include "ClientMainUnit.h"
#include "DocumentPrinting.h"
#include "LinkAddress.h"
#include "LxFilUtl.h"
#include "NavigationHistory.h"
#include "Prompts.h"
#include "QtText.h"
#include "ShellOpen.h"
#include "IndexBuildUnit.h"
#include "InstalledShare.h"
#include "RemoveDocumentUnit.h"
#include "TOMOTree.h"
#include "TextSearchPanel.h"
#include "TextView.h"
#include "WordIndex.h"

namespace {

constexpr char kCreateIndexTitle[] = "Gerar índice de palavras";
constexpr char kCreateIndexQuestion[] = "Esta operação poderá levar alguns minutos. Deseja continuar?";
constexpr char kNoTreeToIndex[] = "Não há árvore de documentos carregada para indexar.";
constexpr char kTextNotFound[] = "Texto não encontrado";
constexpr char kHelpNotOpened[] =
    "Não foi possível abrir um navegador para mostrar a ajuda. Abra-a em um navegador a partir deste endereço:\n";
constexpr char kNoBitmapToPrint[] =
    "A imagem deste documento não pôde ser carregada, portanto não há o que imprimir. "
    "Tente atualizar o Pandecta para corrigir o problema.";
constexpr char kMissingLinkTarget[] =
    "Destino do atalho (%.4d) não encontrado. \r\n"
    "Tente atualizar novamente sua base de dados e provavelmente este problema será corrigido.";

}  // namespace

void TfrmClientMain::TextEditLinkClick(int linkNumber) {
  if (linkNumber < 0 || linkNumber >= static_cast<int>(links_.size())) {
    throw ELxException(FormatMessage("Índice de lista fora dos limites (%d)", linkNumber));
  }
  const TTOMOHyperlinkRecord link = links_[static_cast<size_t>(linkNumber)];
  if (!link.URL.empty()) {
    OpenLinkAddress(Win1252ToQString(link.URL));
    return;
  }
  TTOMONode* target = FindNode(link.Target);
  if (!target) throw ETOMOError(FormatMessage(kMissingLinkTarget, link.Target));
  ShowNode(target);
}

void TfrmClientMain::PrintCurrent(QPrinter& printer) {
  const QString title = currentNode_ ? Win1252ToQString(currentNode_->Record().Title) : QString();
  if (TextPageShown()) {
    PrintTextDocument(*textEdit_->document(), title, printer);
  } else if (BitmapPageShown()) {
    if (bitmap_.isNull()) throw ETOMOError(kNoBitmapToPrint);
    PrintBitmap(bitmap_, title, printer);
  }
}

void TfrmClientMain::PrintActionExecute() {
  // Nothing to print is said before a printer is chosen for it.
  if (BitmapPageShown() && bitmap_.isNull()) throw ETOMOError(kNoBitmapToPrint);
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintCurrent(printer);
}

void TfrmClientMain::SearchInCurrentDocActionExecute() {
  const bool show = textSearchPanel_->isHidden();
  textSearchPanel_->setVisible(show);
  if (show && textSearchPanel_->SearchEdit().isEnabled()) textSearchPanel_->SearchEdit().setFocus();
  UpdateActions();
}

void TfrmClientMain::TextHideSearchActionExecute() {
  textSearchPanel_->hide();
  UpdateActions();
}

void TfrmClientMain::TextFindNextActionExecute() {
  const TFindOutcome outcome = FindInText(*textEdit_, textSearchPanel_->Options());
  textSearchPanel_->ShowOutcome(outcome);
  if (!outcome.Found) Prompts().Inform(kTextNotFound);
}

void TfrmClientMain::BrowseUpActionExecute() {
  if (currentNode_ && currentNode_->Parent()) ShowNode(currentNode_->Parent());
}

void TfrmClientMain::ShowTreeActionExecute() {
  treePageControl_->setVisible(treePageControl_->isHidden());
  UpdateActions();
}

void TfrmClientMain::HelpActionExecute() {
  const std::string helpFile = ProgramSharedPath(kHelpFile);
  const QUrl address = FileExists(helpFile) ? QUrl::fromLocalFile(QString::fromStdString(helpFile))
                                            : QUrl(QString::fromLatin1(kHelpPageAddress));
  if (!OpenMaximized(address)) {
    const QString where = address.isLocalFile() ? QDir::toNativeSeparators(address.toLocalFile()) : address.toString();
    Prompts().Inform(kHelpNotOpened + where.toStdString());
  }
}

void TfrmClientMain::HomePageActionExecute() { OpenMaximized(QUrl(QString::fromLatin1(kHomePageAddress))); }

void TfrmClientMain::ClearIndexActionExecute() {
  if (WordIndex) WordIndex->DeleteIndex();
}

void TfrmClientMain::CreateIndexActionExecute() {
  if (!TfrmBuildIndex::Instance()) {
    if (!WordIndex || !Tree()) throw ELxException(kNoTreeToIndex);
    if (!Prompts().AskYesNoTitled(kCreateIndexTitle, kCreateIndexQuestion)) return;
    auto* window = new TfrmBuildIndex(*WordIndex, Collection(), this);
    connect(window, &QObject::destroyed, this, [this] { UpdateActions(); });
    UpdateActions();
  }
  TfrmBuildIndex* window = TfrmBuildIndex::Instance();
  window->showNormal();
  window->raise();
  window->activateWindow();
}

void TfrmClientMain::RemoveDocumentsActionExecute() {
  QPointer<TfrmRemoveDocuments> window = new TfrmRemoveDocuments(Collection(), this);
  window->exec();
  delete window.data();
}

void TfrmClientMain::ConfigActionExecute() {
  TfrmClientConfig::ShowConfig(TfrmClientConfig::TPage::Installation, &Collection(), this);
}

void TfrmClientMain::AboutActionExecute() {
  // Where "Configurações..." is closed, "Sobre..." must not open the settings.
  if (!actions_.ConfigAction->isEnabled()) {
    TfrmClientConfig::ShowAboutOnly(this);
    return;
  }
  TfrmClientConfig::ShowConfig(TfrmClientConfig::TPage::About, &Collection(), this);
}

void TfrmClientMain::EditCopyActionExecute() {
  QWidget* focus = QApplication::focusWidget();
  if (auto* edit = qobject_cast<QTextEdit*>(focus)) {
    edit->copy();
  } else if (auto* line = qobject_cast<QLineEdit*>(focus)) {
    line->copy();
  } else if (TextPageShown()) {
    textEdit_->copy();
  }
}

void TfrmClientMain::EditSelectAllActionExecute() {
  QWidget* focus = QApplication::focusWidget();
  if (auto* line = qobject_cast<QLineEdit*>(focus)) {
    line->selectAll();
  } else if (TextPageShown()) {
    textEdit_->selectAll();
  }
}

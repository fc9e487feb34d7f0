// update-window-demo [URL]
//
// The reader's main window on the installed collection, with the operation
// window over it running a made-up update: every kind of log line, the
// changed entries in the node list, and the bar left half full. With a URL
// the transfer of that file is real (it is written to the system's temporary
// folder). For screenshots and for looking at the window by hand; it adds no
// command to the program.

#include <memory>

#include <QCoreApplication>
#include <QDir>
#include <QPushButton>

#include "ClientIcons.h"
#include "ClientMainUnit.h"
#include "ConfigUnit.h"
#include "DocumentBaseUnit.h"
#include "MessageBoxPrompts.h"
#include "OperationTransfer.h"
#include "PandectaApplication.h"
#include "THttpCli.h"
#include "TOMONode.h"
#include "TOMOTree.h"
#include "UpdateBaseUnit.h"
#include "WordIndex.h"

namespace {

constexpr int kDemoBytes = 412 * 1024;
constexpr int kEntriesShown = 6;

class TDemoOperation : public TOperation {
 public:
  TDemoOperation(TfrmClientMain& mainWindow, std::string url)
      : mainWindow_(mainWindow), url_(std::move(url)), transfer_(*this) {}

 protected:
  bool RequestsRunning() const override { return transfer_.HttpCli().Busy(); }
  void AbortRequests() override { transfer_.HttpCli().Abort(); }

  void Step(const TOperationStep& message, int& nextState, int& nextParameter) override {
    switch (message.State) {
      case 1: Start(nextState); break;
      case 2: Transfer(nextState); break;
      case 3: ListDocuments(); break;
    }
    (void)nextParameter;
  }

 private:
  void Start(int& nextState) {
    Report().SetStages({"Verificando atualizações disponíveis", "Transferindo arquivos", "Operação concluída"});
    Report().AddLog(": Verificando tamanho do arquivo de índice...", TLogColour::Blue);
    Report().AddLog("  URL: " + Address(), TLogColour::WindowText);
    Report().AddLogFmt(TLogColour::Green, TLogStyle::Plain, "! Tamanho do arquivo de índice: %d KiB", kDemoBytes / 1024);
    Report().AddLog(": Transferindo arquivo de índice...", TLogColour::Blue);
    Report().ResetProgress(2 * kDemoBytes);
    nextState = 2;
  }

  void Transfer(int& nextState) {
    if (url_.empty()) {
      // Made-up transfer: the lines a real one logs.
      Report().AddLog("  URL: " + Address(), TLogColour::WindowText);
      Report().AddLog("  Arquivo Local: " + LocalPath(), TLogColour::WindowText);
      Report().AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Tamanho: %d KiB", kDemoBytes / 1024);
      Report().SetProgress(kDemoBytes);
      Report().AddLog("  Encerrado: " + Address(), TLogColour::Green);
      Report().AddLog("", TLogColour::WindowText);
      nextState = 3;
      return;
    }
    transfer_.SetLocalFile(LocalPath());
    transfer_.SavedStep().State = 3;
    transfer_.HttpCli().SetURL(url_);
    transfer_.HttpCli().Get();
  }

  void ListDocuments() {
    Report().AddLog("! Arquivo de índice recebido.", TLogColour::Green);
    Report().AddLog(": Criando lista de documentos a serem atualizados...", TLogColour::Blue);
    Report().Nodes().BeginNodeList();
    int shown = 0;
    if (TTOMOTree* tree = mainWindow_.Tree()) {
      for (TTOMONode* node = tree->Root(); node && shown < kEntriesShown; node = node->NextInPreOrder()) {
        if (node->Record().DocumentNumber == 0) continue;
        Report().Nodes().AddNodeItem(node);
        ++shown;
      }
    }
    Report().Nodes().EndNodeList();
    Report().AddLogFmt(TLogColour::Green, TLogStyle::Plain, "! Documentos a serem atualizados: %d", shown);
    Report().AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Total de bytes a serem transferidos: %d", 61440);
    Report().AddLog("", TLogColour::WindowText);
    Report().AddLog(": Transferindo documentos...", TLogColour::Blue, TLogStyle::Bold);
    Report().NextStage();
    Report().AddLog("  (0012): Decreto nº 4.102, de 12 de março de 2021", TLogColour::Blue);
    Report().AddLog("! Ignorado", TLogColour::Olive);
    Report().AddLogFmt(TLogColour::Red, TLogStyle::Plain, kDownloadErrorLineFormat, 1, 404);
    Report().AddLog("!! Exemplo de linha de sucesso.", TLogColour::Green, TLogStyle::Bold);
    Report().ResetProgress(1000);
    Report().SetProgress(500);
  }

  std::string Address() const { return url_.empty() ? "http://atualizacao.pandecta.example/atualizacao/tomoidxz.dat" : url_; }
  static std::string LocalPath() { return QDir::temp().filePath("tomoidxz.dat").toStdString(); }

  TfrmClientMain& mainWindow_;
  std::string url_;
  TOperationTransfer transfer_;
};

}  // namespace

int main(int argc, char** argv) {
  Config();
  WordIndex = std::make_unique<TWordIndex>([] { return Config().GetString(ExtraFolder); });
  TPandectaApplication application(argc, argv);
  TMessageBoxPrompts prompts;
  TScopedPrompts installed(prompts);
  InstallIconTheme();
  const std::string url = argc > 1 ? argv[1] : "";

  auto documents = std::make_unique<TTOMODocumentFolder>(Config().GetString(DataFolder));
  int result = 0;
  {
    TfrmClientMain mainWindow;
    mainWindow.show();
    auto* window = new TfrmUpdateBase(std::make_unique<TDemoOperation>(mainWindow, url), &mainWindow);
    window->findChild<QPushButton*>("DetailButton")->click();
    window->show();
    window->Operation().PostStep(WM_OPERATIONSTEP, 1, 0);
    result = application.exec();
  }
  documents.reset();
  WordIndex.reset();
  return result;
}

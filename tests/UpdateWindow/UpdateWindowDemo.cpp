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
  TDemoOperation(TfrmClientMain& mainWindow, std::string url) : mainWindow_(mainWindow), url_(std::move(url)) {}

 protected:
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
    SetStages({"Verificando atualizações disponíveis", "Transferindo arquivos", "Operação concluída"});
    AddLog(": Verificando tamanho do arquivo de índice...", TLogColour::Blue);
    AddLog("  URL: " + Address(), TLogColour::WindowText);
    AddLogFmt(TLogColour::Green, TLogStyle::Plain, "! Tamanho do arquivo de índice: %d KiB", kDemoBytes / 1024);
    AddLog(": Transferindo arquivo de índice...", TLogColour::Blue);
    ResetProgress(2 * kDemoBytes);
    nextState = 2;
  }

  void Transfer(int& nextState) {
    if (url_.empty()) {
      // Made-up transfer: the lines a real one logs.
      AddLog("  URL: " + Address(), TLogColour::WindowText);
      AddLog("  Arquivo Local: " + LocalPath(), TLogColour::WindowText);
      AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Tamanho: %d KiB", kDemoBytes / 1024);
      SetProgress(kDemoBytes);
      AddLog("  Encerrado: " + Address(), TLogColour::Green);
      AddLog("", TLogColour::WindowText);
      nextState = 3;
      return;
    }
    SetLocalFile(LocalPath());
    SavedStep().State = 3;
    HttpCli().SetURL(url_);
    HttpCli().Get();
  }

  void ListDocuments() {
    AddLog("! Arquivo de índice recebido.", TLogColour::Green);
    AddLog(": Criando lista de documentos a serem atualizados...", TLogColour::Blue);
    BeginNodeList();
    int shown = 0;
    if (TTOMOTree* tree = mainWindow_.Tree()) {
      for (TTOMONode* node = tree->Root(); node && shown < kEntriesShown; node = node->NextInPreOrder()) {
        if (node->Record().DocumentNumber == 0) continue;
        AddNodeItem(node);
        ++shown;
      }
    }
    EndNodeList();
    AddLogFmt(TLogColour::Green, TLogStyle::Plain, "! Documentos a serem atualizados: %d", shown);
    AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Total de bytes a serem transferidos: %d", 61440);
    AddLog("", TLogColour::WindowText);
    AddLog(": Transferindo documentos...", TLogColour::Blue, TLogStyle::Bold);
    NextStage();
    AddLog("  (0012): Decreto nº 4.102, de 12 de março de 2021", TLogColour::Blue);
    AddLog("! Ignorado", TLogColour::Olive);
    AddLogFmt(TLogColour::Red, TLogStyle::Plain, kDownloadErrorLineFormat, 1, 404);
    AddLog("!! Exemplo de linha de sucesso.", TLogColour::Green, TLogStyle::Bold);
    ResetProgress(1000);
    SetProgress(500);
  }

  std::string Address() const { return url_.empty() ? "http://atualizacao.pandecta.example/atualizacao/tomoidxz.dat" : url_; }
  static std::string LocalPath() { return QDir::temp().filePath("tomoidxz.dat").toStdString(); }

  TfrmClientMain& mainWindow_;
  std::string url_;
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

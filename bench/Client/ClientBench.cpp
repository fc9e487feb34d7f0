// bench_client: how fast the reader's window works on a large base.
//
// Goals (on the project's 2-core machine):
//   - LoadTree of a 200,000-entry base: within 1 s;
//   - ShowNode of a 1 MB rich-text document: within 200 ms;
//   - start-up to the first painted main window (the splash's 3 s aside):
//     reported, to see what the window itself costs.
//
// How to run:
//   build/bin/pandecta-tool generate-base /tmp/bench/Dados --entries 200000 --documents 20000
//   QT_QPA_PLATFORM=offscreen build/bin/bench_client /tmp/bench/Dados [repetitions]
// The bench replaces the first rich-text document of the base with a 1 MB
// text (with links) before measuring, and keeps its settings in memory.
#include <cstdio>
#include <memory>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include "ShownDocument.h"
#include "TextView.h"
#include "ClientIcons.h"
#include "ClientMainUnit.h"
#include "ConfigUnit.h"
#include "DocumentBaseUnit.h"
#include "ErrorDisplay.h"
#include "LxConfigStore.h"
#include "LxDateTime.h"
#include "PandectaApplication.h"
#include "TOMODocumentBody.h"
#include "TOMOTree.h"

namespace {

constexpr std::size_t kDocumentBytes = 1024 * 1024;
constexpr int kLinksInDocument = 200;

// Waits until the window has painted once.
class TPaintWatch : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

std::string BigRtf() {
  std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 ";
  int paragraph = 0;
  while (rtf.size() < kDocumentBytes) {
    rtf += "\\b Art. " + std::to_string(++paragraph) + "\\b0  O contribuinte deve recolher o imposto devido "
           "nas opera\\'e7\\'f5es internas conforme a tabela do anexo, observadas as isen\\'e7\\'f5es.\\par ";
  }
  return rtf + "}";
}

TTOMONode* FirstText(TTOMOTree& tree) {
  for (TTOMONode* node = tree.Root(); node; node = node->NextInPreOrder()) {
    if (node->Record().Kind == kKindRichText && node->Record().DocumentNumber != 0) return node;
  }
  return nullptr;
}

void WriteBigDocument(int number, int target) {
  std::vector<TBodyLink> links;
  for (int i = 0; i < kLinksInDocument; ++i) links.push_back({false, {0, i * 4000, 8, target, ""}});
  auto document = DocumentSource()->GetDocument(number, true);
  WriteDocumentBody(document->OpenWrite(), Now(), BigRtf(), links);
  document->CloseDocument();
}

double Milliseconds(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "uso: bench_client DADOS [REPETICOES]\n");
    return 2;
  }
  const std::string data = argv[1];
  const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  QElapsedTimer startup;
  startup.start();
  TPandectaApplication application(argc, argv);
  InstallIconTheme();
  ReplaceConfig(std::make_unique<TTOMOConfig>(std::make_unique<TLxMemoryConfigStore>()));
  Config().SetString(DataFolder, data);
  Config().SetBoolean(ShowTree, true);
  SetErrorPresenter([](const TErrorReport& report) { std::fprintf(stderr, "erro: %s\n", report.Message.c_str()); });
  TTOMODocumentFolder documents(data);

  int bigNumber = 0;
  int bigId = 0;
  {
    TTOMOTree tree(data);
    TTOMONode* text = FirstText(tree);
    if (!text) return 1;
    bigNumber = text->Record().DocumentNumber;
    bigId = text->Id();
    WriteBigDocument(bigNumber, text->Parent() ? text->Parent()->Id() : 0);
  }

  QElapsedTimer timer;
  timer.start();
  auto window = std::make_unique<TfrmClientMain>();
  TPaintWatch watch;
  window->installEventFilter(&watch);
  window->show();
  while (!watch.painted) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  std::printf("primeira janela pintada: %.1f ms (desde o início do processo: %.1f ms)\n", Milliseconds(timer),
              Milliseconds(startup));

  for (int i = 0; i < repetitions; ++i) {
    timer.restart();
    window->LoadTree();
    std::printf("LoadTree (%d entradas): %.1f ms\n", window->Tree()->NodeCount(), Milliseconds(timer));
  }
  for (int i = 0; i < repetitions; ++i) {
    window->ShowNode(window->Tree()->Root());
    timer.restart();
    window->ShowNode(window->Tree()->FindNode(bigId));
    std::printf("ShowNode de documento de 1 MB (%zu atalhos): %.1f ms\n", window->findChild<TTextView*>("TextEdit")->Shown().Links().size(), Milliseconds(timer));
  }
  window.reset();
  return 0;
}

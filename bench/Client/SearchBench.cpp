// bench_search: the search page on a large base.
//
// Goals (on the project's 2-core machine):
//   - a search whose word occurs in at least 20,000 entries, from pressing
//     "Procurar" to the painted result list: within 1 s;
//   - filling the result tree and the result list for 20,000 hits: within
//     300 ms;
//   - typing in the query field never blocks (time per key is reported).
//
// How to run:
//   build/bin/pandecta-tool generate-base /tmp/bench/Dados --entries 200000 --documents 45000
//   ("que" is then in 28,708 entries, 14,386 of them by their text)
//   build/bin/pandecta-tool index /tmp/bench/Dados /tmp/bench/Extra
//   QT_QPA_PLATFORM=offscreen build/bin/bench_search /tmp/bench/Dados /tmp/bench/Extra que [repetitions]
// Measured (run alone, load average 3.00 at the start, 2.84 at the end),
// 200,000 entries, 45,000 documents, "que":
//   word search alone 207 ms (705 ms with a cold disk cache);
//   "Procurar" to the painted list, 28,708 results in 39,767 rows: 420-432 ms;
//   filling tree and list: 168-184 ms (painted 175-194 ms);
//   typing: 5.0 ms per key on average, slowest 8.7 ms, while the list goes on
//   measuring its rows in the background.
// Settings are kept in memory; the base is only read. "Buscar em" is set to
// "Conteúdo e Títulos", so that every entry found is shown.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>

#include "SearchPage.h"
#include "SearchSession.h"
#include "ClientIcons.h"
#include "ClientMainUnit.h"
#include "ConfigUnit.h"
#include "DocumentBaseUnit.h"
#include "ErrorDisplay.h"
#include "LxCodePage.h"
#include "LxConfigStore.h"
#include "PandectaApplication.h"
#include "SearchQuery.h"
#include "TOMOTree.h"
#include "WordIndex.h"

namespace {

constexpr int kTypedKeys = 200;

// Notes the next paint of a widget.
class TPaintWatch : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

double Milliseconds(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

void WaitForPaint(TPaintWatch& watch) {
  while (!watch.painted) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "uso: bench_search DADOS EXTRA PALAVRA [REPETICOES]\n");
    return 2;
  }
  const std::string data = argv[1];
  const std::string extra = argv[2];
  const std::string word = argv[3];
  const int repetitions = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;
  TPandectaApplication application(argc, argv);
  InstallIconTheme();
  ReplaceConfig(std::make_unique<TTOMOConfig>(std::make_unique<TLxMemoryConfigStore>()));
  Config().SetString(DataFolder, data);
  Config().SetString(ExtraFolder, extra);
  Config().SetBoolean(ShowTree, true);
  SetErrorPresenter([](const TErrorReport& report) { std::fprintf(stderr, "erro: %s\n", report.Message.c_str()); });
  WordIndex = std::make_unique<TWordIndex>(extra);
  TTOMODocumentFolder documents(data);

  auto window = std::make_unique<TfrmClientMain>();
  window->resize(1100, 720);
  TPaintWatch windowPaint;
  window->installEventFilter(&windowPaint);
  window->show();
  WaitForPaint(windowPaint);
  window->Actions().SearchDocumentsAction->trigger();
  auto* query = window->findChild<QLineEdit*>("SearchDocText");
  auto* button = window->findChild<QPushButton*>("SearchDocButton");
  auto* list = window->findChild<QListView*>("SearchDocListBox");
  const TSearchSession& session = window->findChild<TSearchPage*>()->Session();
  // Every entry the word index finds is shown: the heaviest list.
  window->findChild<QRadioButton*>("SearchWhereBothRadio")->setChecked(true);
  query->setText(QString::fromStdString(word));
  QCoreApplication::processEvents();

  QElapsedTimer timer;
  for (int i = 0; i < repetitions; ++i) {
    timer.start();
    const TSearchResultList found = RunSearchQuery(*WordIndex, {Utf8ToWin1252(word), "", TPhraseCombination::And});
    std::printf("busca no índice (\"%s\", %d entradas): %.1f ms\n", word.c_str(), found.Count(), Milliseconds(timer));
  }
  for (int i = 0; i < repetitions; ++i) {
    TPaintWatch listPaint;
    list->viewport()->installEventFilter(&listPaint);
    timer.start();
    button->click();
    WaitForPaint(listPaint);
    list->viewport()->removeEventFilter(&listPaint);
    std::printf("\"Procurar\" até a lista pintada (%d resultados, %d linhas): %.1f ms\n",
                session.Results() ? session.Results()->Count() : 0, list->model()->rowCount(),
                Milliseconds(timer));
  }
  for (int i = 0; i < repetitions; ++i) {
    TSearchResultList found = RunSearchQuery(*WordIndex, {Utf8ToWin1252(word), "", TPhraseCombination::And});
    const int count = found.Count();
    TPaintWatch listPaint;
    list->viewport()->installEventFilter(&listPaint);
    timer.start();
    window->findChild<TSearchPage*>()->ShowSearchResults(std::move(found));
    const double filled = Milliseconds(timer);
    WaitForPaint(listPaint);
    list->viewport()->removeEventFilter(&listPaint);
    std::printf("árvore e lista preenchidas (%d acertos, %d linhas): %.1f ms; pintada: %.1f ms\n", count,
                list->model()->rowCount(), filled, Milliseconds(timer));
  }

  query->setFocus();
  double slowest = 0;
  QElapsedTimer all;
  all.start();
  for (int i = 0; i < kTypedKeys; ++i) {
    const int key = i % 2 == 0 ? Qt::Key_A : Qt::Key_Backspace;
    const QString text = key == Qt::Key_A ? QStringLiteral("a") : QString();
    timer.start();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(query, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(query, &release);
    QCoreApplication::processEvents();
    slowest = std::max(slowest, Milliseconds(timer));
  }
  std::printf("digitação no campo de busca: %.3f ms por tecla em média, a mais lenta %.3f ms\n",
              Milliseconds(all) / kTypedKeys, slowest);
  window.reset();
  WordIndex.reset();
  return 0;
}

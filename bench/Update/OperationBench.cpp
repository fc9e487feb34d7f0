// bench_operation: what the long operations' machinery costs on its own.
//
// Goals (on the project's 2-core machine):
//   - the step chain: 100,000 empty steps (a step per document of a large
//     index build) within 5 s, i.e. under 50 us a step;
//   - the window's log: 100,000 lines (one per indexed document) within 10 s,
//     the last thousand no slower than twice the first thousand;
//   - a download: with a URL, the transfer of that file through THttpCli into
//     a file, in MB/s, to compare with `curl -o /dev/null URL` on the same
//     machine.
//
// How to run (offscreen, no display needed):
//   QT_QPA_PLATFORM=offscreen build/bin/bench_operation [URL]
// A server for the last figure, e.g.:
//   head -c 200M /dev/urandom > /tmp/www/big.dat
//   lighttpd -D -f conf   (server.document-root "/tmp/www", server.bind "127.0.0.1", server.port 18099)
//   build/bin/bench_operation http://127.0.0.1:18099/big.dat
#include <cstdio>
#include <memory>
#include <string>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>

#include "ConfigUnit.h"
#include "LxConfigStore.h"
#include "OperationRunner.h"
#include "PandectaApplication.h"
#include "OperationTransfer.h"
#include "THttpCli.h"
#include "UpdateBaseUnit.h"

namespace {

constexpr int kSteps = 100'000;
constexpr int kLogLines = 100'000;
constexpr int kLinesPerSample = 1'000;

// Runs `count` steps that do nothing but ask for the next one.
class TEmptySteps : public TOperation {
 public:
  explicit TEmptySteps(int count) : count_(count) {}

 protected:
  void Step(const TOperationStep& message, int& nextState, int& nextParameter) override {
    if (message.Parameter + 1 < count_) {
      nextState = 1;
      nextParameter = message.Parameter + 1;
    } else {
      SetFinished(true);
    }
  }

 private:
  int count_;
};

// One GET into a file; the step after it finishes the operation.
class TOneDownload : public TOperation {
 public:
  explicit TOneDownload(std::string url) : url_(std::move(url)), transfer_(*this) {}
  TOperationTransfer& Transfer() { return transfer_; }

 protected:
  bool RequestsRunning() const override { return transfer_.HttpCli().Busy(); }
  void AbortRequests() override { transfer_.HttpCli().Abort(); }

  void Step(const TOperationStep& message, int&, int&) override {
    if (message.State == 2) {
      SetFinished(true);
      return;
    }
    transfer_.SetLocalFile(QDir::temp().filePath("bench_operation.dat").toStdString());
    transfer_.SavedStep().State = 2;
    transfer_.HttpCli().SetURL(url_);
    transfer_.HttpCli().Get();
  }

 private:
  std::string url_;
  TOperationTransfer transfer_;
};

void BenchSteps() {
  TEmptySteps operation(kSteps);
  QElapsedTimer timer;
  timer.start();
  operation.PostStep(WM_OPERATIONSTEP, 1, 0);
  RunOperation(operation);
  const double seconds = timer.nsecsElapsed() / 1e9;
  std::printf("step chain: %d steps in %.2f s, %.1f us a step\n", kSteps, seconds, seconds * 1e6 / kSteps);
}

void BenchLog() {
  auto* window = new TfrmUpdateBase(std::make_unique<TEmptySteps>(1));
  window->show();
  window->DetailVisibleActionExecute();
  QElapsedTimer total;
  total.start();
  double firstSample = 0;
  double lastSample = 0;
  for (int line = 0; line < kLogLines; line += kLinesPerSample) {
    QElapsedTimer sample;
    sample.start();
    for (int i = 0; i < kLinesPerSample; ++i) {
      window->Operation().Report().AddLogFmt(TLogColour::GrayText, TLogStyle::Plain, "  Decreto nº %d, de 12 de março de 2021",
                                    line + i);
    }
    QCoreApplication::processEvents();  // the posted scroll, the paint
    const double seconds = sample.nsecsElapsed() / 1e9;
    if (line == 0) firstSample = seconds;
    lastSample = seconds;
  }
  std::printf("window log: %d lines in %.2f s; first %d lines %.3f s, last %d lines %.3f s\n", kLogLines,
              total.nsecsElapsed() / 1e9, kLinesPerSample, firstSample, kLinesPerSample, lastSample);
  delete window;
}

void BenchDownload(const std::string& url) {
  TOneDownload operation(url);
  QElapsedTimer timer;
  timer.start();
  operation.PostStep(WM_OPERATIONSTEP, 1, 0);
  const int result = RunOperation(operation);
  const double seconds = timer.nsecsElapsed() / 1e9;
  const double megabytes = operation.Transfer().BatchBytes() / (1024.0 * 1024.0);
  std::printf("download: %s, %.1f MB in %.2f s, %.1f MB/s\n", result == 0 ? "ok" : "FAILED", megabytes, seconds,
              megabytes / seconds);
  QDir::temp().remove("bench_operation.dat");
}

}  // namespace

int main(int argc, char** argv) {
  ReplaceConfig(std::make_unique<TTOMOConfig>(std::make_unique<TLxMemoryConfigStore>()));
  TPandectaApplication application(argc, argv);
  BenchSteps();
  BenchLog();
  if (argc > 1) BenchDownload(argv[1]);
  return 0;
}

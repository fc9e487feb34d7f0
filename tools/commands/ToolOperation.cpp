#include "ToolOperation.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "InstalledCollection.h"
#include "LxFilUtl.h"
#include "Operation.h"
#include "OperationRunner.h"
#include "TOMOIndexFormat.h"
#include "TerminalOperationView.h"

namespace {

int applicationArgc = 1;
char applicationName[] = "pandecta-tool";
char* applicationArgv[] = {applicationName, nullptr};

constexpr char kKillAfterLineVariable[] = "PANDECTA_TEST_KILL_AFTER_LINE";
constexpr char kStepTimesVariable[] = "PANDECTA_STEP_TIMES";

bool StepTimesAsked() {
  const char* value = std::getenv(kStepTimesVariable);
  return value && *value && std::string(value) != "0";
}

// The terminal view, and the test hook that ends the process abruptly.
class TToolOperationView : public TTerminalOperationView {
 public:
  TToolOperationView() {
    if (const char* value = std::getenv(kKillAfterLineVariable)) killAfter_ = std::atoi(value);
  }
  void AddLog(const std::string& text, TLogColour colour, TLogStyle style) override {
    TTerminalOperationView::AddLog(text, colour, style);
    if (killAfter_ > 0 && ++lines_ == killAfter_) {
      std::fflush(stderr);
      std::raise(SIGKILL);
    }
  }

 private:
  int killAfter_ = 0;
  int lines_ = 0;
};

}  // namespace

TToolEventLoop::TToolEventLoop() {
  if (!QCoreApplication::instance()) {
    application_ = std::make_unique<QCoreApplication>(applicationArgc, applicationArgv);
  }
}

TToolEventLoop::~TToolEventLoop() = default;

int RunToolOperation(TOperation& operation, const std::function<void()>& start) {
  TToolOperationView view;
  operation.SetView(&view);
  start();
  const int result = RunOperation(operation);
  operation.SetView(nullptr);
  if (StepTimesAsked()) {
    std::fprintf(stderr, "%s\n%s\n", operation.StepTimes().Summary().c_str(),
                 operation.StepTimes().StateTotals().c_str());
  }
  return result;
}

void LoadTreeIfInstalled(TInstalledCollection& collection, const std::string& dataFolder) {
  const std::string treeFile = FindFileIgnoringCase(dataFolder, kIndexFileName);
  if (FileExists(treeFile) || FileExists(treeFile + ".new")) collection.LoadTree();
}

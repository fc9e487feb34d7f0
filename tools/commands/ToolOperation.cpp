#include "ToolOperation.h"

#include <QCoreApplication>

#include "Operation.h"
#include "OperationRunner.h"
#include "TerminalOperationView.h"

namespace {

int applicationArgc = 1;
char applicationName[] = "pandecta-tool";
char* applicationArgv[] = {applicationName, nullptr};

}  // namespace

TToolEventLoop::TToolEventLoop() {
  if (!QCoreApplication::instance()) {
    application_ = std::make_unique<QCoreApplication>(applicationArgc, applicationArgv);
  }
}

TToolEventLoop::~TToolEventLoop() = default;

int RunToolOperation(TOperation& operation, const std::function<void()>& start) {
  TTerminalOperationView view;
  operation.SetView(&view);
  start();
  const int result = RunOperation(operation);
  operation.SetView(nullptr);
  return result;
}

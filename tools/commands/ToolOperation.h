#pragma once

// Runs a long operation of Src2003/Update from a command: its log and
// progress on standard error (TTerminalOperationView).
//
//   TToolEventLoop loop;                       // before the operation exists
//   TDocumentListRefresh refresh(collection);
//   return RunToolOperation(refresh, [&refresh] { refresh.Start(); });

#include <functional>
#include <memory>

class QCoreApplication;
class TOperation;

// The step chain runs on posted events and an operation connects to the
// application's objects when it is made, so a command makes this first. It
// creates a QCoreApplication when the process has none.
class TToolEventLoop {
 public:
  TToolEventLoop();
  ~TToolEventLoop();
  TToolEventLoop(const TToolEventLoop&) = delete;
  TToolEventLoop& operator=(const TToolEventLoop&) = delete;

 private:
  std::unique_ptr<QCoreApplication> application_;
};

// `start` posts the operation's first step. Returns 0 when the operation
// finished without error or cancel, 1 otherwise.
int RunToolOperation(TOperation& operation, const std::function<void()>& start);

#pragma once

// Runs a long operation of Src2003/Update from a command: its log and
// progress on standard error (TTerminalOperationView).
//
// For the crash tests, PANDECTA_TEST_KILL_AFTER_LINE=k makes the process kill
// itself right after the k-th log line, as a crash would.
//
// PANDECTA_STEP_TIMES=1 adds two lines on standard error once the operation
// has ended: its number of steps, the longest step and its state, and how
// many steps took over 50 ms (TStepTimer::Summary); then the time the steps
// of each state took (TStepTimer::StateTotals). For the benchmarks.
//
//   TToolEventLoop loop;                       // before the operation exists
//   TDocumentListRefresh refresh(collection);
//   return RunToolOperation(refresh, [&refresh] { refresh.Start(); });

#include <functional>
#include <memory>
#include <string>

class QCoreApplication;
class TInstalledCollection;
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

// Loads the installed tree of `dataFolder` when it has one (a tree file caught
// between its commit's renames exists as name.new). A folder without a base
// yet is left empty, for an update to take the new tree whole; a damaged
// tree file raises, so it is never overwritten.
void LoadTreeIfInstalled(TInstalledCollection& collection, const std::string& dataFolder);

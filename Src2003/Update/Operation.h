#pragma once

// TOperation: a long operation (index build, document list refresh, update
// packages, Internet update) as a chain of steps, without any window. This
// class is the step engine; what the operation tells is its report
// (OperationReport.h), and the updates add their transfers
// (OperationTransfer.h) and their own state (UpdateOperation.h).
//
// A subclass writes Step as a state machine over its own states. Each step
// does a bounded piece of work and says which state comes next; the
// operation posts that as an event to itself (WM_OPERATIONSTEP), so the
// program stays responsive between steps and a cancel is seen at the next
// one. It runs the same under a QApplication (behind TfrmUpdateBase) and
// under a plain QCoreApplication (pandecta-tool, tests; see RunOperation).
//
//   class TCountOperation : public TOperation {
//     void Step(const TOperationStep& message, int& nextState, int& nextParameter) override {
//       if (message.State == 1) { Report().AddLog(": Contando", TLogColour::Blue); nextState = 2; }
//       else { Report().AddLog("! Ok", TLogColour::Green); SetFinished(true); }  // no next state: the end
//     }
//   };
//   TCountOperation operation;
//   operation.SetView(&view);
//   operation.PostStep(WM_OPERATIONSTEP, 1, 0);
//
// What happens to each step message:
//   1. Cancelled: the line "# Operação cancelada pelo usuário!" and nothing
//      more, so a cancel logs once and runs no further step. Stopped by
//      itself (StopOperation): nothing at all.
//   2. Step runs with next state and parameter 0.
//   3. It raised ELxAbort (the user declined a prompt): CancelOperation,
//      nothing logged; a next state it had set is still posted, and that
//      message ends the chain with the line of 1.
//   4. It raised anything else: Finished, "# Exceção <class>" (red, bold),
//      the message (red), the view's error display; nothing is posted, and a
//      request it had started is aborted.
//   5. A next state other than 0 is posted.
// Once Finished and nothing more runs, OperationEnded is called, once: an
// operation lets go of what it shares (the word index) there, not when its
// window goes.

#include <exception>
#include <string>

#include <QObject>

#include "LxExcept.h"
#include "OperationReport.h"
#include "OperationStep.h"
#include "StepTimer.h"

class QEvent;
class TOperationView;

class TOperation : public QObject {
  Q_OBJECT

 public:
  explicit TOperation(QObject* parent = nullptr);
  ~TOperation() override;

  // --- What shows it ---------------------------------------------------------
  // Not owned; nullptr: nothing shows the operation. Set it before the first
  // step.
  void SetView(TOperationView* view) { report_.SetView(view); }
  TOperationReport& Report() { return report_; }
  const TOperationReport& Report() const { return report_; }

  // --- The step chain --------------------------------------------------------
  // Lets the application handle what is pending (paints, clicks, network
  // events), then posts the step, unless the application is shutting down.
  void PostStep(int msg, int state, int parameter);
  // Sets Cancelled and Finished; a request that runs is aborted.
  void CancelOperation();
  // The operation stops by itself (what it worked on went away under it):
  // Failed and Finished, no cancellation line; the reason is the caller's
  // to log.
  void StopOperation();
  // A step or a request of the operation failed: the error is logged ("#
  // Exceção <class>" and its message), shown, and the operation finishes.
  void FailOperation(const std::exception& error);
  // A request failed and its caller logged why: Failed, and Finished once
  // nothing more runs.
  void MarkFailed() { failed_ = true; }

  bool Cancelled() const { return cancelled_; }
  bool Finished() const { return finished_; }
  void SetFinished(bool finished);
  // A step raised an error, or a request failed.
  bool Failed() const { return failed_; }
  // A step is queued or running, or a request runs: more will happen by
  // itself. ChainEnded is raised when this becomes false.
  bool Running() const;
  // A step is being run right now (the operation must outlive it).
  bool InStep() const { return inStep_; }
  // How long its steps took: the longest one and its state.
  const TStepTimer& StepTimes() const { return stepTimer_; }
  // Raises ChainEnded when nothing more will happen by itself (a request's
  // end calls this).
  void EndChainUnlessRunning();

 signals:
  // Nothing more will happen by itself: no step is queued and no request
  // runs (the chain ended, failed, or was cancelled).
  void ChainEnded();

 protected:
  // One step: the work of `message.State` with `message.Parameter`. Both
  // outputs come in as 0; a next state of 0 ends the chain (or leaves it to
  // a request's completion).
  virtual void Step(const TOperationStep& message, int& nextState, int& nextParameter) = 0;

  void customEvent(QEvent* event) override;

  // Requests of a subclass keep the operation Running, and AbortRequests
  // ends them (a cancel, a failed step).
  virtual bool RequestsRunning() const { return false; }
  virtual void AbortRequests() {}
  // The operation is over (finished, failed or cancelled) and no step or
  // request runs. Must not raise.
  virtual void OperationEnded() {}

 private:
  void RunStep(const TOperationStep& message);
  void SetCancelled(bool cancelled);

  TOperationReport report_;
  bool cancelled_ = false;
  bool finished_ = false;
  bool failed_ = false;
  bool ended_ = false;
  // What keeps the chain Running: a step queued; a step being posted or
  // dispatched (with its successor's posting), counted as they nest; and the
  // step itself.
  bool stepQueued_ = false;
  int holds_ = 0;
  bool inStep_ = false;
  TStepTimer stepTimer_;
};

// The class name a log line shows for an error: ELxException's own name,
// else the demangled C++ type ("std::bad_alloc").
std::string ExceptionClassName(const std::exception& error);

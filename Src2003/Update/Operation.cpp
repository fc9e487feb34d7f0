#include "Operation.h"

#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>

#include <QCoreApplication>

#include "OperationView.h"

std::string ExceptionClassName(const std::exception& error) {
  if (const auto* own = dynamic_cast<const ELxException*>(&error)) return own->ClassName();
  int status = 0;
  char* demangled = abi::__cxa_demangle(typeid(error).name(), nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : typeid(error).name();
  std::free(demangled);
  return name;
}

TOperation::TOperation(QObject* parent) : QObject(parent) {}

TOperation::~TOperation() = default;

void TOperation::PostStep(int msg, int state, int parameter) {
  if (!QCoreApplication::instance()) return;
  // The chain goes on while the pending events run: a request that ends
  // among them must not take the chain for ended.
  ++holds_;
  QCoreApplication::processEvents();
  --holds_;
  if (QCoreApplication::closingDown()) return;
  TOperationStep step;
  step.Msg = msg;
  step.State = state;
  step.Parameter = parameter;
  stepQueued_ = true;
  QCoreApplication::postEvent(this, new TOperationStepEvent(step));
}

void TOperation::customEvent(QEvent* event) {
  if (event->type() != kOperationStepEvent) return QObject::customEvent(event);
  stepQueued_ = false;
  // A cancel handled while the step posts its successor is not an idle end.
  ++holds_;
  RunStep(static_cast<TOperationStepEvent*>(event)->Step());
  --holds_;
  EndChainUnlessRunning();
}

void TOperation::RunStep(const TOperationStep& message) {
  if (cancelled_) {
    report_.AddLog(kCancelledLine, TLogColour::Red);
    return;
  }
  if (failed_) return;
  int nextState = 0;
  int nextParameter = 0;
  inStep_ = true;
  try {
    const TStepTimer::TScope timing = stepTimer_.Time(message.State);
    Step(message, nextState, nextParameter);
  } catch (const ELxAbort&) {
    CancelOperation();
  } catch (const std::exception& error) {
    inStep_ = false;
    FailOperation(error);
    return;
  } catch (...) {
    inStep_ = false;
    FailOperation(ELxException("Erro desconhecido.", "Exception"));
    return;
  }
  inStep_ = false;
  if (nextState != 0) PostStep(message.Msg, nextState, nextParameter);
}

void TOperation::FailOperation(const std::exception& error) {
  failed_ = true;
  // A request the step had started must not post its step after the failure.
  AbortRequests();
  SetFinished(true);
  report_.AddLogFmt(TLogColour::Red, TLogStyle::Bold, kExceptionLineFormat, ExceptionClassName(error).c_str());
  report_.AddLog(error.what(), TLogColour::Red);
  report_.View().ShowError(error);
}

void TOperation::EndChainUnlessRunning() {
  if (Running()) return;
  // A failed request ends the operation as a failed step does.
  if (failed_) SetFinished(true);
  if (finished_ && !ended_) {
    ended_ = true;
    OperationEnded();
  }
  emit ChainEnded();
}

bool TOperation::Running() const {
  return holds_ > 0 || stepQueued_ || inStep_ || RequestsRunning();
}

void TOperation::CancelOperation() {
  SetCancelled(true);
  SetFinished(true);
  // A server that stalls must not hold the cancel until its timeout.
  AbortRequests();
  // Nothing queued will tell the end of an idle operation.
  EndChainUnlessRunning();
}

void TOperation::StopOperation() {
  failed_ = true;
  SetFinished(true);
  AbortRequests();
  EndChainUnlessRunning();
}

void TOperation::SetCancelled(bool cancelled) {
  if (cancelled_ == cancelled) return;
  cancelled_ = cancelled;
  report_.View().OperationStateChanged();
}

void TOperation::SetFinished(bool finished) {
  if (finished_ == finished) return;
  finished_ = finished;
  report_.View().OperationStateChanged();
}

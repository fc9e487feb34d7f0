#include "Operation.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <cxxabi.h>
#include <typeinfo>

#include <QCoreApplication>

#include "ConfigUnit.h"
#include "HeaderLines.h"
#include "LxFileStream.h"
#include "LxLineIO.h"
#include "OperationView.h"
#include "THttpCli.h"
#include "TOMOTree.h"

namespace {

// The operations alive in this process, for the class-level UpdateKind.
std::vector<const TOperation*>& LiveOperations() {
  static std::vector<const TOperation*> operations;
  return operations;
}

}  // namespace

TUpdateKindNotifier& UpdateKindNotifier() {
  static TUpdateKindNotifier notifier;
  return notifier;
}

std::string ExceptionClassName(const std::exception& error) {
  if (const auto* own = dynamic_cast<const ELxException*>(&error)) return own->ClassName();
  int status = 0;
  char* demangled = abi::__cxa_demangle(typeid(error).name(), nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : typeid(error).name();
  std::free(demangled);
  return name;
}

TOperation::TOperation(QObject* parent)
    : QObject(parent),
      silentView_(std::make_unique<TOperationView>()),
      view_(silentView_.get()),
      httpCli_(std::make_unique<THttpCli>()) {
  LiveOperations().push_back(this);
  THttpCli& http = *httpCli_;
  http.SetAgent(kAgent);
  http.SetAccept(kAccept);
  http.SetNoCache(false);
  http.SetProxy(Config().GetString(ProxyServer));
  http.SetProxyPort(Config().GetString(ProxyPort));
  http.SetProxyUsername(Config().GetString(ProxyUserName));
  http.SetProxyPassword(Config().GetString(ProxyPassword));
  connect(&http, &THttpCli::DocBegin, this, &TOperation::HttpCliDocBegin);
  connect(&http, &THttpCli::DocData, this, &TOperation::HttpCliDocData);
  connect(&http, &THttpCli::DocEnd, this, &TOperation::HttpCliDocEnd);
  connect(&http, &THttpCli::RequestDone, this, &TOperation::HttpCliRequestDone);
}

TOperation::~TOperation() {
  std::erase(LiveOperations(), this);
  // The client lets go of the receive stream before it is freed.
  httpCli_.reset();
  changedNodes_.clear();
  newTree_.reset();
  inStream_.reset();
  outStream_.reset();
  header_.clear();
  if (updateKind_ != 0) UpdateKindNotifier().Notify();
}

void TOperation::SetView(TOperationView* view) {
  view_ = view ? view : silentView_.get();
  nodes_.SetView(view);
}

TOperationView& TOperation::View() const { return *view_; }

// --- The step chain ------------------------------------------------------------

void TOperation::PostStep(int msg, int state, int parameter) {
  if (!QCoreApplication::instance()) return;
  // The chain goes on while the pending events run: a request that ends
  // among them must not take the chain for ended.
  posting_ = true;
  QCoreApplication::processEvents();
  posting_ = false;
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
  dispatching_ = true;
  RunStep(static_cast<TOperationStepEvent*>(event)->Step());
  dispatching_ = false;
  EndChainUnlessRunning();
}

void TOperation::RunStep(const TOperationStep& message) {
  if (cancelled_) {
    AddLog(kCancelledLine, TLogColour::Red);
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
  AddLogFmt(TLogColour::Red, TLogStyle::Bold, kExceptionLineFormat, ExceptionClassName(error).c_str());
  AddLog(error.what(), TLogColour::Red);
  View().ShowError(error);
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
  return posting_ || stepQueued_ || inStep_ || dispatching_ || httpCli_->Busy() || OwnRequestsRunning();
}

void TOperation::AbortRequests() { httpCli_->Abort(); }

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
  StateChanged();
}

void TOperation::SetFinished(bool finished) {
  if (finished_ == finished) return;
  finished_ = finished;
  StateChanged();
}

void TOperation::SetUpdateKind(int kind) {
  if (updateKind_ == kind) return;
  updateKind_ = kind;
  StateChanged();
  UpdateKindNotifier().Notify();
}

void TOperation::StateChanged() { View().OperationStateChanged(); }

int TOperation::ActiveUpdateKind() {
  for (const TOperation* operation : LiveOperations()) {
    if (operation->UpdateKind() != 0) return operation->UpdateKind();
  }
  return 0;
}

// --- Log, progress, stages -------------------------------------------------------

void TOperation::AddLog(const std::string& text, TLogColour colour, TLogStyle style) {
  View().AddLog(text, colour, style);
}

void TOperation::ResetProgress(int maximum) {
  progressPosition_ = 0;
  progressMaximum_ = maximum;
  View().ResetProgress(maximum);
}

void TOperation::SetProgress(std::int64_t position) {
  progressPosition_ = position;
  const std::int64_t shown = std::clamp<std::int64_t>(position, 0, std::numeric_limits<int>::max());
  View().SetProgress(static_cast<int>(shown), progressMaximum_);
}

void TOperation::SetStages(std::vector<std::string> lines) {
  stages_ = std::move(lines);
  View().ShowStages(stages_, currentStage_);
}

void TOperation::SetStageLine(int index, std::string text) {
  if (index < 0) return;
  if (static_cast<size_t>(index) >= stages_.size()) stages_.resize(static_cast<size_t>(index) + 1);
  stages_[static_cast<size_t>(index)] = std::move(text);
  View().ShowStages(stages_, currentStage_);
}

void TOperation::NextStage() {
  if (currentStage_ >= static_cast<int>(stages_.size())) return;
  ++currentStage_;
  View().ShowStages(stages_, currentStage_);
}

// --- Header and owned state -------------------------------------------------------

void TOperation::ReadHeader() {
  header_.clear();
  if (!inStream_) throw ELxAssertionFailed("Nenhum arquivo aberto para leitura do cabeçalho", "UpdateBaseUnit");
  ReadLines(*inStream_, header_);
}

int TOperation::FindHeaderLine(std::string_view name) const { return ::FindHeaderLine(header_, name); }

std::string TOperation::HeaderValue(std::string_view name) const { return ::HeaderValue(header_, name); }

void TOperation::SetInStream(std::unique_ptr<TLxStream> stream) { inStream_ = std::move(stream); }

void TOperation::SetOutStream(std::unique_ptr<TLxStream> stream) { outStream_ = std::move(stream); }

void TOperation::SetNewTree(std::unique_ptr<TTOMOTree> tree) { newTree_ = std::move(tree); }

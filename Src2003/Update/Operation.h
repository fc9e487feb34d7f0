#pragma once

// TOperation: a long operation (index build, document list refresh, update
// packages, Internet update) as a chain of steps, without any window.
//
// A subclass writes Step as a state machine over small integers. Each step
// does a bounded piece of work and says which state comes next; the
// operation posts that as an event to itself (WM_OPERATIONSTEP), so the
// program stays responsive between steps and a cancel is seen at the next
// one. It runs the same under a QApplication (behind TfrmUpdateBase) and
// under a plain QCoreApplication (pandecta-tool, tests; see RunOperation).
//
//   class TCountOperation : public TOperation {
//     void Step(const TOperationStep& message, int& nextState, int& nextParameter) override {
//       if (message.State == 1) { AddLog(": Contando", TLogColour::Blue); nextState = 2; }
//       else { AddLog("! Ok", TLogColour::Green); SetFinished(true); }    // no next state: the end
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
// A step that starts a request (HttpCli().Get()) sets no next state and
// fills SavedStep instead: the request's success posts it, its failure ends
// the chain (a failed GET logs "# Erro no download! Código do erro: 001.404").

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QObject>

#include "LxExcept.h"
#include "LxText.h"
#include "NodeList.h"
#include "OperationLog.h"
#include "OperationStep.h"
#include "StepTimer.h"

class QEvent;
class TLxFileStream;
class TLxStream;
class THttpCli;
class TOperationView;
class TTOMONode;
class TTOMOTree;

class TOperation : public QObject {
  Q_OBJECT

 public:
  // What the requests of an operation send (the transfer window's settings).
  static constexpr char kAgent[] = "Mozilla/3.0 (compatible)";
  static constexpr char kAccept[] = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";

  // Reads the proxy of its requests from the settings (ProxyServer,
  // ProxyPort, ProxyUserName, ProxyPassword), now; an empty port is 80.
  explicit TOperation(QObject* parent = nullptr);
  ~TOperation() override;
  TOperation(const TOperation&) = delete;
  TOperation& operator=(const TOperation&) = delete;

  // --- What shows it ---------------------------------------------------------
  // Not owned; nullptr: nothing shows the operation. Set it before the first
  // step.
  void SetView(TOperationView* view);
  TOperationView& View() const;

  // --- The step chain --------------------------------------------------------
  // Lets the application handle what is pending (paints, clicks, network
  // events), then posts the step, unless the application is shutting down.
  void PostStep(int msg, int state, int parameter);
  // Sets Cancelled and Finished; a request that runs is aborted.
  virtual void CancelOperation();
  // The operation stops by itself (what it worked on went away under it):
  // Failed and Finished, no cancellation line; the reason is the caller's
  // to log.
  void StopOperation();

  bool Cancelled() const { return cancelled_; }
  bool Finished() const { return finished_; }
  void SetFinished(bool finished);
  // A step raised an error, or a request failed.
  bool Failed() const { return failed_; }
  // 0 until a subclass starts an operation of a kind (updates use 1 to 4).
  int UpdateKind() const { return updateKind_; }
  void SetUpdateKind(int kind);
  // A step is queued or running, or a request runs: more will happen by
  // itself. ChainEnded is raised when this becomes false.
  bool Running() const;
  // A step is being run right now (the operation must outlive it).
  bool InStep() const { return inStep_; }
  // How long its steps took: the longest one and its state.
  const TStepTimer& StepTimes() const { return stepTimer_; }

  // The UpdateKind of the live operation that has one, else 0. The main
  // window enables its update commands by it; UpdateKindNotifier() tells
  // when it changes.
  static int ActiveUpdateKind();

  // --- Log -------------------------------------------------------------------
  void AddLog(const std::string& text, TLogColour colour, TLogStyle style = TLogStyle::Plain);
  // FormatMessage, then AddLog:
  //   AddLogFmt(TLogColour::Green, TLogStyle::Plain, "! %d documentos copiados", 3);
  template <class... TArgs>
  void AddLogFmt(TLogColour colour, TLogStyle style, const char* format, TArgs... arguments) {
    AddLog(FormatMessage(format, arguments...), colour, style);
  }

  // --- Progress --------------------------------------------------------------
  void ResetProgress(int maximum);
  // The position counts in 64 bits (an Internet update moves it by every
  // byte received, well past 2 GiB in one run); the view sees it clamped.
  void SetProgress(std::int64_t position);
  int ProgressMax() const { return progressMaximum_; }
  std::int64_t ProgressPosition() const { return progressPosition_; }

  // --- Stage list ------------------------------------------------------------
  // The lines of the stage list; the current stage stays where it is (0, the
  // first line, at creation).
  void SetStages(std::vector<std::string> lines);
  void SetStageLine(int index, std::string text);
  // The current stage moves to the next line; after the last line no stage
  // is current.
  void NextStage();
  const std::vector<std::string>& Stages() const { return stages_; }
  int CurrentStage() const { return currentStage_; }

  // --- Node list -------------------------------------------------------------
  TNodeList& Nodes() { return nodes_; }
  const TNodeList& Nodes() const { return nodes_; }
  void BeginNodeList() { nodes_.BeginNodeList(); }
  int AddNodeItem(TTOMONode* node) { return nodes_.AddNodeItem(node); }
  void EndNodeList() { nodes_.EndNodeList(); }
  void SelectNodeItem(TTOMONode* node) { nodes_.SelectNodeItem(node); }

  // --- Header lines (HeaderLines.h) ------------------------------------------
  // Clears Header and reads lines from InStream up to the first empty line or
  // the end of the stream.
  void ReadHeader();
  int FindHeaderLine(std::string_view name) const;
  std::string HeaderValue(std::string_view name) const;
  TLxStringList& Header() { return header_; }
  const TLxStringList& Header() const { return header_; }

  // --- State the steps of a subclass share ------------------------------------
  TLxStream* InStream() const { return inStream_.get(); }
  void SetInStream(std::unique_ptr<TLxStream> stream);
  TLxStream* OutStream() const { return outStream_.get(); }
  void SetOutStream(std::unique_ptr<TLxStream> stream);
  // The file the next body is written to (or the package a subclass reads).
  const std::string& LocalFile() const { return localFile_; }
  void SetLocalFile(std::string file) { localFile_ = std::move(file); }
  // The step a successful request posts.
  TOperationStep& SavedStep() { return savedStep_; }
  // Body bytes received since the subclass last reset it.
  std::int64_t BatchBytes() const { return batchBytes_; }
  void SetBatchBytes(std::int64_t bytes) { batchBytes_ = bytes; }
  int DocumentCount() const { return documentCount_; }
  void SetDocumentCount(int count) { documentCount_ = count; }
  // Nodes for the subclass (not owned).
  std::vector<TTOMONode*>& ChangedNodes() { return changedNodes_; }
  TTOMOTree* NewTree() const { return newTree_.get(); }
  void SetNewTree(std::unique_ptr<TTOMOTree> tree);

  // --- Transfers -------------------------------------------------------------
  THttpCli& HttpCli() const { return *httpCli_; }
  // The client's events. Begin: LocalFile is created (replacing a file of
  // that name) and receives the body; URL, file and size are logged.
  void HttpCliDocBegin();
  // A piece of the body: progress and BatchBytes move on by `length`; a
  // cancelled operation aborts the request.
  void HttpCliDocData(const char* buffer, int length);
  // The whole body: "  Encerrado: <URL>", an empty line, LocalFile closed.
  void HttpCliDocEnd();
  // Success posts SavedStep. A failure ends the chain, and a LocalFile
  // begun by this request is deleted: a torn body is nobody's document.
  void HttpCliRequestDone(int requestKind, int error);
  // Detaches the receive stream from the client and closes its file
  // (raising when the file system refuses the last bytes).
  void CloseReceiveStream();
  // Expands tomoidxz.dat of the download folder (setting DownloadFolder)
  // into tomoidx.dat beside it, logging both sizes in KiB.
  void DecompressIndexFile();
  // The same for the tomoidxz.dat of `folder`.
  void DecompressIndexFile(const std::string& folder);

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

  // Requests of a subclass's own besides HttpCli's: they keep the operation
  // Running, and AbortRequests ends them.
  virtual bool OwnRequestsRunning() const { return false; }
  // Ends every running request (a cancel, a failed step).
  virtual void AbortRequests();
  // A request that failed ends the chain: "# Erro no download! Código do
  // erro: 001.404" and the error in words on the detail line.
  void ReportFailedRequest(int requestKind, int error, const std::string& errorText);
  // Raises ChainEnded when nothing more will happen by itself.
  void EndChainUnlessRunning();
  // The operation is over (finished, failed or cancelled) and no step or
  // request runs. Must not raise.
  virtual void OperationEnded() {}

 private:
  void RunStep(const TOperationStep& message);
  // The handling of a step that raised: log, error display, Finished.
  void FailOperation(const std::exception& error);
  void SetCancelled(bool cancelled);
  void StateChanged();
  // After a failed transfer: closes the receive stream without raising and
  // deletes LocalFile if this request created it.
  void DiscardReceivedFile();
  // The words for a failed request's error.
  std::string ErrorTextOf(int error) const;

  std::unique_ptr<TOperationView> silentView_;
  TOperationView* view_;

  bool cancelled_ = false;
  bool finished_ = false;
  bool failed_ = false;
  int updateKind_ = 0;
  bool stepQueued_ = false;
  bool posting_ = false;
  bool inStep_ = false;
  bool ended_ = false;
  bool dispatching_ = false;
  TStepTimer stepTimer_;

  std::int64_t progressPosition_ = 0;
  int progressMaximum_ = 0;
  std::vector<std::string> stages_;
  int currentStage_ = 0;
  TNodeList nodes_;

  // Owned state for the subclasses, freed in this order.
  std::vector<TTOMONode*> changedNodes_;
  std::unique_ptr<TTOMOTree> newTree_;
  std::unique_ptr<TLxStream> inStream_;
  std::unique_ptr<TLxStream> outStream_;
  TLxStringList header_;

  int documentCount_ = 0;
  std::int64_t batchBytes_ = 0;
  std::string localFile_;
  TOperationStep savedStep_;

  // The file a body is being written to, and whether the running request
  // created it. The client only borrows it, so the client goes first.
  std::unique_ptr<TLxFileStream> receiveStream_;
  bool receiveFileCreated_ = false;
  std::unique_ptr<THttpCli> httpCli_;
};

// Raises UpdateKindChanged whenever the UpdateKind of a live operation
// changes or an operation with a kind goes away.
class TUpdateKindNotifier : public QObject {
  Q_OBJECT

 signals:
  void UpdateKindChanged();

 private:
  friend class TOperation;
  void Notify() { emit UpdateKindChanged(); }
};
TUpdateKindNotifier& UpdateKindNotifier();

// The class name a log line shows for an error: ELxException's own name,
// else the demangled C++ type ("std::bad_alloc").
std::string ExceptionClassName(const std::exception& error);

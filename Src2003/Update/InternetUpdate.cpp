#include "InternetUpdate.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "ConfigUnit.h"
#include "DocumentFetcher.h"
#include "DocumentFileName.h"
#include "ExpandIndexFile.h"
#include "InstalledCollection.h"
#include "LxCodePage.h"
#include "LxFilUtl.h"
#include "TOMOIndexFormat.h"
#include "TOMOTree.h"
#include "THttpCli.h"

namespace {

constexpr int kBytesPerKiB = 1024;
constexpr std::int64_t kBytesPerMiB = 1024 * 1024;
// A received document may outgrow the size the server's tree records (the
// size of an older measure) by this much before it is refused.
constexpr std::int64_t kDocumentGrowthFactor = 2;
constexpr std::int64_t kDocumentMarginBytes = 1 * kBytesPerMiB;
// No document is received past this size, recorded or not: a body of more
// than 64 MiB is refused by every reader anyway.
constexpr std::int64_t kMaxReceivedDocumentBytes = 80 * kBytesPerMiB;

// The most a server may send for a document whose tree records
// `recordedSize` bytes (0: never measured).
std::int64_t DocumentDownloadLimit(std::int32_t recordedSize) {
  if (recordedSize <= 0) return kMaxReceivedDocumentBytes;
  return std::min(kDocumentGrowthFactor * recordedSize + kDocumentMarginBytes, kMaxReceivedDocumentBytes);
}

}  // namespace

TInternetUpdate::TInternetUpdate(TInstalledCollection& collection, TWordIndex* wordIndex, QObject* parent)
    : TUpdateOperation(collection, wordIndex, parent), transfer_(*this) {}

// The fetcher's requests go before the transfer whose client they copied.
TInternetUpdate::~TInternetUpdate() { fetcher_.reset(); }

std::string TInternetUpdate::UpdateURL() const {
  return updateURL_.empty() ? Config().GetString(::UpdateURL) : updateURL_;
}

void TInternetUpdate::Start() {
  SetUpdateKind(TUpdateKind::Internet);
  PostStep(WM_OPERATIONSTEP, static_cast<int>(TState::IndexSize), 0);
}

std::string TInternetUpdate::LowerCaseURL(std::string url) {
  for (char& c : url) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return url;
}

std::string TInternetUpdate::DocumentURL(const std::string& base, std::int32_t number) {
  return LowerCaseURL(DocumentFileName(base, number));
}

std::string TInternetUpdate::ReceivedDocumentName(std::int32_t number) {
  return FormatMessage("Doc%.5d.dat", number);
}

// --- The states ------------------------------------------------------------------------

void TInternetUpdate::Step(const TOperationStep& message, int& nextState, int& nextParameter) {
  nextState = static_cast<int>(Run(static_cast<TState>(message.State), message.Parameter, nextParameter));
}

TInternetUpdate::TState TInternetUpdate::Run(TState state, int parameter, int& nextParameter) {
  using TWork = TState (TInternetUpdate::*)(int parameter, int& nextParameter);
  // The work of each state, in the order of TState from IndexSize on.
  static constexpr TWork kWork[] = {&TInternetUpdate::IndexSizeStep,  &TInternetUpdate::IndexTransferStep,
                                    &TInternetUpdate::UpdateListStep, &TInternetUpdate::DownloadStep,
                                    &TInternetUpdate::InstallBatchStep, &TInternetUpdate::EndStep,
                                    &TInternetUpdate::InstallReceivedStep, &TInternetUpdate::IndexReceivedStep,
                                    &TInternetUpdate::BuildListStep};
  const auto first = static_cast<std::ptrdiff_t>(TState::IndexSize);
  const auto index = static_cast<std::ptrdiff_t>(state) - first;
  if (index < 0 || index >= std::ssize(kWork)) return TState::None;
  return (this->*kWork[index])(parameter, nextParameter);
}

TInternetUpdate::TState TInternetUpdate::IndexSizeStep(int, int&) {
  ForceDirectories(DownloadFolder());
  transfer_.SetLocalFile(PathJoin(DownloadFolder(), kCompressedIndexFileName));
  const std::string url = LowerCaseURL(PathJoin(UpdateURL(), kCompressedIndexFileName));
  transfer_.SavedStep() = {WM_OPERATIONSTEP, static_cast<int>(TState::IndexTransfer), 0, 0};
  Report().AddLog(": Verificando tamanho do arquivo de índice...", TLogColour::Blue);
  Report().AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  URL: %s", url.c_str());
  transfer_.HttpCli().SetURL(url);
  transfer_.HttpCli().Head();
  return TState::None;
}

TInternetUpdate::TState TInternetUpdate::IndexTransferStep(int, int&) {
  TOperationReport& report = Report();
  THttpCli& http = transfer_.HttpCli();
  transfer_.SavedStep() = {WM_OPERATIONSTEP, static_cast<int>(TState::UpdateList), 0, 0};
  // A server that gives no size leaves the bar unscaled rather than negative.
  const std::int64_t length = std::min(http.ContentLength(), kMaxCompressedTreeBytes);
  report.ResetProgress(length > 0 ? static_cast<int>(length) : 0);
  report.AddLogFmt(TLogColour::Green, TLogStyle::Plain, "! Tamanho do arquivo de índice: %d KiB",
                   report.ProgressMax() / kBytesPerKiB);
  report.AddLog(": Transferindo arquivo de índice...", TLogColour::Blue);
  http.SetMaxBodyBytes(kMaxCompressedTreeBytes);
  http.Get();
  return TState::None;
}

// The received tree is expanded in one step and read and compared in the
// next, so that neither holds the program for long on a large tree.
TInternetUpdate::TState TInternetUpdate::UpdateListStep(int, int&) {
  Report().AddLog("! Arquivo de índice recebido.", TLogColour::Green);
  transfer_.DecompressIndexFile(DownloadFolder());
  return TState::BuildList;
}

TInternetUpdate::TState TInternetUpdate::BuildListStep(int, int& nextParameter) {
  TOperationReport& report = Report();
  report.AddLog(": Criando lista de documentos a serem atualizados...", TLogColour::Blue);
  BuildUpdateList();
  report.AddLogFmt(TLogColour::Green, TLogStyle::Plain, "! Documentos a serem atualizados: %d", DocumentCount());
  report.AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Total de bytes a serem transferidos: %lld",
                   static_cast<long long>(TotalTransferBytes()));
  report.AddLog("", TLogColour::WindowText);
  if (DocumentCount() >= 1) {
    report.AddLog(": Transferindo documentos...", TLogColour::Blue, TLogStyle::Bold);
    report.AddLog("", TLogColour::WindowText);
    transfer_.SetBatchBytes(0);
    StartDocumentFetcher();
    report.NextStage();
    nextParameter = 0;
    return TState::Download;
  }
  if (!ChangedNodes().empty()) {
    nextParameter = static_cast<int>(ChangedNodes().size());
    return TState::InstallBatch;
  }
  report.AddLog("! Nada a atualizar.", TLogColour::Green);
  report.Nodes().SetCaption(0, kNothingToUpdate);
  report.NextStage();
  return TState::End;
}

TInternetUpdate::TState TInternetUpdate::DownloadStep(int index, int& nextParameter) {
  RequestAhead(index);
  const int count = static_cast<int>(ChangedNodes().size());
  // The documents are taken in the order of the list, whatever order they
  // arrive in: the log and the batches are those of one request at a time.
  while (index < count && transfer_.BatchBytes() <= kBatchLimitBytes) {
    TTOMONode* node = ChangedNodes()[index];
    const std::int32_t number = node->Record().DocumentNumber;
    if (DocumentToFetch(number) == node) {
      const TFetchResult* result = fetcher_->Result(number);
      if (!result) {
        // Its arrival posts this step again.
        waitingIndex_ = index;
        return TState::None;
      }
      if (!TakeReceivedDocument(*node, *result)) return TState::None;
      if (Cancelled()) {
        // The next step message tells of the cancel.
        nextParameter = index + 1;
        return TState::Download;
      }
    }
    ++index;
  }
  nextParameter = index;
  return TState::InstallBatch;
}

TInternetUpdate::TState TInternetUpdate::InstallBatchStep(int count, int& nextParameter) {
  batchCount_ = std::min(count, static_cast<int>(ChangedNodes().size()));
  if (DocumentCount() > 0) Report().AddLog(": Copiando documentos...", TLogColour::Blue);
  return InstallReceivedStep(0, nextParameter);
}

// Every document of the batch is in place before any node is merged: a
// failed copy leaves the tree in memory as it was, and nothing of the batch
// reaches the tree file. One document a step.
TInternetUpdate::TState TInternetUpdate::InstallReceivedStep(int index, int& nextParameter) {
  for (; index < batchCount_; ++index) {
    TTOMONode* node = ChangedNodes()[index];
    const std::int32_t number = node->Record().DocumentNumber;
    if (DocumentToFetch(number) != node) continue;
    Installer().InstallReceivedFile(PathJoin(DownloadFolder(), ReceivedDocumentName(number)), number);
    batchDocuments_.push_back(node);
    if (index + 1 < batchCount_) {
      nextParameter = index + 1;
      return TState::InstallReceived;
    }
  }
  MergeInstalledBatch();
  nextParameter = 0;
  return TState::IndexReceived;
}

void TInternetUpdate::MergeInstalledBatch() {
  TOperationReport& report = Report();
  const int count = batchCount_;
  TInstalledCollection& collection = Installer().Collection();
  if (collection.Tree()) {
    for (int i = 0; i < count; ++i) collection.MergeNode(*ChangedNodes()[i]);
  }
  ChangedNodes().erase(ChangedNodes().begin(), ChangedNodes().begin() + count);
  requestCursor_ = std::max(0, requestCursor_ - count);
  batchCount_ = 0;
  if (DocumentCount() > 0) {
    report.AddLogFmt(TLogColour::Green, TLogStyle::Plain, "! %d documentos copiados",
                     static_cast<int>(batchDocuments_.size()));
  }
  report.AddLog(": Atualizando índice...", TLogColour::Blue);
  for (const TTOMONode* node : batchDocuments_) bytesSinceTreeSave_ += node->Record().DocumentSize;
  if (Installer().Collection().Tree()) {
    if (TreeSaveDue()) SaveInstalledTree();
  } else if (ChangedNodes().empty()) {
    // A data folder without a base takes the server's tree once every
    // document it lists has arrived.
    Installer().TakeNewTree(*NewTree());
  }
  ++batchesInstalled_;
  report.AddLog("! Índice atualizado.", TLogColour::Green);
  Installer().OpenIndexUpdate();
}

// The batch's documents enter the word index one a step (two for the
// reading of its text and the indexing).
TInternetUpdate::TState TInternetUpdate::IndexReceivedStep(int index, int& nextParameter) {
  const int count = static_cast<int>(batchDocuments_.size());
  if (index < count) {
    if (!Installer().IndexDocumentPart(*batchDocuments_[index])) {
      nextParameter = index;
      return TState::IndexReceived;
    }
    if (index + 1 < count) {
      nextParameter = index + 1;
      return TState::IndexReceived;
    }
  }
  batchDocuments_.clear();
  Report().AddLog("", TLogColour::WindowText);
  transfer_.SetBatchBytes(0);
  return ChangedNodes().empty() ? TState::End : TState::Download;
}

TInternetUpdate::TState TInternetUpdate::EndStep(int, int&) {
  // The title words follow once, for the whole installed tree; an update
  // with nothing to do leaves the index alone.
  if (batchesInstalled_ > 0) Installer().IndexTitles();
  Report().NextStage();
  SetFinished(true);
  Report().AddLog("!! Atualização concluída com êxito.", TLogColour::Green, TLogStyle::Bold);
  return TState::None;
}

// --- The documents in flight ---------------------------------------------------------------

void TInternetUpdate::RequestAhead(int index) {
  if (!fetcher_ || Cancelled() || Failed()) return;
  const int count = static_cast<int>(ChangedNodes().size());
  requestCursor_ = std::max(requestCursor_, index);
  for (; requestCursor_ < count && fetcher_->CanStart(); ++requestCursor_) {
    TTOMONode* node = ChangedNodes()[requestCursor_];
    const std::int32_t number = node->Record().DocumentNumber;
    if (DocumentToFetch(number) != node) continue;
    fetcher_->Start(number, DocumentURL(UpdateURL(), number),
                    PathJoin(DownloadFolder(), ReceivedDocumentName(number)),
                    DocumentDownloadLimit(node->Record().DocumentSize));
  }
}

void TInternetUpdate::StartDocumentFetcher() {
  fetcher_ = std::make_unique<TDocumentFetcher>(requestsInFlight_);
  fetcher_->Configure(transfer_.HttpCli());
  requestCursor_ = 0;
  waitingIndex_ = -1;
  bytesSinceTreeSave_ = 0;
  lastTreeSave_ = std::chrono::steady_clock::now();
  connect(fetcher_.get(), &TDocumentFetcher::Received, this,
          [this](int length) { Report().SetProgress(Report().ProgressPosition() + length); });
  connect(fetcher_.get(), &TDocumentFetcher::Arrived, this, &TInternetUpdate::DocumentArrived);
}

void TInternetUpdate::DocumentArrived() {
  if (Cancelled() || Failed()) {
    fetcher_->AbortAll();
  } else {
    RequestAhead(requestCursor_);
  }
  if (waitingIndex_ >= 0 && !Failed()) {
    const int index = waitingIndex_;
    waitingIndex_ = -1;
    PostStep(WM_OPERATIONSTEP, static_cast<int>(TState::Download), index);
    return;
  }
  EndChainUnlessRunning();
}

bool TInternetUpdate::TakeReceivedDocument(TTOMONode& node, const TFetchResult& result) {
  TOperationReport& report = Report();
  const std::int32_t number = node.Record().DocumentNumber;
  report.Nodes().SelectNodeItem(&node);
  report.AddLogFmt(TLogColour::Blue, TLogStyle::Plain, "  (%.4d): %s", number,
                   Win1252ToUtf8(node.Record().Title).c_str());
  if (result.BodyBegun) {
    report.AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  URL: %s", result.Url.c_str());
    report.AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Arquivo Local: %s", result.File.c_str());
    report.AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Tamanho: %d KiB",
                     static_cast<int>(result.ContentLength / kBytesPerKiB));
  }
  if (!result.Succeeded()) {
    // What came after it is nobody's business any more.
    fetcher_->AbortAll();
    // The batches installed so far are whole: the tree lists them, so the
    // next update does not fetch them again.
    SaveInstalledTree();
    if (result.LocalFailure) std::rethrow_exception(result.LocalFailure);
    transfer_.ReportFailedRequest(httpRequestGet, result.Error, result.ErrorText);
    return false;
  }
  report.AddLogFmt(TLogColour::Green, TLogStyle::Plain, "  Encerrado: %s", result.Url.c_str());
  report.AddLog("", TLogColour::WindowText);
  transfer_.SetBatchBytes(transfer_.BatchBytes() + result.Bytes);
  fetcher_->Forget(number);
  return true;
}

bool TInternetUpdate::RequestsRunning() const {
  return transfer_.HttpCli().Busy() || (fetcher_ && fetcher_->InFlight() > 0);
}

void TInternetUpdate::AbortRequests() {
  transfer_.HttpCli().Abort();
  if (fetcher_) fetcher_->AbortAll();
}

// --- The commit point ------------------------------------------------------------------------

bool TInternetUpdate::TreeSaveDue() {
  return ChangedNodes().empty() || bytesSinceTreeSave_ >= kTreeSaveBytes ||
         std::chrono::steady_clock::now() - lastTreeSave_ >= kTreeSaveInterval;
}

void TInternetUpdate::SaveInstalledTree() {
  if (Installer().SaveTree()) ++treeSaves_;
  bytesSinceTreeSave_ = 0;
  lastTreeSave_ = std::chrono::steady_clock::now();
}

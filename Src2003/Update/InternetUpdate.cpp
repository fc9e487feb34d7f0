// The Internet update of TUpdateOperation (kind 1): states 20 to 27.
//
// 20 HEAD of tomoidxz.dat -> 21 GET of it -> 22 the list -> 23 one download
// per step until a batch holds more than kBatchLimitBytes -> 24 install the
// batch (26: one document a step), merge the nodes the walk passed and save
// the tree when due, then index (27: one document a step) -> 23 ... -> 25
// the end. The installed tree file changes only once every document of the
// batch is in place, so an interrupted update leaves a base
// whose tree lists only complete documents, and the next update fetches what
// is still older than the server's.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "ConfigUnit.h"
#include "DocumentFetcher.h"
#include "DocumentFileName.h"
#include "ExpandIndexFile.h"
#include "FileReplace.h"
#include "InstalledCollection.h"
#include "LxCodePage.h"
#include "LxFilUtl.h"
#include "LxFileStream.h"
#include "LxStreamErrors.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentFile.h"
#include "TOMOIndexFormat.h"
#include "TOMOTree.h"
#include "THttpCli.h"
#include "UpdateOperation.h"

namespace {

constexpr int kBytesPerKiB = 1024;
// How much of a received document's body is decoded at a time while it is checked.
constexpr std::int32_t kCheckChunkBytes = 64 * 1024;
constexpr char kCopyErrorFormat[] = "Erro ao copiar arquivo \"%s\" para \"%s\". ";
constexpr char kTempSuffix[] = ".tmp";
constexpr char kNewSuffix[] = ".new";
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

// Reads the body as every reader of documents will, then decodes the rest
// of it: an error page, a truncated or garbled file, or a body without its
// size raises here, before it can replace anything.
void CheckReadsWhole(const std::string& file) {
  TTOMODocumentFile document(file, false);
  TLxStream& body = document.OpenRead();
  const TTOMODocumentBody parsed = ReadDocumentBody(body);
  if (parsed.Values.Values(kBodySizeValue).empty()) {
    throw ELxException(FormatMessage("Formato de arquivo inválido. Nome do arquivo: %s", file.c_str()));
  }
  std::vector<char> buffer(kCheckChunkBytes);
  for (std::int32_t left = body.Size() - body.Position(); left > 0;) {
    const std::int32_t count = std::min(left, kCheckChunkBytes);
    body.ReadBuffer(buffer.data(), count);
    left -= count;
  }
  document.CloseDocument();
}

// Copies `source` to `target` and puts the copy on the disk before anyone
// renames it over a stored document: a power cut then finds the old
// document or the whole new one, never an empty file.
void CopyDurably(const std::string& source, const std::string& target) {
  TLxFileStream in(source, TLxFileMode::OpenRead);
  TLxFileStream out(target, TLxFileMode::Create);
  if (in.Size() > 0) out.CopyFrom(in, 0);
  out.Sync();
  out.Close();
}

}  // namespace

std::string TUpdateOperation::UpdateURL() const {
  return updateURL_.empty() ? Config().GetString(::UpdateURL) : updateURL_;
}

void TUpdateOperation::StartInternet() {
  SetUpdateKind(kKindInternet);
  PostStep(WM_OPERATIONSTEP, kStateIndexSize, 0);
}

std::string TUpdateOperation::LowerCaseURL(std::string url) {
  for (char& c : url) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return url;
}

std::string TUpdateOperation::DocumentURL(const std::string& base, std::int32_t number) {
  return LowerCaseURL(DocumentFileName(base, number));
}

std::string TUpdateOperation::ReceivedDocumentName(std::int32_t number) {
  return FormatMessage("Doc%.5d.dat", number);
}

std::int64_t TUpdateOperation::TotalTransferBytes() const {
  std::int64_t total = 0;
  for (const auto& [number, node] : documentsToFetch_) total += node->Record().DocumentSize;
  return total;
}

void TUpdateOperation::IndexSizeStep() {
  ForceDirectories(DownloadFolder());
  SetLocalFile(PathJoin(DownloadFolder(), kCompressedIndexFileName));
  const std::string url = LowerCaseURL(PathJoin(UpdateURL(), kCompressedIndexFileName));
  SavedStep() = {WM_OPERATIONSTEP, kStateIndexTransfer, 0, 0};
  AddLog(": Verificando tamanho do arquivo de índice...", TLogColour::Blue);
  AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  URL: %s", url.c_str());
  HttpCli().SetURL(url);
  HttpCli().Head();
}

void TUpdateOperation::IndexTransferStep() {
  SavedStep() = {WM_OPERATIONSTEP, kStateUpdateList, 0, 0};
  // A server that gives no size leaves the bar unscaled rather than negative.
  const std::int64_t length = std::min(HttpCli().ContentLength(), kMaxCompressedTreeBytes);
  ResetProgress(length > 0 ? static_cast<int>(length) : 0);
  AddLogFmt(TLogColour::Green, TLogStyle::Plain, "! Tamanho do arquivo de índice: %d KiB", ProgressMax() / kBytesPerKiB);
  AddLog(": Transferindo arquivo de índice...", TLogColour::Blue);
  HttpCli().SetMaxBodyBytes(kMaxCompressedTreeBytes);
  HttpCli().Get();
}

int TUpdateOperation::UpdateListStep(int& nextParameter) {
  AddLog("! Arquivo de índice recebido.", TLogColour::Green);
  DecompressIndexFile(DownloadFolder());
  AddLog(": Criando lista de documentos a serem atualizados...", TLogColour::Blue);
  BuildUpdateList();
  AddLogFmt(TLogColour::Green, TLogStyle::Plain, "! Documentos a serem atualizados: %d", DocumentCount());
  AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Total de bytes a serem transferidos: %lld",
            static_cast<long long>(TotalTransferBytes()));
  AddLog("", TLogColour::WindowText);
  if (DocumentCount() >= 1) {
    AddLog(": Transferindo documentos...", TLogColour::Blue, TLogStyle::Bold);
    AddLog("", TLogColour::WindowText);
    SetBatchBytes(0);
    StartDocumentFetcher();
    NextStage();
    nextParameter = 0;
    return kStateDownload;
  }
  if (!ChangedNodes().empty()) {
    nextParameter = static_cast<int>(ChangedNodes().size());
    return kStateInstallBatch;
  }
  AddLog("! Nada a atualizar.", TLogColour::Green);
  Nodes().SetCaption(0, kNothingToUpdate);
  NextStage();
  return kStateInternetEnd;
}

int TUpdateOperation::DownloadStep(int index, int& nextParameter) {
  RequestAhead(index);
  const int count = static_cast<int>(ChangedNodes().size());
  // The documents are taken in the order of the list, whatever order they
  // arrive in: the log and the batches are those of one request at a time.
  while (index < count && BatchBytes() <= kBatchLimitBytes) {
    TTOMONode* node = ChangedNodes()[index];
    const std::int32_t number = node->Record().DocumentNumber;
    if (DocumentToFetch(number) == node) {
      const TFetchResult* result = fetcher_->Result(number);
      if (!result) {
        // Its arrival posts this step again.
        waitingIndex_ = index;
        return 0;
      }
      if (!TakeReceivedDocument(*node, *result)) return 0;
      if (Cancelled()) {
        // The next step message tells of the cancel.
        nextParameter = index + 1;
        return kStateDownload;
      }
    }
    ++index;
  }
  nextParameter = index;
  return kStateInstallBatch;
}

void TUpdateOperation::RequestAhead(int index) {
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

void TUpdateOperation::StartDocumentFetcher() {
  fetcher_ = std::make_unique<TDocumentFetcher>(requestsInFlight_);
  fetcher_->Configure(HttpCli());
  requestCursor_ = 0;
  waitingIndex_ = -1;
  bytesSinceTreeSave_ = 0;
  lastTreeSave_ = std::chrono::steady_clock::now();
  connect(fetcher_.get(), &TDocumentFetcher::Received, this,
          [this](int length) { SetProgress(ProgressPosition() + length); });
  connect(fetcher_.get(), &TDocumentFetcher::Arrived, this, &TUpdateOperation::DocumentArrived);
}

void TUpdateOperation::DocumentArrived() {
  if (Cancelled() || Failed()) {
    fetcher_->AbortAll();
  } else {
    RequestAhead(requestCursor_);
  }
  if (waitingIndex_ >= 0 && !Failed()) {
    const int index = waitingIndex_;
    waitingIndex_ = -1;
    PostStep(WM_OPERATIONSTEP, kStateDownload, index);
    return;
  }
  EndChainUnlessRunning();
}

bool TUpdateOperation::TakeReceivedDocument(TTOMONode& node, const TFetchResult& result) {
  const std::int32_t number = node.Record().DocumentNumber;
  SelectNodeItem(&node);
  AddLogFmt(TLogColour::Blue, TLogStyle::Plain, "  (%.4d): %s", number, Win1252ToUtf8(node.Record().Title).c_str());
  if (result.BodyBegun) {
    AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  URL: %s", result.Url.c_str());
    AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Arquivo Local: %s", result.File.c_str());
    AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Tamanho: %d KiB",
              static_cast<int>(result.ContentLength / kBytesPerKiB));
  }
  if (!result.Succeeded()) {
    // What came after it is nobody's business any more.
    fetcher_->AbortAll();
    // The batches installed so far are whole: the tree lists them, so the
    // next update does not fetch them again.
    SaveInstalledTree();
    if (result.LocalFailure) std::rethrow_exception(result.LocalFailure);
    ReportFailedRequest(httpRequestGet, result.Error, result.ErrorText);
    return false;
  }
  AddLogFmt(TLogColour::Green, TLogStyle::Plain, "  Encerrado: %s", result.Url.c_str());
  AddLog("", TLogColour::WindowText);
  SetBatchBytes(BatchBytes() + result.Bytes);
  fetcher_->Forget(number);
  return true;
}

bool TUpdateOperation::OwnRequestsRunning() const { return fetcher_ && fetcher_->InFlight() > 0; }

void TUpdateOperation::AbortRequests() {
  TOperation::AbortRequests();
  if (fetcher_) fetcher_->AbortAll();
}

int TUpdateOperation::InstallBatchStep(int count, int& nextParameter) {
  batchCount_ = std::min(count, static_cast<int>(ChangedNodes().size()));
  if (DocumentCount() > 0) AddLog(": Copiando documentos...", TLogColour::Blue);
  return InstallReceivedStep(0, nextParameter);
}

// Every document of the batch is in place before any node is merged: a
// failed copy leaves the tree in memory as it was, and nothing of the batch
// reaches the tree file. One document a step.
int TUpdateOperation::InstallReceivedStep(int index, int& nextParameter) {
  for (; index < batchCount_; ++index) {
    TTOMONode* node = ChangedNodes()[index];
    if (DocumentToFetch(node->Record().DocumentNumber) != node) continue;
    InstallReceivedDocument(*node);
    batchDocuments_.push_back(node);
    if (index + 1 < batchCount_) {
      nextParameter = index + 1;
      return kStateInstallReceived;
    }
  }
  MergeInstalledBatch();
  nextParameter = 0;
  return kStateIndexReceived;
}

void TUpdateOperation::MergeInstalledBatch() {
  const int count = batchCount_;
  if (collection_.Tree()) {
    for (int i = 0; i < count; ++i) collection_.MergeNode(*ChangedNodes()[i]);
  }
  ChangedNodes().erase(ChangedNodes().begin(), ChangedNodes().begin() + count);
  requestCursor_ = std::max(0, requestCursor_ - count);
  batchCount_ = 0;
  if (DocumentCount() > 0) {
    AddLogFmt(TLogColour::Green, TLogStyle::Plain, "! %d documentos copiados", static_cast<int>(batchDocuments_.size()));
  }
  AddLog(": Atualizando índice...", TLogColour::Blue);
  for (const TTOMONode* node : batchDocuments_) bytesSinceTreeSave_ += node->Record().DocumentSize;
  if (collection_.Tree()) {
    if (TreeSaveDue()) SaveInstalledTree();
  } else if (ChangedNodes().empty()) {
    // A data folder without a base takes the server's tree once every
    // document it lists has arrived.
    CloseIndexUpdate();
    durableInstalls_.Flush();
    NewTree()->SaveToFile(collection_.DataFolder());
    collection_.LoadTree();
  }
  ++batchesInstalled_;
  AddLog("! Índice atualizado.", TLogColour::Green);
  OpenIndexUpdate();
}

// The batch's documents enter the word index one a step (two for the
// reading of its text and the indexing).
int TUpdateOperation::IndexReceivedStep(int index, int& nextParameter) {
  if (index < static_cast<int>(batchDocuments_.size())) {
    if (!IndexDocumentPart(*batchDocuments_[index])) {
      nextParameter = index;
      return kStateIndexReceived;
    }
    if (index + 1 < static_cast<int>(batchDocuments_.size())) {
      nextParameter = index + 1;
      return kStateIndexReceived;
    }
  }
  batchDocuments_.clear();
  AddLog("", TLogColour::WindowText);
  SetBatchBytes(0);
  return ChangedNodes().empty() ? kStateInternetEnd : kStateDownload;
}

bool TUpdateOperation::TreeSaveDue() {
  return ChangedNodes().empty() || bytesSinceTreeSave_ >= kTreeSaveBytes ||
         std::chrono::steady_clock::now() - lastTreeSave_ >= kTreeSaveInterval;
}

void TUpdateOperation::SaveInstalledTree() {
  if (collection_.Tree() && collection_.Tree()->Modified()) {
    // The save rebuilds the title words through a lock of its own, so the
    // update lets go of the index first; and every document the tree is
    // about to list is on the disk before it.
    CloseIndexUpdate();
    durableInstalls_.Flush();
    collection_.SaveTreeIfChanged();
    ++treeSaves_;
  }
  bytesSinceTreeSave_ = 0;
  lastTreeSave_ = std::chrono::steady_clock::now();
}

void TUpdateOperation::InternetEndStep() {
  // The title words follow once, for the whole installed tree; an update
  // with nothing to do leaves the index alone.
  if (batchesInstalled_ > 0) IndexTitles();
  NextStage();
  SetFinished(true);
  AddLog("!! Atualização concluída com êxito.", TLogColour::Green, TLogStyle::Bold);
}

void TUpdateOperation::InstallReceivedDocument(const TTOMONode& node) {
  const std::int32_t number = node.Record().DocumentNumber;
  const std::string source = PathJoin(DownloadFolder(), ReceivedDocumentName(number));
  const std::string target = DocumentFileName(collection_.DataFolder(), number);
  CheckReadsWhole(source);
  ForceDirectories(std::filesystem::path(target).parent_path().string());
  // The stored document's own commit: name.tmp, name.new, then name; a
  // reader completes a .new left by a crash.
  const std::string temporary = target + kTempSuffix;
  const std::string completed = target + kNewSuffix;
  try {
    CopyDurably(source, temporary);
  } catch (const std::exception&) {
    DeleteFileQuietly(temporary);
    throw ELxException(FormatMessage(kCopyErrorFormat, source.c_str(), temporary.c_str()));
  }
  if (!RenameFileQuietly(temporary, completed) || !RenameFileQuietly(completed, target)) {
    DeleteFileQuietly(temporary);
    throw ELxException(FormatMessage(kCopyErrorFormat, source.c_str(), target.c_str()));
  }
  durableInstalls_.FileSynced(target);
  DeleteFileQuietly(source);
}

// The Internet update of TUpdateOperation (kind 1): states 20 to 25.
//
// 20 HEAD of tomoidxz.dat -> 21 GET of it -> 22 the list -> 23 one download
// per step until a batch holds more than kBatchLimitBytes -> 24 install the
// batch, merge the nodes the walk passed, save the tree, index -> 23 ... ->
// 25 the end. The installed tree file changes only in 24, after every
// document of the batch is in place, so an interrupted update leaves a base
// whose tree lists only complete documents, and the next update fetches what
// is still older than the server's.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "ConfigUnit.h"
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
  const int count = static_cast<int>(ChangedNodes().size());
  if (index >= count || BatchBytes() > kBatchLimitBytes) {
    nextParameter = index;
    return kStateInstallBatch;
  }
  TTOMONode* node = ChangedNodes()[index];
  const std::int32_t number = node->Record().DocumentNumber;
  if (DocumentToFetch(number) != node) {
    nextParameter = index + 1;
    return kStateDownload;
  }
  SelectNodeItem(node);
  SavedStep() = {WM_OPERATIONSTEP, kStateDownload, index + 1, 0};
  const std::string url = DocumentURL(UpdateURL(), number);
  SetLocalFile(PathJoin(DownloadFolder(), ReceivedDocumentName(number)));
  AddLogFmt(TLogColour::Blue, TLogStyle::Plain, "  (%.4d): %s", number, Win1252ToUtf8(node->Record().Title).c_str());
  HttpCli().SetURL(url);
  HttpCli().SetMaxBodyBytes(DocumentDownloadLimit(node->Record().DocumentSize));
  HttpCli().Get();
  return 0;
}

int TUpdateOperation::InstallBatchStep(int count) {
  if (count > static_cast<int>(ChangedNodes().size())) count = static_cast<int>(ChangedNodes().size());
  if (DocumentCount() > 0) AddLog(": Copiando documentos...", TLogColour::Blue);
  // Every document of the batch is in place before any node is merged: a
  // failed copy leaves the tree in memory as it was, and nothing of the
  // batch reaches the tree file.
  for (int i = 0; i < count; ++i) {
    TTOMONode* node = ChangedNodes()[i];
    if (DocumentToFetch(node->Record().DocumentNumber) != node) continue;
    InstallReceivedDocument(*node);
    batchDocuments_.push_back(node);
  }
  if (collection_.Tree()) {
    for (int i = 0; i < count; ++i) collection_.MergeNode(*ChangedNodes()[i]);
  }
  ChangedNodes().erase(ChangedNodes().begin(), ChangedNodes().begin() + count);
  if (DocumentCount() > 0) {
    AddLogFmt(TLogColour::Green, TLogStyle::Plain, "! %d documentos copiados", static_cast<int>(batchDocuments_.size()));
  }
  AddLog(": Atualizando índice...", TLogColour::Blue);
  durableInstalls_.Flush();
  CloseIndexUpdate();
  if (collection_.Tree()) {
    collection_.SaveTreeIfChanged();
  } else if (ChangedNodes().empty()) {
    // A data folder without a base takes the server's tree once every
    // document it lists has arrived.
    NewTree()->SaveToFile(collection_.DataFolder());
    collection_.LoadTree();
  }
  ++batchesInstalled_;
  AddLog("! Índice atualizado.", TLogColour::Green);
  OpenIndexUpdate();
  for (TTOMONode* node : batchDocuments_) IndexDocument(*node);
  batchDocuments_.clear();
  AddLog("", TLogColour::WindowText);
  SetBatchBytes(0);
  return ChangedNodes().empty() ? kStateInternetEnd : kStateDownload;
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

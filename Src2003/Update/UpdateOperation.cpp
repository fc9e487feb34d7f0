#include "UpdateOperation.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "ConfigUnit.h"
#include "DocumentFetcher.h"
#include "DocumentFileName.h"
#include "DocumentText.h"
#include "ExpandIndexFile.h"
#include "InstalledCollection.h"
#include "LxCodePage.h"
#include "LxFileStream.h"
#include "LxFilUtl.h"
#include "LxLittleEndian.h"
#include "LxZLIBStream.h"
#include "Prompts.h"
#include "TOMODocumentSet.h"
#include "TOMOIndexFormat.h"
#include "TOMOTree.h"
#include "UpdateList.h"
#include "UpdatePackageFormat.h"
#include "WordIndex.h"
#include "WordIndexLockWrite.h"

namespace {

constexpr char kInvalidFormat[] = "Formato de arquivo inválido";
constexpr char kDiskPrompt[] = "Insira o disco n° %d da atualização \"%s\".";
constexpr char kQuote = '"';

std::string Utf8(const std::string& win1252) { return Win1252ToUtf8(win1252); }

std::int32_t BytesLeft(TLxStream& stream) { return stream.Size() - stream.Position(); }

}  // namespace

TUpdateOperation::TUpdateOperation(TInstalledCollection& collection, TWordIndex* wordIndex, QObject* parent)
    : TOperation(parent), collection_(collection), wordIndex_(wordIndex) {
  SetStages({"Verificando atualizações disponíveis", "Transferindo arquivos", "Operação concluída"});
  // The title words are written by the collection's save of the tree; a
  // failure there is this update's to report while it runs.
  connect(&collection_, &TInstalledCollection::TitleWordsCutShort, this, [this] {
    if (!Finished()) ReportIndexWriteFailure();
  });
}

TUpdateOperation::~TUpdateOperation() {
  installing_.reset();
  // The zlib layer reads from the package file: it goes first.
  SetInStream(nullptr);
  packageFile_.reset();
  indexLock_.reset();
}

std::string TUpdateOperation::DownloadFolder() const {
  return downloadFolder_.empty() ? Config().GetString(::DownloadFolder) : downloadFolder_;
}

std::string TUpdateOperation::PackagePathOfArgument(const std::string& argument) {
  if (argument.size() > 1 && argument.front() == kQuote && argument.back() == kQuote) {
    return argument.substr(1, argument.size() - 2);
  }
  return argument;
}

void TUpdateOperation::StartPackage(const std::string& argument) {
  SetUpdateKind(kKindPackage);
  SetLocalFile(PackagePathOfArgument(argument));
  PostStep(WM_OPERATIONSTEP, kStateStart, 0);
}

TTOMONode* TUpdateOperation::DocumentToFetch(std::int32_t number) const {
  const auto found = documentsToFetch_.find(number);
  return found == documentsToFetch_.end() ? nullptr : found->second;
}

// --- Shared pieces -------------------------------------------------------------

void TUpdateOperation::BuildUpdateList() {
  SetNewTree(nullptr);
  SetDocumentCount(0);
  ChangedNodes().clear();
  documentsToFetch_.clear();
  SetNewTree(std::make_unique<TTOMOTree>(DownloadFolder()));

  const TUpdateList list = ::BuildUpdateList(*NewTree(), collection_.Tree(), Today());
  ChangedNodes() = list.ChangedNodes;
  BeginNodeList();
  try {
    for (TTOMONode* node : list.DocumentNodes) {
      AddNodeItem(node);
      documentsToFetch_[node->Record().DocumentNumber] = node;
    }
  } catch (...) {
    EndNodeList();
    throw;
  }
  EndNodeList();
  SetDocumentCount(static_cast<int>(list.DocumentNodes.size()));
}

void TUpdateOperation::OpenIndexUpdate() {
  if (indexLockTried_) return;
  indexLockTried_ = true;
  if (!wordIndex_) return;
  try {
    if (!wordIndex_->IsOutOfDate()) indexLock_ = wordIndex_->OpenUpdate();
  } catch (const std::exception&) {
    indexLock_.reset();
    try {
      wordIndex_->MarkOutOfDate();
    } catch (const std::exception&) {
      // Nothing more can be done here; the next search reports the index.
    }
  }
}

void TUpdateOperation::CloseIndexUpdate() {
  indexLockTried_ = false;
  if (!indexLock_) return;
  std::unique_ptr<TWordIndexLockUpdate> lock = std::move(indexLock_);
  bool whole = false;
  try {
    whole = lock->Finish();
  } catch (const std::exception&) {
  }
  lock.reset();  // the marker is settled with the folder free
  const bool marked = std::exchange(markedForTitles_, false);
  if (!whole) {
    ReportIndexWriteFailure();
  } else if (marked && !indexWriteFailed_) {
    try {
      wordIndex_->MarkUpToDate();
    } catch (const std::exception&) {
      // The marker stays: the index is only taken for out of date.
    }
  }
}

void TUpdateOperation::ReportIndexWriteFailure() {
  if (indexWriteFailed_ || !wordIndex_) return;
  indexWriteFailed_ = true;
  try {
    wordIndex_->MarkOutOfDate();
  } catch (const std::exception&) {
    // A folder that refuses the marker refused the index too; the log says it.
  }
  AddLog(kIndexWriteFailedLine, TLogColour::Red);
}

void TUpdateOperation::OperationEnded() {
  // A document cut off halfway is dropped (its next reader clears what it
  // left); the stored one stays.
  installTarget_ = nullptr;
  installing_.reset();
  CloseIndexUpdate();
}

bool TUpdateOperation::IndexDocumentPart(const TTOMONode& node) {
  if (!indexLock_ || node.Record().Kind != kKindRichText) return true;
  try {
    if (!textToIndex_) {
      textToIndex_ = ReadDocumentText(collection_.Documents(), node.Record().DocumentNumber);
      return false;
    }
    indexLock_->IndexText(node.Id(), std::move(*textToIndex_));
  } catch (const std::exception&) {
    // An unreadable document stays out of the word index; the update goes on.
  }
  textToIndex_.reset();
  return true;
}

void TUpdateOperation::AskForDisk() {
  SetInStream(nullptr);
  do {
    const std::string question = FormatMessage(kDiskPrompt, volumesCopied_ + 1, Utf8(packageTitle_).c_str());
    if (!Prompts().AskOkCancel(question)) throw ELxAbort("Operação cancelada.");
  } while (!FileExists(LocalFile()));
}

// --- The states ----------------------------------------------------------------

void TUpdateOperation::Step(const TOperationStep& message, int& nextState, int& nextParameter) {
  switch (message.State) {
    case kStateStart:
      StartStep();
      nextState = kStateOpenVolume;
      break;
    case kStateOpenVolume:
      // Set before the disk prompt, so that a Cancel there still posts a
      // step, which ends the chain with the cancellation line.
      nextState = kStateOpenVolume;
      nextParameter = 1;
      nextState = OpenVolumeStep(message.Parameter);
      nextParameter = nextState == kStateOpenVolume ? 1 : 0;
      break;
    case kStateCopy:
      nextState = CopyStep();
      break;
    case kStateVolumeDone:
      nextState = VolumeDoneStep();
      break;
    case kStateOpenPackage:
      OpenPackageStep();
      nextState = kStateTree;
      break;
    case kStateTree:
      TreeStep();
      nextState = kStateDocument;
      break;
    case kStateDocument:
      nextState = DocumentStep();
      break;
    case kStateDocumentBody:
      nextState = DocumentBodyStep();
      break;
    case kStateDocumentIndex:
      nextState = DocumentIndexStep();
      break;
    case kStateFinish:
      FinishStep();
      break;
    case kStateIndexSize:
      IndexSizeStep();
      break;
    case kStateIndexTransfer:
      IndexTransferStep();
      break;
    case kStateUpdateList:
      nextState = UpdateListStep(nextParameter);
      break;
    case kStateDownload:
      nextState = DownloadStep(message.Parameter, nextParameter);
      break;
    case kStateInstallBatch:
      nextState = InstallBatchStep(message.Parameter, nextParameter);
      break;
    case kStateInstallReceived:
      nextState = InstallReceivedStep(message.Parameter, nextParameter);
      break;
    case kStateIndexReceived:
      nextState = IndexReceivedStep(message.Parameter, nextParameter);
      break;
    case kStateInternetEnd:
      InternetEndStep();
      break;
    default:
      break;
  }
}

void TUpdateOperation::OpenLocalFile() {
  SetInStream(std::make_unique<TLxFileStream>(LocalFile(), TLxFileMode::OpenRead, TLxFileShare::DenyWrite));
}

void TUpdateOperation::StartStep() {
  SetStageLine(0, "Copiando arquivo de atualização");
  SetStageLine(1, "Atualizando");
  AddLog(": Iniciando atualização...", TLogColour::Blue);
  // The package is looked at before anything is created for it.
  OpenLocalFile();
  ReadPackageHeader(*InStream(), Header());
  if (Header().empty() || !IsPackageSignature(Header().front())) throw EUpdatePackageError(kInvalidFormat);
  ForceDirectories(DownloadFolder());
  SetOutStream(std::make_unique<TLxFileStream>(PackagePath(), TLxFileMode::Create));
  ResetProgress(PackageHeaderNumber(Header(), PackageTotalSizeName()));
  packageTitle_ = HeaderValue(PackageTitleName());
  packageId_ = HeaderValue(PackageIdName());
  SetInStream(nullptr);
  AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Atualização: %s", Utf8(packageTitle_).c_str());
  AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Id da atualização: %s", Utf8(packageId_).c_str());
  AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Tamanho total: %d", ProgressMax());
  volumesCopied_ = 0;
  AddLog("! Ok", TLogColour::Green);
}

int TUpdateOperation::OpenVolumeStep(int parameter) {
  if (parameter > 0) AskForDisk();
  OpenLocalFile();
  ReadPackageHeader(*InStream(), Header());
  if (Header().empty() || !IsPackageSignature(Header().front())) throw EUpdatePackageError(kInvalidFormat);
  const std::int32_t sequence = PackageHeaderNumber(Header(), PackageSequenceName());
  if (sequence != volumesCopied_ + 1) return kStateOpenVolume;
  AddLogFmt(TLogColour::Blue, TLogStyle::Plain, ": Copiando arquivo %d...", sequence);
  return kStateCopy;
}

int TUpdateOperation::CopyStep() {
  std::int32_t count = BytesLeft(*InStream());
  int next = kStateVolumeDone;
  if (count > kCopyStepBytes) {
    count = kCopyStepBytes;
    next = kStateCopy;
  }
  if (count > 0) OutStream()->CopyFrom(*InStream(), count);
  SetProgress(ProgressPosition() + count);
  return next;
}

int TUpdateOperation::VolumeDoneStep() {
  ++volumesCopied_;
  AddLogFmt(TLogColour::Green, TLogStyle::Plain, ": Arquivo %d copiado", volumesCopied_);
  SetInStream(nullptr);
  return ProgressPosition() < ProgressMax() ? kStateOpenVolume : kStateOpenPackage;
}

void TUpdateOperation::CloseOutFile() {
  // The joined package must be wholly on the disk before it is read back.
  if (auto* file = dynamic_cast<TLxFileStream*>(OutStream())) file->Close();
  SetOutStream(nullptr);
}

void TUpdateOperation::OpenPackageStep() {
  CloseOutFile();
  AddLog(": Processando arquivo", TLogColour::Blue);
  NextStage();
  SetLocalFile(PackagePath());
  packageFile_ = std::make_unique<TLxFileStream>(LocalFile(), TLxFileMode::OpenRead, TLxFileShare::DenyWrite);
  auto expanded = std::make_unique<TLxZLIBStream>(*packageFile_);
  expanded->BeginRead();
  const std::int32_t size = expanded->ExpandedSize();
  SetInStream(std::move(expanded));
  ResetProgress(size);
}

void TUpdateOperation::TreeStep() {
  AddLog(": Lendo sumário...", TLogColour::Blue);
  const std::int32_t length = ReadLittleEndian32(*InStream());
  CheckPackageLength(length, BytesLeft(*InStream()));
  CheckExpandedTreeSize(LocalFile(), packageFile_->Size(), length);
  SetOutStream(std::make_unique<TLxFileStream>(NewTreeFile(), TLxFileMode::Create));
  if (length > 0) OutStream()->CopyFrom(*InStream(), length);
  CloseOutFile();
  SetProgress(InStream()->Position());
  AddLog("! Ok.", TLogColour::Green);
  AddLog(": Gerando lista de documentos a serem atualizados...", TLogColour::Blue);
  BuildUpdateList();
  AddLog("! Ok.", TLogColour::Green);
  AddLog(": Processando documentos da atualização...", TLogColour::Blue);
}

int TUpdateOperation::DocumentStep() {
  TLxStream& in = *InStream();
  if (BytesLeft(in) <= 0) return kStateFinish;
  const std::int32_t number = ReadLittleEndian32(in);
  TTOMONode* node = DocumentToFetch(number);
  ReadPackageHeader(in, Header());
  AddLogFmt(TLogColour::Blue, TLogStyle::Plain, ": (%.4d) %s", number, Utf8(HeaderValue(PackageTitleName())).c_str());
  const std::int32_t length = ReadLittleEndian32(in);
  CheckPackageLength(length, BytesLeft(in));
  if (!node) {
    in.Seek(length, soFromCurrent);
    AddLog("! Ignorado", TLogColour::Olive);
    SetProgress(in.Position());
    return kStateDocument;
  }
  // Not deleted first: the stored document stays until the new one is
  // committed over it.
  installing_ = collection_.Documents().GetDocument(number, false);
  installing_->Properties() = Header();
  installTarget_ = &installing_->OpenWrite();
  installingNode_ = node;
  installLeft_ = length;
  return DocumentBodyStep();
}

int TUpdateOperation::DocumentBodyStep() {
  if (installLeft_ > 0) {
    const std::int32_t count = std::min(installLeft_, kInstallStepBytes);
    installTarget_->CopyFrom(*InStream(), count);
    installLeft_ -= count;
    SetProgress(InStream()->Position());
    return kStateDocumentBody;
  }
  installTarget_ = nullptr;
  if (!installing_->CloseDocumentPart(kInstallStepBytes)) return kStateDocumentBody;
  installing_.reset();
  // Synced now, a document a step, rather than all of them in the step
  // that saves the tree.
  durableInstalls_.SyncFile(DocumentFileName(collection_.DataFolder(), installingNode_->Record().DocumentNumber));
  return kStateDocumentIndex;
}

int TUpdateOperation::DocumentIndexStep() {
  OpenIndexUpdate();
  if (!IndexDocumentPart(*installingNode_)) return kStateDocumentIndex;
  installingNode_ = nullptr;
  AddLog("! Atualizado", TLogColour::Green);
  SetProgress(InStream()->Position());
  return kStateDocument;
}

void TUpdateOperation::FinishStep() {
  AddLog("! Processamento concluído.", TLogColour::Green);
  AddLog(": Finalizando...", TLogColour::Blue);
  durableInstalls_.Flush();
  CommitTree();
  completed_ = true;
  AddLog("! Concluído.", TLogColour::Green);
  SetFinished(true);
  NextStage();
  SetInStream(nullptr);
  packageFile_.reset();
}

void TUpdateOperation::CommitTree() {
  // The save may index the title words under the collection's own lock
  // (marking the index out of date until they are in): this update's lock
  // must be gone first.
  CloseIndexUpdate();
  bool saved = true;
  if (collection_.Tree()) {
    for (TTOMONode* node : ChangedNodes()) collection_.MergeNode(*node);
    saved = collection_.Tree()->Modified();
    collection_.SaveTreeIfChanged();
  } else {
    // A data folder without a base takes the package's tree as it is.
    NewTree()->SaveToFile(collection_.DataFolder());
  }
  collection_.LoadTree();
  // A package that changed nothing leaves the word index alone.
  if (saved) IndexTitles();
}

// The title words of the whole installed tree, through the update's own
// lock: a collection that follows no index (pandecta-tool) leaves them here.
void TUpdateOperation::IndexTitles() {
  OpenIndexUpdate();
  if (!indexLock_ || !collection_.Tree()) return;
  try {
    // The tree is saved already, so no later update rewrites these titles:
    // until they reach the disk whole the index says it is out of date, and
    // an update cut short here leaves it so.
    wordIndex_->MarkOutOfDate();
    markedForTitles_ = true;
    indexLock_->IndexTitles(*collection_.Tree());
  } catch (const std::exception&) {
    ReportIndexWriteFailure();
  }
}

std::string TUpdateOperation::PackagePath() const { return PathJoin(DownloadFolder(), kJoinedPackageName); }

// The file the new tree is read from: an index file of the download folder in
// any case of its name, else tomoidx.dat.
std::string TUpdateOperation::NewTreeFile() const {
  const std::string existing = FindFileIgnoringCase(DownloadFolder(), kIndexFileName);
  return FileExists(existing) ? existing : PathJoin(DownloadFolder(), kExpandedIndexFileName);
}

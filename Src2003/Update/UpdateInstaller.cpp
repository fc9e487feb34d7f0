#include "UpdateInstaller.h"

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "DocumentFileName.h"
#include "DocumentText.h"
#include "FileReplace.h"
#include "InstalledCollection.h"
#include "LxFileStream.h"
#include "LxFilUtl.h"
#include "OperationReport.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentFile.h"
#include "TOMODocumentSet.h"
#include "TOMOTree.h"
#include "WordIndex.h"
#include "WordIndexLockWrite.h"

namespace {

// How much of a received document's body is decoded at a time while it is checked.
constexpr std::int32_t kCheckChunkBytes = 64 * 1024;
constexpr char kCopyErrorFormat[] = "Erro ao copiar arquivo \"%s\" para \"%s\". ";
constexpr char kTempSuffix[] = ".tmp";
constexpr char kNewSuffix[] = ".new";

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

TUpdateInstaller::TUpdateInstaller(TInstalledCollection& collection, TWordIndex* wordIndex, TOperationReport& report)
    : collection_(collection), wordIndex_(wordIndex), report_(report) {}

TUpdateInstaller::~TUpdateInstaller() = default;

// --- Documents -----------------------------------------------------------------------

void TUpdateInstaller::SyncDocument(std::int32_t number) {
  durableInstalls_.SyncFile(DocumentFileName(collection_.DataFolder(), number));
}

void TUpdateInstaller::InstallReceivedFile(const std::string& source, std::int32_t number) {
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

// --- Word index ------------------------------------------------------------------------

void TUpdateInstaller::OpenIndexUpdate() {
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

void TUpdateInstaller::CloseIndexUpdate() {
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

void TUpdateInstaller::ReportIndexWriteFailure() {
  if (indexWriteFailed_ || !wordIndex_) return;
  indexWriteFailed_ = true;
  try {
    wordIndex_->MarkOutOfDate();
  } catch (const std::exception&) {
    // A folder that refuses the marker refused the index too; the log says it.
  }
  report_.AddLog(kIndexWriteFailedLine, TLogColour::Red);
}

bool TUpdateInstaller::IndexDocumentPart(const TTOMONode& node) {
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

void TUpdateInstaller::IndexTitles() {
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

// --- The tree ----------------------------------------------------------------------------

bool TUpdateInstaller::SaveTree() {
  if (!collection_.Tree() || !collection_.Tree()->Modified()) return false;
  // The save rebuilds the title words through a lock of its own, so the
  // update lets go of the index first; and every document the tree is about
  // to list is on the disk before it.
  CloseIndexUpdate();
  durableInstalls_.Flush();
  collection_.SaveTreeIfChanged();
  return true;
}

void TUpdateInstaller::TakeNewTree(TTOMOTree& newTree) {
  CloseIndexUpdate();
  durableInstalls_.Flush();
  newTree.SaveToFile(collection_.DataFolder());
  collection_.LoadTree();
}

void TUpdateInstaller::CommitTree(const std::vector<TTOMONode*>& changedNodes, TTOMOTree& newTree) {
  durableInstalls_.Flush();
  // The save may index the title words under the collection's own lock
  // (marking the index out of date until they are in): this update's lock
  // must be gone first.
  CloseIndexUpdate();
  bool saved = true;
  if (collection_.Tree()) {
    for (TTOMONode* node : changedNodes) collection_.MergeNode(*node);
    saved = collection_.Tree()->Modified();
    collection_.SaveTreeIfChanged();
  } else {
    // A data folder without a base takes the package's tree as it is.
    newTree.SaveToFile(collection_.DataFolder());
  }
  collection_.LoadTree();
  // A package that changed nothing leaves the word index alone.
  if (saved) IndexTitles();
}

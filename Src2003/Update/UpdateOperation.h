#pragma once

// TUpdateOperation: the update of the installed collection, without any
// window. Kind 4 applies an update package (states 10 to 19); the Internet
// update (kind 1) shares BuildUpdateList, OpenIndexUpdate, IndexDocumentPart and
// the durable installs. The program shows it in TfrmUpdate, pandecta-tool
// apply-package on the terminal.
//
//   TUpdateOperation update(collection, WordIndex.get());
//   update.SetView(&view);
//   update.StartPackage("\"/media/disco/atualizacao.dat\"");   // quotes dropped
//   RunOperation(update);                                     // or a window's event loop
//   update.Completed();                                       // tree saved and reloaded
//
// Nothing is lost whatever happens while a package is applied: documents go
// in through the document file's commit (the old one stays until the new one
// is complete), and the installed tree file, written last, is the commit
// point of the whole update. An interrupted update leaves the old tree,
// whose entries still look older than the package's, so applying the same
// package again installs everything again.
//
// Package application runs 10 -> 11 <-> 12 -> 13 -> (11 for each further
// volume) -> 14 -> 15 -> 16 ... 16 -> 17, logging every stage; a document
// to install goes 16 -> 18 (a piece of its body, as often as it takes; the
// last piece commits it) -> 19 (its text read, then indexed: two steps) -> 16.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "DurableInstalls.h"
#include "Operation.h"

class TDocumentFetcher;
struct TFetchResult;
class TInstalledCollection;
class TLxFileStream;
class TTOMODocument;
class TTOMONode;
class TWordIndex;
class TWordIndexLockUpdate;

class TUpdateOperation : public TOperation {
 public:
  // The kinds of update the main window starts.
  static constexpr int kKindInternet = 1;
  static constexpr int kKindLocalFile = 2;
  static constexpr int kKindRemovable = 3;
  static constexpr int kKindPackage = 4;

  // The states of applying a package.
  static constexpr int kStateStart = 10;
  static constexpr int kStateOpenVolume = 11;
  static constexpr int kStateCopy = 12;
  static constexpr int kStateVolumeDone = 13;
  static constexpr int kStateOpenPackage = 14;
  static constexpr int kStateTree = 15;
  static constexpr int kStateDocument = 16;
  static constexpr int kStateFinish = 17;
  // A document of the package is installed over several steps: its body
  // copied a piece at a time (the last piece also commits it), then indexed.
  static constexpr int kStateDocumentBody = 18;
  static constexpr int kStateDocumentIndex = 19;

  // The states of the Internet update (InternetUpdate.cpp).
  static constexpr int kStateIndexSize = 20;
  static constexpr int kStateIndexTransfer = 21;
  static constexpr int kStateUpdateList = 22;
  static constexpr int kStateDownload = 23;
  static constexpr int kStateInstallBatch = 24;
  static constexpr int kStateInternetEnd = 25;
  // A batch is installed one document a step, then merged (and the tree
  // saved when due), then indexed one document a step.
  static constexpr int kStateInstallReceived = 26;
  static constexpr int kStateIndexReceived = 27;

  // A batch of the Internet update downloads documents until more than this
  // many body bytes have arrived in it, then installs them and saves the tree.
  static constexpr int kBatchLimitBytes = 8192;
  // The installed tree, the commit point, is written once the documents
  // installed since it was last written pass this many bytes or this much
  // time has gone by, and at the end: rewriting a large tree for every small
  // batch would cost more than the documents themselves. Documents installed
  // ahead of it are fetched again after an interruption.
  static constexpr std::int64_t kTreeSaveBytes = 1 << 20;
  static constexpr std::chrono::seconds kTreeSaveInterval{5};
  // Document requests in flight at once (TDocumentFetcher).
  static constexpr int kDefaultRequestsInFlight = 8;
  // What the first item of the node list reads when nothing is to be updated.
  static constexpr char kNothingToUpdate[] = "Nada a atualizar";

  // Bytes of a volume copied per step, so the window stays responsive.
  static constexpr std::int32_t kCopyStepBytes = 2048;
  // Body bytes of a package's document installed per step: a large
  // document (hundreds of KiB) takes several steps, none of them long.
  static constexpr std::int32_t kInstallStepBytes = 64 * 1024;
  // The joined volumes, and the new tree file, in the download folder.
  static constexpr char kJoinedPackageName[] = "Atualiza.tmp";

  // `collection` is the installed collection the update changes (the main
  // window's); `wordIndex` the word index that follows it (nullptr: none).
  // Neither is owned.
  TUpdateOperation(TInstalledCollection& collection, TWordIndex* wordIndex, QObject* parent = nullptr);
  ~TUpdateOperation() override;

  // The download folder; the setting DownloadFolder unless one is given.
  std::string DownloadFolder() const;
  void SetDownloadFolder(std::string folder) { downloadFolder_ = std::move(folder); }

  // The update server's base URL; the setting UpdateURL unless one is given.
  std::string UpdateURL() const;
  void SetUpdateURL(std::string url) { updateURL_ = std::move(url); }
  // Kind 1: brings the base up to the update server's, starting at state 20.
  void StartInternet();
  // What a request asks for: the URL in lower case (letters A to Z only).
  static std::string LowerCaseURL(std::string url);
  // The lower-cased URL of document `number` under `base`:
  //   DocumentURL("http://S/Atualizacao", 1234) gives "http://s/atualizacao/doc01200/doc01234.dat"
  static std::string DocumentURL(const std::string& base, std::int32_t number);
  // The name a received document has in the download folder: "Doc00007.dat".
  static std::string ReceivedDocumentName(std::int32_t number);
  // Sum of the new tree's document sizes of the documents to fetch: what
  // the detail line "Total de bytes a serem transferidos" shows.
  std::int64_t TotalTransferBytes() const;
  // Batches the Internet update installed.
  int BatchesInstalled() const { return batchesInstalled_; }
  // Writes of the installed tree by the Internet update.
  int TreeSaves() const { return treeSaves_; }
  // Document requests the Internet update keeps in flight at once.
  void SetRequestsInFlight(int count) { requestsInFlight_ = count; }

  // Kind 4: applies the package named by a command-line argument (quotes
  // around it dropped), starting at state 10.
  void StartPackage(const std::string& argument);
  // The argument without a pair of double quotes around it; a lone double
  // quote stays as it is.
  static std::string PackagePathOfArgument(const std::string& argument);

  // --- Shared with the Internet update -----------------------------------------
  // Loads the new tree from the download folder and finds what to merge and
  // which documents to install (UpdateList.h), showing those in the node list.
  void BuildUpdateList();
  // Opens the word index for updating once; when that fails the index is
  // marked out of date (rebuilt later) and documents go unindexed.
  void OpenIndexUpdate();
  // Indexes a rich-text document of the installed collection with the plain
  // text of the index build, over two calls so that each stays a short step:
  // the first reads the text (false: call again), the second indexes it
  // (true). Any error leaves the document unindexed.
  bool IndexDocumentPart(const TTOMONode& node);
  // Asks for the next volume until LocalFile exists; Cancel raises ELxAbort.
  void AskForDisk();

  // --- What the operation reached ------------------------------------------------
  bool Completed() const { return completed_; }
  // Title and identifier of the package, Windows-1252.
  const std::string& PackageTitle() const { return packageTitle_; }
  const std::string& PackageId() const { return packageId_; }
  int VolumesCopied() const { return volumesCopied_; }
  // The node of NewTree whose document `number` is to be installed, or nullptr.
  TTOMONode* DocumentToFetch(std::int32_t number) const;
  bool IndexLockHeld() const { return indexLock_ != nullptr; }
  // A write to the word index failed: it was marked out of date and the log
  // says so.
  bool IndexWriteFailed() const { return indexWriteFailed_; }
  static constexpr char kIndexWriteFailedLine[] = "# Erro ao gravar o índice de palavras; gere o índice novamente.";
  TInstalledCollection& Collection() const { return collection_; }

 protected:
  void Step(const TOperationStep& message, int& nextState, int& nextParameter) override;
  bool OwnRequestsRunning() const override;
  void AbortRequests() override;
  // The word index is let go of as soon as the update is over.
  void OperationEnded() override;

 private:
  // Closes the update's own lock on the word index, checking that every
  // write reached it; the next OpenIndexUpdate opens it again. The tree's
  // save indexes the title words itself, under its own lock, so the index
  // is closed around every save.
  void CloseIndexUpdate();
  // Marks the index out of date and logs why, once.
  void ReportIndexWriteFailure();
  void StartStep();
  int OpenVolumeStep(int parameter);
  int CopyStep();
  int VolumeDoneStep();
  void OpenPackageStep();
  void TreeStep();
  int DocumentStep();
  int DocumentBodyStep();
  int DocumentIndexStep();
  void FinishStep();

  void IndexSizeStep();
  void IndexTransferStep();
  int UpdateListStep(int& nextParameter);
  int DownloadStep(int index, int& nextParameter);
  int InstallBatchStep(int count, int& nextParameter);
  int InstallReceivedStep(int index, int& nextParameter);
  int IndexReceivedStep(int index, int& nextParameter);
  // The documents of the batch are in place: merges its nodes, saves the
  // tree when due.
  void MergeInstalledBatch();
  // Keeps the fetcher's requests full with the documents of ChangedNodes
  // from entry `index` on.
  void RequestAhead(int index);
  void StartDocumentFetcher();
  bool TreeSaveDue();
  // Writes the installed tree (when there is one) and restarts the count.
  void SaveInstalledTree();
  void DocumentArrived();
  // Logs a received document as its transfer went; false (the chain ends)
  // when it failed.
  bool TakeReceivedDocument(TTOMONode& node, const TFetchResult& result);
  void InternetEndStep();
  // Checks that a received document reads whole as a document file, then
  // puts it in place through the document file's commit and deletes it.
  void InstallReceivedDocument(const TTOMONode& node);

  // Merges the changed nodes, saves the tree, indexes the title words and
  // reloads the tree.
  void CommitTree();
  void IndexTitles();
  std::string PackagePath() const;
  std::string NewTreeFile() const;
  // Opens LocalFile for reading, others denied writing, as InStream.
  void OpenLocalFile();
  void CloseOutFile();

  TInstalledCollection& collection_;
  TWordIndex* wordIndex_;
  std::string downloadFolder_;
  std::string updateURL_;
  std::vector<TTOMONode*> batchDocuments_;
  // The entries of ChangedNodes the batch being installed covers.
  int batchCount_ = 0;
  // The package's document being installed over several steps: the node
  // it is for, its open document, and the body bytes still to copy.
  TTOMONode* installingNode_ = nullptr;
  std::unique_ptr<TTOMODocument> installing_;
  TLxStream* installTarget_ = nullptr;
  std::int32_t installLeft_ = 0;
  // The text IndexDocumentPart read, for its next call.
  std::optional<std::string> textToIndex_;
  // Documents installed since the tree file was last saved.
  TDurableInstalls durableInstalls_;
  int batchesInstalled_ = 0;
  // The documents in flight, and the next entry of ChangedNodes to request.
  std::unique_ptr<TDocumentFetcher> fetcher_;
  int requestsInFlight_ = kDefaultRequestsInFlight;
  int requestCursor_ = 0;
  // State 23 waits for the document of this entry (-1: it does not wait).
  int waitingIndex_ = -1;
  std::int64_t bytesSinceTreeSave_ = 0;
  int treeSaves_ = 0;
  std::chrono::steady_clock::time_point lastTreeSave_;

  bool completed_ = false;
  std::string packageTitle_;
  std::string packageId_;
  int volumesCopied_ = 0;
  std::unique_ptr<TLxFileStream> packageFile_;
  std::unordered_map<std::int32_t, TTOMONode*> documentsToFetch_;
  std::unique_ptr<TWordIndexLockUpdate> indexLock_;
  bool indexLockTried_ = false;
  bool indexWriteFailed_ = false;
  // The index was marked out of date for the title words written at the end;
  // a whole Finish clears the marker.
  bool markedForTitles_ = false;
};

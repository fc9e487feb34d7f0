#pragma once

// TInternetUpdate: brings the installed collection up to the update
// server's (kind 1), without any window.
//
//   TInternetUpdate update(collection, WordIndex.get());
//   update.SetView(&view);
//   update.Start();
//   RunOperation(update);
//
// IndexSize (HEAD of tomoidxz.dat) -> IndexTransfer (GET of it) ->
// UpdateList (the received tree expanded) -> BuildList (read and compared) ->
// Download (documents taken in the order of the list until a
// batch holds more than kBatchLimitBytes) -> InstallBatch (InstallReceived:
// one document a step; then the nodes the walk passed merged and the tree
// saved when due) -> IndexReceived (one document a step) -> Download ... ->
// End. The installed tree file changes only once every document of the
// batch is in place, so an interrupted update leaves a base whose tree lists
// only complete documents, and the next update fetches what is still older
// than the server's.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "OperationTransfer.h"
#include "UpdateOperation.h"

class TDocumentFetcher;
struct TFetchResult;

class TInternetUpdate : public TUpdateOperation {
 public:
  // The steps of the Internet update, numbered 20 to 28 in this order (the
  // number a step message carries).
  enum class TState : int {
    None = 0, IndexSize = 20, IndexTransfer, UpdateList, Download, InstallBatch, End, InstallReceived, IndexReceived,
    BuildList
  };

  // A batch downloads documents until more than this many body bytes have
  // arrived in it, then installs them.
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

  TInternetUpdate(TInstalledCollection& collection, TWordIndex* wordIndex, QObject* parent = nullptr);
  ~TInternetUpdate() override;

  // Sets kind 1 and starts with the size of the server's index file.
  void Start();

  // The update server's base URL; the setting UpdateURL unless one is given.
  std::string UpdateURL() const;
  void SetUpdateURL(std::string url) { updateURL_ = std::move(url); }
  // The index file's transfer; its client is the model of the documents'.
  TOperationTransfer& Transfer() { return transfer_; }
  // Document requests kept in flight at once.
  void SetRequestsInFlight(int count) { requestsInFlight_ = count; }

  // What a request asks for: the URL in lower case (letters A to Z only).
  static std::string LowerCaseURL(std::string url);
  // The lower-cased URL of document `number` under `base`:
  //   DocumentURL("http://S/Atualizacao", 1234) gives "http://s/atualizacao/doc01200/doc01234.dat"
  static std::string DocumentURL(const std::string& base, std::int32_t number);
  // The name a received document has in the download folder: "Doc00007.dat".
  static std::string ReceivedDocumentName(std::int32_t number);

  // Batches installed, and writes of the installed tree.
  int BatchesInstalled() const { return batchesInstalled_; }
  int TreeSaves() const { return treeSaves_; }

 protected:
  void Step(const TOperationStep& message, int& nextState, int& nextParameter) override;
  bool RequestsRunning() const override;
  void AbortRequests() override;

 private:
  // The work of a state with its parameter, and the state that follows;
  // each step below is one state's work. A request's completion posts the
  // state after IndexSize and IndexTransfer.
  TState Run(TState state, int parameter, int& nextParameter);
  TState IndexSizeStep(int, int&);
  TState IndexTransferStep(int, int&);
  TState UpdateListStep(int, int&);
  TState BuildListStep(int, int& nextParameter);
  TState DownloadStep(int index, int& nextParameter);
  TState InstallBatchStep(int count, int& nextParameter);
  TState EndStep(int, int&);
  TState InstallReceivedStep(int index, int& nextParameter);
  TState IndexReceivedStep(int index, int& nextParameter);

  // Keeps the fetcher's requests full with the documents of ChangedNodes
  // from entry `index` on.
  void RequestAhead(int index);
  void StartDocumentFetcher();
  void DocumentArrived();
  // Logs a received document as its transfer went; false (the chain ends)
  // when it failed.
  bool TakeReceivedDocument(TTOMONode& node, const TFetchResult& result);
  // The documents of the batch are in place: merges its nodes, saves the
  // tree when due.
  void MergeInstalledBatch();
  bool TreeSaveDue();
  // Writes the installed tree (when it changed) and restarts the count.
  void SaveInstalledTree();

  std::string updateURL_;
  TOperationTransfer transfer_;
  // The documents in flight, and the next entry of ChangedNodes to request.
  std::unique_ptr<TDocumentFetcher> fetcher_;
  int requestsInFlight_ = kDefaultRequestsInFlight;
  int requestCursor_ = 0;
  // Download waits for the document of this entry (-1: it does not wait).
  int waitingIndex_ = -1;
  std::vector<TTOMONode*> batchDocuments_;
  // The entries of ChangedNodes the batch being installed covers.
  int batchCount_ = 0;
  int batchesInstalled_ = 0;
  std::int64_t bytesSinceTreeSave_ = 0;
  int treeSaves_ = 0;
  std::chrono::steady_clock::time_point lastTreeSave_;
};

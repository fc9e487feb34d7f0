#pragma once

// TUpdateInstaller: what the package update and the Internet update have in
// common once a document is at hand: putting it in the installed collection
// through the document file's commit, indexing it, and committing the tree
// file (the commit point of an update) with the title words after it.
//
//   TUpdateInstaller installer(collection, wordIndex, operation.Report());
//   installer.SyncDocument(7);                     // a package's, written in place
//   installer.InstallReceivedFile(received, 9);    // Internet
//   installer.OpenIndexUpdate();
//   while (!installer.IndexDocumentPart(node)) {}  // one short step a call
//   installer.SaveTree();                          // commit point
//
// A failed write to the word index marks it out of date and logs
// kIndexWriteFailedLine once; the update goes on without it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DurableInstalls.h"

class TInstalledCollection;
class TOperationReport;
class TTOMONode;
class TTOMOTree;
class TWordIndex;
class TWordIndexLockUpdate;

class TUpdateInstaller {
 public:
  static constexpr char kIndexWriteFailedLine[] = "# Erro ao gravar o índice de palavras; gere o índice novamente.";

  // `collection` is the installed collection the update changes;
  // `wordIndex` the word index that follows it (nullptr: none); `report`
  // the update's. None is owned.
  TUpdateInstaller(TInstalledCollection& collection, TWordIndex* wordIndex, TOperationReport& report);
  ~TUpdateInstaller();

  TInstalledCollection& Collection() const { return collection_; }

  // --- Documents ---------------------------------------------------------------
  // Document `number`, committed in place, goes to the disk now rather than
  // all at once in the step that saves the tree.
  void SyncDocument(std::int32_t number);
  // Checks that the received file `source` reads whole as a document file,
  // then puts it in place of document `number` through the document file's
  // commit and deletes it.
  void InstallReceivedFile(const std::string& source, std::int32_t number);

  // --- Word index ----------------------------------------------------------------
  // Opens the word index for updating once; when that fails the index is
  // marked out of date (rebuilt later) and documents go unindexed.
  void OpenIndexUpdate();
  // Closes the update's own lock on the word index, checking that every
  // write reached it; the next OpenIndexUpdate opens it again. The tree's
  // save indexes the title words itself, under its own lock, so the index
  // is closed around every save.
  void CloseIndexUpdate();
  // Indexes a rich-text document of the installed collection with the plain
  // text of the index build, over two calls so that each stays a short step:
  // the first reads the text (false: call again), the second indexes it
  // (true). Any error leaves the document unindexed.
  bool IndexDocumentPart(const TTOMONode& node);
  // The title words of the whole installed tree, through the update's own
  // lock: a collection that follows no index (pandecta-tool) leaves them here.
  void IndexTitles();
  // Marks the index out of date and logs why, once.
  void ReportIndexWriteFailure();
  bool IndexLockHeld() const { return indexLock_ != nullptr; }
  // A write to the word index failed: it was marked out of date and the log
  // says so.
  bool IndexWriteFailed() const { return indexWriteFailed_; }

  // --- The tree, the commit point -------------------------------------------------
  // Writes the installed tree when it changed, every document it lists on
  // the disk before it; true when it was written.
  bool SaveTree();
  // A data folder without a base takes the new tree as it is, and loads it.
  void TakeNewTree(TTOMOTree& newTree);
  // Merges the changed nodes, saves the tree (or takes the new one), indexes
  // the title words and reloads the tree.
  void CommitTree(const std::vector<TTOMONode*>& changedNodes, TTOMOTree& newTree);

 private:
  TInstalledCollection& collection_;
  TWordIndex* wordIndex_;
  TOperationReport& report_;
  // Documents installed since the tree file was last saved.
  TDurableInstalls durableInstalls_;
  std::unique_ptr<TWordIndexLockUpdate> indexLock_;
  // The text IndexDocumentPart read, for its next call.
  std::optional<std::string> textToIndex_;
  bool indexLockTried_ = false;
  bool indexWriteFailed_ = false;
  // The index was marked out of date for the title words written at the end;
  // a whole Finish clears the marker.
  bool markedForTitles_ = false;
};

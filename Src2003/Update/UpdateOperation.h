#pragma once

// TUpdateOperation: what every update of the installed collection has, the
// package update (PackageUpdate.h) and the Internet update
// (InternetUpdate.h) alike, without any window: its kind, the download
// folder, the new tree and the update list drawn from it, and the shared
// installer (UpdateInstaller.h). The program shows an update in TfrmUpdate,
// pandecta-tool on the terminal.
//
// The main window enables its update commands by the kind of the update
// that lives (ActiveUpdateKind); UpdateKindNotifier() tells when it changes.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Operation.h"
#include "UpdateInstaller.h"

class TInstalledCollection;
class TTOMONode;
class TTOMOTree;
class TWordIndex;

// The kinds of update the main window starts; the numbers are its commands'
// tags.
enum class TUpdateKind : int { None = 0, Internet = 1, LocalFile = 2, Removable = 3, Package = 4 };

class TUpdateOperation : public TOperation {
 public:
  // What the first item of the node list reads when nothing is to be updated.
  static constexpr char kNothingToUpdate[] = "Nada a atualizar";

  // `collection` is the installed collection the update changes (the main
  // window's); `wordIndex` the word index that follows it (nullptr: none).
  // Neither is owned.
  TUpdateOperation(TInstalledCollection& collection, TWordIndex* wordIndex, QObject* parent = nullptr);
  ~TUpdateOperation() override;

  // None until an update of a kind starts.
  TUpdateKind UpdateKind() const { return kind_; }
  void SetUpdateKind(TUpdateKind kind);
  // The kind of the live update that has one, else None.
  static TUpdateKind ActiveUpdateKind();

  // The download folder; the setting DownloadFolder unless one is given.
  std::string DownloadFolder() const;
  void SetDownloadFolder(std::string folder) { downloadFolder_ = std::move(folder); }

  // The whole update reached its end and the tree was saved and reloaded.
  bool Completed() const { return completed_; }
  TUpdateInstaller& Installer() { return installer_; }
  const TUpdateInstaller& Installer() const { return installer_; }

  // --- The update list -----------------------------------------------------------
  // Loads the new tree from the download folder and finds what to merge and
  // which documents to install (UpdateList.h), showing those in the node list.
  void BuildUpdateList();
  TTOMOTree* NewTree() const { return newTree_.get(); }
  // The entries of NewTree to merge, in the order of the tree (not owned).
  std::vector<TTOMONode*>& ChangedNodes() { return changedNodes_; }
  // Documents to install.
  int DocumentCount() const { return documentCount_; }
  // The node of NewTree whose document `number` is to be installed, or nullptr.
  TTOMONode* DocumentToFetch(std::int32_t number) const;
  // Sum of the new tree's document sizes of the documents to install: what
  // the detail line "Total de bytes a serem transferidos" shows.
  std::int64_t TotalTransferBytes() const;

 protected:
  void SetCompleted() { completed_ = true; }
  // The word index is let go of as soon as the update is over.
  void OperationEnded() override;

 private:
  TUpdateKind kind_ = TUpdateKind::None;
  std::string downloadFolder_;
  bool completed_ = false;
  std::unique_ptr<TTOMOTree> newTree_;
  std::vector<TTOMONode*> changedNodes_;
  std::unordered_map<std::int32_t, TTOMONode*> documentsToFetch_;
  int documentCount_ = 0;
  TUpdateInstaller installer_;
};

// Raises UpdateKindChanged whenever the UpdateKind of a live update changes
// or an update with a kind goes away.
class TUpdateKindNotifier : public QObject {
  Q_OBJECT

 signals:
  void UpdateKindChanged();

 private:
  friend class TUpdateOperation;
  void Notify() { emit UpdateKindChanged(); }
};
TUpdateKindNotifier& UpdateKindNotifier();

#pragma once

// TDocumentListRefresh: brings the installed tree's record of which document
// files exist back in line with the data folder. It lists every entry of the
// tree, then measures the file of each document entry, one entry per step,
// storing the size in the entry (0 for a missing file, which the main window
// shows with the icon of a missing document). Only when a size changed is
// the tree saved, and then reloaded. It deletes no file and removes no entry.
//
//   TDocumentListRefresh refresh(collection);
//   refresh.SetView(&view);
//   refresh.Start();                 // a second Start does nothing
//   RunOperation(refresh);
//
// States: 1 start, 2 list the entries, 3 measure one entry (repeats), 4 save.
// Sizes measured before a cancel stay in the tree in memory; nothing is
// saved unless state 4 runs.

#include "Operation.h"

class TInstalledCollection;

class TDocumentListRefresh : public TOperation {
  Q_OBJECT

 public:
  static constexpr char kListStage[] = "Criando lista de documentos";
  static constexpr char kMeasureStage[] = "Atualizando informações";
  static constexpr char kDoneStage[] = "Operação concluída";
  static constexpr char kTreeReplacedLine[] =
      "# A árvore de documentos foi recarregada; execute a atualização da lista novamente.";

  // The collection must outlive the operation.
  explicit TDocumentListRefresh(TInstalledCollection& collection, QObject* parent = nullptr);

  // Posts state 1: the work starts once in the operation's life.
  void Start();

  // Entries listed (folders too); 0 before the list is made.
  int ListedNodes() const { return listedNodes_; }

 protected:
  void Step(const TOperationStep& message, int& nextState, int& nextParameter) override;

 private:
  // The steps of the refresh, in the order they run.
  enum class TState : int { None = 0, Start = 1, List = 2, Measure = 3, Save = 4 };

  // The work of a state, and the state that follows it.
  TState NextAfter(TState state);
  TState ListNodes();
  TState MeasureSelectedNode();
  void SaveTree();
  // The list holds entries of the installed tree: a tree replaced meanwhile
  // would leave it on freed entries, so the walk stops instead.
  void TreeAboutToBeReplaced();

  TInstalledCollection& collection_;
  bool started_ = false;
  int listedNodes_ = 0;
};

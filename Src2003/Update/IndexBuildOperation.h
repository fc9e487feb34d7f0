#pragma once

// TIndexBuildOperation: the whole word index rebuilt on the step chain, as
// the index build window (TfrmBuildIndex) and "pandecta-tool index" run it.
// The work itself is TIndexBuildSequence (one tree entry per step while
// counting, one document per step while indexing); this class moves it onto
// posted steps and reports its lines and progress through TOperationView.
//
//   TIndexBuildOperation build(index, collection);   // create lock taken here
//   build.SetView(&view);
//   build.Start();
//   RunOperation(build);
//
// Cancel stops between documents: what was indexed stays in the index and
// OutOfDate.txt, if present, stays too (only a completed build removes it).
// Finished, failed or cancelled, the build lets go of the index at once,
// whether or not a window still shows it.

#include <memory>
#include <string>

#include "Operation.h"

class TIndexBuildSequence;
class TInstalledCollection;
class TWordIndex;

class TIndexBuildOperation : public TOperation {
  Q_OBJECT

 public:
  static constexpr char kPrepareStage[] = "Preparando criação do arquivo de índice";
  static constexpr char kIndexStage[] = "Gerando índice de palavras";
  static constexpr char kTreeReplacedLine[] =
      "# A árvore de documentos foi recarregada durante a contagem; gere o índice novamente.";

  // Takes the create lock at once, which removes the old index and creates an
  // empty one; the errors of opening it (EWordIndexError: already open in
  // this program, held by another machine, folder unusable) propagate and no
  // operation exists. The collection must have a tree; it must outlive the
  // operation.
  TIndexBuildOperation(TWordIndex& index, TInstalledCollection& collection, QObject* parent = nullptr);
  ~TIndexBuildOperation() override;

  // Posts the first step.
  void Start();

  // Documents to index (known once counting is over) and documents done.
  int DocumentCount() const;
  int DocumentsIndexed() const;

 protected:
  void Step(const TOperationStep& message, int& nextState, int& nextParameter) override;
  void OperationEnded() override;

 private:
  class TReport;
  // The counting walks the installed tree: a tree replaced meanwhile would
  // leave the walk on freed entries, so the build stops instead.
  void TreeAboutToBeReplaced();

  std::unique_ptr<TReport> report_;
  std::unique_ptr<TIndexBuildSequence> sequence_;
};

#include "IndexBuildOperation.h"

#include "IndexBuildSequence.h"
#include "InstalledCollection.h"
#include "LxExcept.h"
#include "OperationView.h"
#include "TOMOTree.h"
#include "WordIndex.h"

namespace {

// Every step of the build is the sequence's next piece of work.
constexpr int kBuildState = 1;

TLogColour ColourOf(TIndexBuildReport::TLineKind kind) {
  switch (kind) {
    case TIndexBuildReport::TLineKind::Stage:
      return TLogColour::Blue;
    case TIndexBuildReport::TLineKind::Result:
      return TLogColour::Green;
    case TIndexBuildReport::TLineKind::Error:
      return TLogColour::Red;
    case TIndexBuildReport::TLineKind::Detail:
      break;
  }
  return TLogColour::GrayText;
}

const TTOMOTree& TreeOf(const TInstalledCollection& collection) {
  if (!collection.Tree()) throw ELxException("Nenhuma árvore de documentos carregada.");
  return *collection.Tree();
}

}  // namespace

class TIndexBuildOperation::TReport : public TIndexBuildReport {
 public:
  explicit TReport(TOperationReport& report) : report_(report) {}
  void AddLog(TLineKind kind, const std::string& text) override {
    report_.AddLog(text, ColourOf(kind), TLogStyle::Plain);
  }
  void ResetProgress(int total) override { report_.ResetProgress(total); }
  void SetProgress(int position) override { report_.SetProgress(position); }

 private:
  TOperationReport& report_;
};

TIndexBuildOperation::TIndexBuildOperation(TWordIndex& index, TInstalledCollection& collection, QObject* parent)
    : TOperation(parent), report_(std::make_unique<TReport>(Report())) {
  Report().SetStages({kPrepareStage, kIndexStage});
  sequence_ = std::make_unique<TIndexBuildSequence>(index, TreeOf(collection), collection.Documents(), *report_);
  connect(&collection, &TInstalledCollection::TreeAboutToBeReplaced, this,
          &TIndexBuildOperation::TreeAboutToBeReplaced);
}

TIndexBuildOperation::~TIndexBuildOperation() = default;

// A completed build has closed the index in its last step; one that failed
// or was cancelled lets go of it here, keeping what it indexed and the
// out-of-date marker.
void TIndexBuildOperation::OperationEnded() { sequence_->ReleaseIndex(); }

void TIndexBuildOperation::Start() { PostStep(WM_OPERATIONSTEP, kBuildState, 0); }

int TIndexBuildOperation::DocumentCount() const { return sequence_->DocumentCount(); }

int TIndexBuildOperation::DocumentsIndexed() const { return sequence_->DocumentsIndexed(); }

void TIndexBuildOperation::Step(const TOperationStep&, int& nextState, int&) {
  if (sequence_->Step()) {
    nextState = kBuildState;
  } else {
    SetFinished(true);
  }
}

void TIndexBuildOperation::TreeAboutToBeReplaced() {
  const TIndexBuildSequence::TState state = sequence_->State();
  const bool counting = state == TIndexBuildSequence::TState::Start || state == TIndexBuildSequence::TState::Counting;
  if (!counting || Finished()) return;
  Report().AddLog(kTreeReplacedLine, TLogColour::Red);
  StopOperation();
}

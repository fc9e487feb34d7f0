#include "DocumentListRefresh.h"

#include "DocumentFileName.h"
#include "InstalledCollection.h"
#include "LxFilUtl.h"
#include "TOMONode.h"
#include "TOMOTree.h"


TDocumentListRefresh::TDocumentListRefresh(TInstalledCollection& collection, QObject* parent)
    : TOperation(parent), collection_(collection) {
  Report().SetStages({kListStage, kMeasureStage, kDoneStage});
  connect(&collection_, &TInstalledCollection::TreeAboutToBeReplaced, this,
          &TDocumentListRefresh::TreeAboutToBeReplaced);
}

void TDocumentListRefresh::Start() { PostStep(WM_OPERATIONSTEP, static_cast<int>(TState::Start), 0); }

void TDocumentListRefresh::Step(const TOperationStep& message, int& nextState, int&) {
  nextState = static_cast<int>(NextAfter(static_cast<TState>(message.State)));
}

TDocumentListRefresh::TState TDocumentListRefresh::NextAfter(TState state) {
  switch (state) {
    case TState::Start:
      // A window shown a second time posts this again: the work runs once.
      if (started_) return TState::None;
      started_ = true;
      return TState::List;
    case TState::List:
      return ListNodes();
    case TState::Measure:
      return MeasureSelectedNode();
    case TState::Save:
      SaveTree();
      break;
    case TState::None:
      break;
  }
  return TState::None;
}

TDocumentListRefresh::TState TDocumentListRefresh::ListNodes() {
  TOperationReport& report = Report();
  report.AddLog(": Criando lista de documentos...", TLogColour::Blue);
  report.Nodes().BeginNodeList();
  const TTOMOTree* tree = collection_.Tree();
  if (tree) {
    for (TTOMOTreeIterator it = tree->Iterator(); !it.Eof(); it.Next()) {
      ++listedNodes_;
      report.Nodes().AddNodeItem(it.Current());
    }
  }
  report.Nodes().EndNodeList();
  report.ResetProgress(listedNodes_);
  report.AddLog("! Concluído.", TLogColour::Green);
  report.NextStage();
  report.AddLog(": Atualizando informações...", TLogColour::Blue);
  // An empty tree shows its placeholder and the chain ends here.
  return listedNodes_ == 0 ? TState::None : TState::Measure;
}

TDocumentListRefresh::TState TDocumentListRefresh::MeasureSelectedNode() {
  TOperationReport& report = Report();
  TTOMONode* node = report.Nodes().SelectedNode();
  if (node) {
    report.Nodes().SelectNodeItem(node);
    const std::int32_t number = node->Record().DocumentNumber;
    if (number != 0) node->SetDocumentSize(FileSize(DocumentFileName(collection_.DataFolder(), number)));
  }
  report.SetProgress(report.ProgressPosition() + 1);
  return report.Nodes().SelectNextItem() ? TState::Measure : TState::Save;
}

void TDocumentListRefresh::SaveTree() {
  Report().AddLog("! Atualização concluída.", TLogColour::Green);
  Report().AddLog(": Gravando alterações...", TLogColour::Blue);
  // An unchanged base writes nothing and keeps its tree: the main window
  // need not rebuild its views for nothing.
  const bool changed = collection_.Tree() && collection_.Tree()->Modified();
  if (changed) {
    collection_.SaveTreeIfChanged();
    collection_.LoadTree();
  }
  Report().NextStage();
  Report().AddLog("! Operação concluída.", TLogColour::Green);
  SetFinished(true);
}

void TDocumentListRefresh::TreeAboutToBeReplaced() {
  // The reload of state 4 is this operation's own.
  if (InStep() || Finished() || listedNodes_ == 0) return;
  Report().AddLog(kTreeReplacedLine, TLogColour::Red);
  StopOperation();
}

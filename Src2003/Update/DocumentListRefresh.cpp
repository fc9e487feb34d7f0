#include "DocumentListRefresh.h"

#include "DocumentFileName.h"
#include "InstalledCollection.h"
#include "LxFilUtl.h"
#include "TOMONode.h"
#include "TOMOTree.h"

namespace {

enum TRefreshState : int {
  kStartState = 1,
  kListState = 2,
  kMeasureState = 3,
  kSaveState = 4,
};

}  // namespace

TDocumentListRefresh::TDocumentListRefresh(TInstalledCollection& collection, QObject* parent)
    : TOperation(parent), collection_(collection) {
  SetStages({kListStage, kMeasureStage, kDoneStage});
  connect(&collection_, &TInstalledCollection::TreeAboutToBeReplaced, this,
          &TDocumentListRefresh::TreeAboutToBeReplaced);
}

void TDocumentListRefresh::Start() { PostStep(WM_OPERATIONSTEP, kStartState, 0); }

void TDocumentListRefresh::Step(const TOperationStep& message, int& nextState, int&) {
  switch (message.State) {
    case kStartState:
      // A window shown a second time posts this again: the work runs once.
      if (started_) return;
      started_ = true;
      nextState = kListState;
      break;
    case kListState:
      ListNodes(nextState);
      break;
    case kMeasureState:
      MeasureSelectedNode(nextState);
      break;
    case kSaveState:
      SaveTree();
      break;
    default:
      break;
  }
}

void TDocumentListRefresh::ListNodes(int& nextState) {
  nextState = kMeasureState;
  AddLog(": Criando lista de documentos...", TLogColour::Blue);
  BeginNodeList();
  const TTOMOTree* tree = collection_.Tree();
  if (tree) {
    for (TTOMOTreeIterator it = tree->Iterator(); !it.Eof(); it.Next()) {
      ++listedNodes_;
      AddNodeItem(it.Current());
    }
  }
  // An empty tree shows its placeholder and the chain ends here.
  if (listedNodes_ == 0) nextState = 0;
  EndNodeList();
  ResetProgress(listedNodes_);
  AddLog("! Concluído.", TLogColour::Green);
  NextStage();
  AddLog(": Atualizando informações...", TLogColour::Blue);
}

void TDocumentListRefresh::MeasureSelectedNode(int& nextState) {
  nextState = kMeasureState;
  TTOMONode* node = Nodes().SelectedNode();
  if (node) {
    SelectNodeItem(node);
    const std::int32_t number = node->Record().DocumentNumber;
    if (number != 0) node->SetDocumentSize(FileSize(DocumentFileName(collection_.DataFolder(), number)));
  }
  SetProgress(ProgressPosition() + 1);
  if (!Nodes().SelectNextItem()) nextState = kSaveState;
}

void TDocumentListRefresh::SaveTree() {
  AddLog("! Atualização concluída.", TLogColour::Green);
  AddLog(": Gravando alterações...", TLogColour::Blue);
  // An unchanged base writes nothing and keeps its tree: the main window
  // need not rebuild its views for nothing.
  const bool changed = collection_.Tree() && collection_.Tree()->Modified();
  if (changed) {
    collection_.SaveTreeIfChanged();
    collection_.LoadTree();
  }
  NextStage();
  AddLog("! Operação concluída.", TLogColour::Green);
  SetFinished(true);
}

void TDocumentListRefresh::TreeAboutToBeReplaced() {
  // The reload of state 4 is this operation's own.
  if (InStep() || Finished() || listedNodes_ == 0) return;
  AddLog(kTreeReplacedLine, TLogColour::Red);
  StopOperation();
}

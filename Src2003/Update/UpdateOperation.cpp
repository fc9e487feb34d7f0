#include "UpdateOperation.h"

#include <algorithm>

#include "ConfigUnit.h"
#include "InstalledCollection.h"
#include "OperationView.h"
#include "TOMOTree.h"
#include "UpdateList.h"

namespace {

// The updates alive in this process, for the class-level UpdateKind.
std::vector<const TUpdateOperation*>& LiveUpdates() {
  static std::vector<const TUpdateOperation*> updates;
  return updates;
}

}  // namespace

TUpdateKindNotifier& UpdateKindNotifier() {
  static TUpdateKindNotifier notifier;
  return notifier;
}

TUpdateOperation::TUpdateOperation(TInstalledCollection& collection, TWordIndex* wordIndex, QObject* parent)
    : TOperation(parent), installer_(collection, wordIndex, Report()) {
  LiveUpdates().push_back(this);
  Report().SetStages({"Verificando atualizações disponíveis", "Transferindo arquivos", "Operação concluída"});
  // The title words are written by the collection's save of the tree; a
  // failure there is this update's to report while it runs.
  connect(&collection, &TInstalledCollection::TitleWordsCutShort, this, [this] {
    if (!Finished()) installer_.ReportIndexWriteFailure();
  });
}

TUpdateOperation::~TUpdateOperation() {
  std::erase(LiveUpdates(), this);
  if (kind_ != TUpdateKind::None) UpdateKindNotifier().Notify();
}

void TUpdateOperation::SetUpdateKind(TUpdateKind kind) {
  if (kind_ == kind) return;
  kind_ = kind;
  Report().View().OperationStateChanged();
  UpdateKindNotifier().Notify();
}

TUpdateKind TUpdateOperation::ActiveUpdateKind() {
  for (const TUpdateOperation* update : LiveUpdates()) {
    if (update->UpdateKind() != TUpdateKind::None) return update->UpdateKind();
  }
  return TUpdateKind::None;
}

std::string TUpdateOperation::DownloadFolder() const {
  return downloadFolder_.empty() ? Config().GetString(::DownloadFolder) : downloadFolder_;
}

void TUpdateOperation::OperationEnded() { installer_.CloseIndexUpdate(); }

void TUpdateOperation::BuildUpdateList() {
  newTree_.reset();
  documentCount_ = 0;
  changedNodes_.clear();
  documentsToFetch_.clear();
  newTree_ = std::make_unique<TTOMOTree>(DownloadFolder());

  const TUpdateList list = ::BuildUpdateList(*newTree_, installer_.Collection().Tree(), Today());
  changedNodes_ = list.ChangedNodes;
  TNodeList& nodes = Report().Nodes();
  nodes.BeginNodeList();
  try {
    for (TTOMONode* node : list.DocumentNodes) {
      nodes.AddNodeItem(node);
      documentsToFetch_[node->Record().DocumentNumber] = node;
    }
  } catch (...) {
    nodes.EndNodeList();
    throw;
  }
  nodes.EndNodeList();
  documentCount_ = static_cast<int>(list.DocumentNodes.size());
}

TTOMONode* TUpdateOperation::DocumentToFetch(std::int32_t number) const {
  const auto found = documentsToFetch_.find(number);
  return found == documentsToFetch_.end() ? nullptr : found->second;
}

std::int64_t TUpdateOperation::TotalTransferBytes() const {
  std::int64_t total = 0;
  for (const auto& [number, node] : documentsToFetch_) total += node->Record().DocumentSize;
  return total;
}

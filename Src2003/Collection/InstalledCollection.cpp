#include "InstalledCollection.h"

#include "LxExcept.h"
#include "TOMODocumentSet.h"
#include "TOMOTree.h"
#include "WordIndex.h"
#include "WordIndexLockWrite.h"

namespace {

constexpr char kNoFolder[] = "Diretório não existente";
constexpr char kNoTree[] = "Nenhuma base de documentos carregada";

// Announces the replacement of the tree on the way in and its end on the way
// out, so that observers hear both also when loading raises.
class TReplacementNotice {
 public:
  explicit TReplacementNotice(std::function<void()> done) : done_(std::move(done)) {}
  ~TReplacementNotice() { done_(); }
  TReplacementNotice(const TReplacementNotice&) = delete;
  TReplacementNotice& operator=(const TReplacementNotice&) = delete;

 private:
  std::function<void()> done_;
};

}  // namespace

TInstalledCollection::TInstalledCollection(TFolderSource dataFolder, TWordIndexSource titleIndex, QObject* parent)
    : QObject(parent), dataFolder_(std::move(dataFolder)), titleIndex_(std::move(titleIndex)) {}

TInstalledCollection::~TInstalledCollection() = default;

TTOMODocumentSet& TInstalledCollection::Documents() const {
  if (!DocumentSource()) throw ELxException(kNoFolder);
  return *DocumentSource();
}

void TInstalledCollection::LoadTree() {
  emit TreeAboutToBeReplaced();
  TReplacementNotice notice([this] { emit TreeReplaced(); });
  tree_.reset();
  tree_ = std::make_unique<TTOMOTree>(DataFolder());
}

void TInstalledCollection::SaveTreeIfChanged() {
  if (!tree_ || !tree_->Modified()) return;
  emit TreeAboutToBeSaved();
  TWordIndex* index = titleIndex_ ? titleIndex_() : nullptr;
  // From the moment the tree may change on the disk until the title group
  // matches it, the index says it is out of date: a save cut short by a crash
  // or a failed write then never has searches trust titles that are gone.
  const bool wasOutOfDate = index && index->IsOutOfDate();
  if (index && !wasOutOfDate) MarkOutOfDateQuietly(*index);
  tree_->SaveToFile(DataFolder());
  if (IndexTitles(index) && !wasOutOfDate) index->MarkUpToDate();
  tree_->SetModified(false);
}

void TInstalledCollection::MarkOutOfDateQuietly(TWordIndex& index) {
  try {
    index.MarkOutOfDate();
  } catch (...) {
    // An index folder we cannot write is one the title update cannot change
    // either; the tree is saved all the same.
  }
}

bool TInstalledCollection::IndexTitles(TWordIndex* index) const {
  if (!index) return false;
  try {
    const std::unique_ptr<TWordIndexLockUpdate> update = index->OpenUpdate();
    update->IndexTitles(*tree_);
    return update->Finish();
  } catch (...) {
    return false;
  }
}

TTOMONode& TInstalledCollection::MergeNode(const TTOMONode& node) {
  if (!tree_) throw ELxException(kNoTree);
  return tree_->MergeNode(node);
}

void TInstalledCollection::FollowDataFolder() {
  if (!DocumentFolder()) throw ELxException(kNoFolder);
  DocumentFolder()->SetFolder(DataFolder());
  LoadTree();
}

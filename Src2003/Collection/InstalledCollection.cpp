#include "InstalledCollection.h"

#include "LxExcept.h"
#include "LxFilUtl.h"
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
  // Without an index there are no titles to follow the tree; opening one
  // would create its folder just because a document was shown.
  if (index && !DirectoryExists(index->EngineFolder())) index = nullptr;
  // From the moment the tree may change on the disk until the title group
  // matches it, the index says it is out of date: a save cut short by a crash
  // or a failed write then never has searches trust titles that are gone.
  const bool wasOutOfDate = index && index->IsOutOfDate();
  if (index && !wasOutOfDate) MarkOutOfDateQuietly(*index);
  tree_->SaveToFile(DataFolder());
  tree_->SetModified(false);
  if (!index) return;
  const TTitleUpdate titles = IndexTitles(*index);
  // An update that never began (the index busy here or elsewhere, the user
  // not waiting for it) left the title group as it was: the marker goes back
  // to what it said before. Only an update cut short keeps it.
  if (!wasOutOfDate && titles != TTitleUpdate::CutShort) index->MarkUpToDate();
  if (titles == TTitleUpdate::CutShort) emit TitleWordsCutShort();
}

void TInstalledCollection::MarkOutOfDateQuietly(TWordIndex& index) {
  try {
    index.MarkOutOfDate();
  } catch (...) {
    // An index folder we cannot write is one the title update cannot change
    // either; the tree is saved all the same.
  }
}

TInstalledCollection::TTitleUpdate TInstalledCollection::IndexTitles(TWordIndex& index) const {
  std::unique_ptr<TWordIndexLockUpdate> update;
  try {
    update = index.OpenUpdate();
  } catch (...) {
    return TTitleUpdate::NotBegun;
  }
  try {
    update->IndexTitles(*tree_);
    return update->Finish() ? TTitleUpdate::Whole : TTitleUpdate::CutShort;
  } catch (...) {
    return TTitleUpdate::CutShort;
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

#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QObject>

class TTOMODocumentSet;
class TTOMONode;
class TTOMOTree;
class TWordIndex;

// The collection installed in the data folder: its document tree and its
// documents, as the program and pandecta-tool both use them. Whatever shows
// the tree observes it through the signals; operations (updates, refreshes)
// change it only through here, so that every observer follows.
//
//   TInstalledCollection collection([] { return dataFolder; }, [] { return index; });
//   collection.LoadTree();                        // TreeAboutToBeReplaced, TreeReplaced
//   collection.Tree()->FindNode(12)->SetDocumentSize(900);
//   collection.SaveTreeIfChanged();               // TreeAboutToBeSaved, writes, re-indexes titles
class TInstalledCollection : public QObject {
  Q_OBJECT

 public:
  using TFolderSource = std::function<std::string()>;
  using TWordIndexSource = std::function<TWordIndex*()>;

  // `dataFolder` gives the folder at each use, so that a changed setting
  // takes effect at the next load. `titleIndex` gives the word index whose
  // title group follows every save (nullptr: none).
  TInstalledCollection(TFolderSource dataFolder, TWordIndexSource titleIndex, QObject* parent = nullptr);
  ~TInstalledCollection() override;

  std::string DataFolder() const { return dataFolder_(); }
  // The installed tree; nullptr before the first load and after a load that
  // failed.
  TTOMOTree* Tree() const { return tree_.get(); }
  // The documents of the data folder: the program's document source. Raises
  // ELxException "Diretório não existente" when there is none.
  TTOMODocumentSet& Documents() const;

  // Replaces the tree by the data folder's index file. Observers hear
  // TreeAboutToBeReplaced while the old tree still exists and TreeReplaced
  // once the new one is in place, also when loading failed (the tree is then
  // nullptr and the error propagates).
  void LoadTree();
  // Writes the tree when it changed, then rebuilds the title words of the
  // word index. A busy or missing word index must not keep the tree from
  // being saved, so errors of that step are dropped; errors of writing the
  // index file propagate and leave the tree marked changed. An existing
  // index is marked out of date while the two may disagree, and stays so
  // only when its title update began and did not reach the disk whole; a
  // missing index is neither created nor marked.
  void SaveTreeIfChanged();
  // Takes a node of another tree (an update's) into the installed tree;
  // raises ELxException when no tree is loaded.
  TTOMONode& MergeNode(const TTOMONode& node);
  // After the data folder setting changed: the document folder moves to it
  // (ELxException "Diretório não existente" when it does not exist) and the
  // tree is loaded from it.
  void FollowDataFolder();

 signals:
  void TreeAboutToBeReplaced();
  void TreeReplaced();
  // Before a changed tree is written: views built from it are out of date.
  void TreeAboutToBeSaved();
  // After a save whose title words began and did not reach the disk whole
  // (a full or read-only index folder): the index stays marked out of date.
  void TitleWordsCutShort();

 private:
  enum class TTitleUpdate { NotBegun, Whole, CutShort };
  // Rebuilds the title group from the tree.
  TTitleUpdate IndexTitles(TWordIndex& index) const;
  static void MarkOutOfDateQuietly(TWordIndex& index);

  TFolderSource dataFolder_;
  TWordIndexSource titleIndex_;
  std::unique_ptr<TTOMOTree> tree_;
};

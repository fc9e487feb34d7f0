#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "InstalledCollection.h"
#include "LxCodePage.h"
#include "LxExcept.h"
#include "Prompts.h"
#include "TOMODocumentSet.h"
#include "TOMOTree.h"
#include "TempFolder.h"
#include "TestBase.h"
#include "WordIndex.h"
#include "WordIndexLockWrite.h"

namespace fs = std::filesystem;

namespace {

// A collection on a scratch data folder, recording the notices it gives in
// the order it gives them.
class InstalledCollection : public ::testing::Test {
 protected:
  InstalledCollection() {
    WriteTestBase(dataFolder, {{1, 0, "Leis"}, {2, 1, "Lei do imposto", kKindRichText, "Texto"}});
    QObject::connect(&collection, &TInstalledCollection::TreeAboutToBeReplaced,
                     [this] { notices.push_back(collection.Tree() ? "replacing" : "replacing none"); });
    QObject::connect(&collection, &TInstalledCollection::TreeReplaced,
                     [this] { notices.push_back(collection.Tree() ? "replaced" : "replaced by none"); });
    QObject::connect(&collection, &TInstalledCollection::TreeAboutToBeSaved, [this] { notices.push_back("saving"); });
  }

  std::string IndexFile() const { return dataFolder + "/TOMOIdx.dat"; }

  TempFolder folder;
  std::string dataFolder = folder.File("Dados");
  TWordIndex* titleIndex = nullptr;
  TInstalledCollection collection{[this] { return dataFolder; }, [this] { return titleIndex; }};
  std::vector<std::string> notices;
};

TEST_F(InstalledCollection, LoadingTellsObserversBeforeAndAfterTheTreeIsReplaced) {
  collection.LoadTree();
  ASSERT_NE(collection.Tree(), nullptr);
  EXPECT_EQ(collection.Tree()->FindNode(2)->Record().Title, "Lei do imposto");
  collection.LoadTree();
  EXPECT_EQ(notices, (std::vector<std::string>{"replacing none", "replaced", "replacing", "replaced"}));
}

TEST_F(InstalledCollection, AFailedLoadLeavesNoTreeAndStillEndsTheReplacement) {
  collection.LoadTree();
  fs::remove(IndexFile());
  EXPECT_THROW(collection.LoadTree(), ELxException);
  EXPECT_EQ(collection.Tree(), nullptr);
  EXPECT_EQ(notices.back(), "replaced by none");
  EXPECT_THROW(collection.MergeNode(TTOMOTree().AddNode({})), ELxException);
}

TEST_F(InstalledCollection, SavingWritesOnlyAChangedTree) {
  collection.LoadTree();
  fs::remove(IndexFile());
  collection.SaveTreeIfChanged();
  EXPECT_FALSE(fs::exists(IndexFile()));  // unchanged: nothing written
  collection.Tree()->FindNode(2)->SetDocumentSize(1234);
  collection.SaveTreeIfChanged();
  ASSERT_TRUE(fs::exists(IndexFile()));
  EXPECT_FALSE(collection.Tree()->Modified());
  EXPECT_EQ(TTOMOTree(dataFolder).FindNode(2)->Record().DocumentSize, 1234);
  EXPECT_EQ(notices.back(), "saving");
}

TEST_F(InstalledCollection, AFailedSaveKeepsTheTreeMarkedChanged) {
  collection.LoadTree();
  collection.Tree()->FindNode(2)->SetDocumentSize(99);
  fs::remove_all(dataFolder);
  WriteWholeFile(dataFolder, "não é uma pasta");
  EXPECT_THROW(collection.SaveTreeIfChanged(), ELxException);
  EXPECT_TRUE(collection.Tree()->Modified());
}

TEST_F(InstalledCollection, SavingRebuildsTheTitleWordsOfTheWordIndex) {
  TWordIndex index(folder.File("Extra"));
  index.OpenCreate().reset();  // an empty index
  titleIndex = &index;
  collection.LoadTree();
  TTOMOTree update;  // an update's tree, renaming entry 2
  TTOMORecordH renamed = collection.Tree()->FindNode(2)->Record();
  renamed.Title = Utf8ToWin1252("Lei do pedágio");
  collection.MergeNode(update.AddNode(renamed));
  collection.SaveTreeIfChanged();
  EXPECT_FALSE(index.IsOutOfDate());
  const TSearchResultList found = index.Search(Utf8ToWin1252("pedágio"));
  ASSERT_EQ(found.Count(), 1);
  EXPECT_EQ(found.Items(0).DocumentId(), 2);
  EXPECT_TRUE(found.Items(0).TitleMatch());
}

TEST_F(InstalledCollection, ABusyWordIndexDoesNotKeepTheTreeFromBeingSaved) {
  TWordIndex index(folder.File("Extra"));
  TScriptedPrompts prompts({false});  // "Não" to waiting for the index
  TScopedPrompts scoped(prompts);
  auto held = index.OpenCreate();     // this program holds the index already
  titleIndex = &index;
  collection.LoadTree();
  collection.Tree()->FindNode(2)->SetDocumentSize(7);
  EXPECT_NO_THROW(collection.SaveTreeIfChanged());
  EXPECT_EQ(TTOMOTree(dataFolder).FindNode(2)->Record().DocumentSize, 7);
  // The title update never began: the index is as stale as it was, and no
  // more.
  EXPECT_FALSE(index.IsOutOfDate());
}

// The out-of-date marker follows what the title update did: put back as it
// was when the update could not begin, kept when it began and was cut short.
TEST_F(InstalledCollection, AnIndexHeldElsewhereKeepsItsMarkerAsItWas) {
  TWordIndex index(folder.File("Extra"));
  index.OpenCreate().reset();
  index.SetPause([](std::chrono::milliseconds) {});
  titleIndex = &index;
  const std::string foreignHolder = "OUTRAESTACAO.77.123456\r\nEXCLUSIVE\r\n600000\r\n";
  for (const bool markedBefore : {false, true}) {
    if (markedBefore) index.MarkOutOfDate();
    WriteWholeFile(folder.File("Extra/lock.dat"), foreignHolder);
    TScriptedPrompts prompts({false});  // "Não" to waiting for the other machine
    TScopedPrompts scoped(prompts);
    collection.LoadTree();
    collection.Tree()->FindNode(2)->SetDocumentSize(markedBefore ? 11 : 10);
    EXPECT_NO_THROW(collection.SaveTreeIfChanged());
    EXPECT_EQ(prompts.Questions().size(), 1u);
    EXPECT_EQ(index.IsOutOfDate(), markedBefore);
  }
}

TEST_F(InstalledCollection, ATitleUpdateCutShortLeavesTheIndexOutOfDate) {
  TWordIndex index(folder.File("Extra"));
  index.OpenCreate().reset();
  titleIndex = &index;
  // A folder where the title group's new file must go: the group cannot be
  // written, although the update began.
  fs::create_directories(index.EngineFolder() + "/grp75/30.sl.tmp");
  collection.LoadTree();
  collection.Tree()->FindNode(2)->SetDocumentSize(12);
  EXPECT_NO_THROW(collection.SaveTreeIfChanged());
  EXPECT_EQ(TTOMOTree(dataFolder).FindNode(2)->Record().DocumentSize, 12);
  EXPECT_TRUE(index.IsOutOfDate());
}

TEST_F(InstalledCollection, AMissingIndexIsNeitherCreatedNorMarked) {
  TWordIndex index(folder.File("Extra"));
  titleIndex = &index;
  collection.LoadTree();
  collection.Tree()->FindNode(2)->SetDocumentSize(13);
  collection.SaveTreeIfChanged();
  EXPECT_EQ(TTOMOTree(dataFolder).FindNode(2)->Record().DocumentSize, 13);
  EXPECT_FALSE(fs::exists(folder.File("Extra")));
}

TEST_F(InstalledCollection, FollowingTheDataFolderMovesTheDocumentsAndReloads) {
  TTOMODocumentFolder documents(dataFolder);
  const std::string other = folder.File("Outra");
  WriteTestBase(other, {{5, 0, "Outra base"}});
  dataFolder = other;
  collection.FollowDataFolder();
  EXPECT_EQ(documents.Folder(), other);
  EXPECT_NE(collection.Tree()->FindNode(5), nullptr);
  dataFolder = folder.File("inexistente");
  EXPECT_THROW(collection.FollowDataFolder(), ELxException);
  EXPECT_EQ(documents.Folder(), other);
}

}  // namespace

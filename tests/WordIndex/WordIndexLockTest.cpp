#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "LxCodePage.h"
#include "LxDirectoryLock.h"
#include "LxFilUtl.h"
#include "Prompts.h"
#include "TempFolder.h"
#include "WordIndexError.h"
#include "WordIndexLockSearch.h"
#include "WordIndexLockWrite.h"
#include "WordIndexMessages.h"
#include "WordIndexTestSupport.h"

namespace {

class WordIndexLocks : public ::testing::Test {
 protected:
  WordIndexLocks() {
    index.SetPause([this](std::chrono::milliseconds duration) {
      EXPECT_EQ(duration.count(), 500);
      ++pauses;
    });
  }

  std::string ErrorOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const EWordIndexError& error) {
      return error.Message();
    }
    return "no error";
  }

  std::string Busy(const char* format) { return FormatMessage(format, ComputerName().c_str()); }

  TempFolder folder;
  std::string indexFolder = folder.File("Rede/Extra");
  TWordIndex index{indexFolder};
  TScriptedPrompts prompts;
  TScopedPrompts scopedPrompts{prompts};
  int pauses = 0;
};

TEST_F(WordIndexLocks, CreateMakesTheFoldersAndAnEmptyIndex) {
  {
    auto lock = index.OpenCreate();
    EXPECT_TRUE(lock->Opened());
    EXPECT_EQ(index.Lock(), lock.get());
    EXPECT_TRUE(DirectoryExists(PathJoin(indexFolder, "TOMOACL")));
    EXPECT_TRUE(FileExists(PathJoin(indexFolder, "lock.dat")));
  }
  EXPECT_EQ(index.Lock(), nullptr);
  EXPECT_EQ(SearchUtf8(index, "qualquer").Count(), 0);
  EXPECT_TRUE(prompts.Questions().empty());
}

TEST_F(WordIndexLocks, CreateRemovesTheOldIndex) {
  BuildTestIndex(index, {{1, "antigo"}});
  BuildTestIndex(index, {{2, "novo"}});
  EXPECT_EQ(Describe(SearchUtf8(index, "antigo")), "");
  EXPECT_EQ(Describe(SearchUtf8(index, "novo")), "2,0:4");
}

TEST_F(WordIndexLocks, OnlyOneLockPerProcess) {
  auto create = index.OpenCreate();
  EXPECT_EQ(ErrorOf([&] { index.Search(Utf8ToWin1252("imposto")); }), kIndexAlreadyOpenMessage);
  EXPECT_EQ(ErrorOf([&] { index.OpenUpdate(); }), kIndexAlreadyOpenMessage);
  EXPECT_EQ(index.Lock(), create.get());
  EXPECT_TRUE(create->Opened());
}

TEST_F(WordIndexLocks, SearchOfAnIndexNeverBuiltFailsAndLetsTheFolderGo) {
  EXPECT_EQ(ErrorOf([&] { index.Search("imposto"); }), kIndexCannotOpenMessage);
  EXPECT_EQ(ErrorOf([&] { index.OpenUpdate(); }), kIndexCannotOpenMessage);
  EXPECT_EQ(index.Lock(), nullptr);
  TLxDirectoryLock other(indexFolder, 5000);
  EXPECT_TRUE(other.LockExclusive());
}

TEST_F(WordIndexLocks, SearchWaitsAsksAndGivesUpOnNo) {
  BuildTestIndex(index, {{1, "imposto"}});
  TLxDirectoryLock builder(indexFolder, 5000);
  ASSERT_TRUE(builder.LockExclusive());
  prompts.AddAnswer(true);   // try again
  prompts.AddAnswer(false);  // give up
  EXPECT_EQ(ErrorOf([&] { index.Search("imposto"); }), kIndexInUseMessage);
  EXPECT_EQ(pauses, 6);  // three before each question, none after Yes
  EXPECT_EQ(prompts.Questions(),
            (std::vector<std::string>{Busy(kSearchBusyQuestion), Busy(kSearchBusyQuestion)}));
  EXPECT_EQ(index.Lock(), nullptr);
}

TEST_F(WordIndexLocks, SharedSearchesDoNotExcludeEachOther) {
  BuildTestIndex(index, {{1, "imposto"}});
  TLxDirectoryLock otherReader(indexFolder, 5000);
  ASSERT_TRUE(otherReader.LockShared());
  EXPECT_EQ(Describe(SearchUtf8(index, "imposto")), "1,0:7");
  EXPECT_EQ(pauses, 0);
}

TEST_F(WordIndexLocks, UpdateAsksWithItsOwnQuestion) {
  BuildTestIndex(index, {{1, "imposto"}});
  TLxDirectoryLock reader(indexFolder, 5000);
  ASSERT_TRUE(reader.LockShared());
  EXPECT_EQ(ErrorOf([&] { index.OpenUpdate(); }), kIndexInUseMessage);
  EXPECT_EQ(pauses, 3);
  EXPECT_EQ(prompts.Questions(), (std::vector<std::string>{Busy(kUpdateBusyQuestion)}));
}

TEST_F(WordIndexLocks, CreateTriesTwiceWithoutAsking) {
  BuildTestIndex(index, {{1, "imposto"}});
  TLxDirectoryLock reader(indexFolder, 5000);
  ASSERT_TRUE(reader.LockShared());
  EXPECT_EQ(ErrorOf([&] { index.OpenCreate(); }), Busy(kCreateBusyMessage));
  EXPECT_EQ(pauses, 1);
  EXPECT_TRUE(prompts.Questions().empty());
  reader.Unlock();
  EXPECT_EQ(Describe(SearchUtf8(index, "imposto")), "1,0:7");  // the old index is untouched
}

TEST_F(WordIndexLocks, OutOfDateMarkerNotifiesEverySearch) {
  BuildTestIndex(index, {{1, "imposto"}});
  EXPECT_FALSE(index.IsOutOfDate());
  index.MarkOutOfDate();
  EXPECT_TRUE(index.IsOutOfDate());
  EXPECT_EQ(ReadWholeFile(PathJoin(indexFolder, "OutOfDate.txt")),
            Utf8ToWin1252("  Este arquivo indica que o índice de palavras\r\n"
                          "do Pandecta está desatualizado.\r\n"
                          "Não o exclua manualmente.\r\n"));
  EXPECT_EQ(Describe(SearchUtf8(index, "imposto")), "1,0:7");
  EXPECT_EQ(prompts.Notices(), (std::vector<std::string>{kOutOfDateNotice}));
  index.MarkUpToDate();
  EXPECT_FALSE(index.IsOutOfDate());
  SearchUtf8(index, "imposto");
  EXPECT_EQ(prompts.Notices().size(), 1u);
  index.MarkUpToDate();  // nothing to delete is fine
}

TEST_F(WordIndexLocks, MarkOutOfDateCreatesTheIndexFolder) {
  TWordIndex fresh(folder.File("nova/pasta"));
  fresh.MarkOutOfDate();
  EXPECT_TRUE(fresh.IsOutOfDate());
}

TEST_F(WordIndexLocks, DeleteIndexIsRefusedWhileTheIndexIsOpen) {
  BuildTestIndex(index, {{1, "imposto"}});
  {
    auto update = index.OpenUpdate();
    EXPECT_EQ(ErrorOf([&] { index.DeleteIndex(); }), kDeleteWhileOpenMessage);
    EXPECT_EQ(update->IndexText(2, "renda"), 1);
  }
  EXPECT_EQ(Describe(SearchUtf8(index, "renda")), "2,0:5");
  index.DeleteIndex();
  EXPECT_FALSE(DirectoryExists(PathJoin(indexFolder, "TOMOACL")));
  EXPECT_EQ(ErrorOf([&] { index.Search("renda"); }), kIndexCannotOpenMessage);
}

TEST_F(WordIndexLocks, LockOutlivingItsIndexObjectIsClosed) {
  std::unique_ptr<TWordIndexLockCreate> orphan;
  {
    TWordIndex shortLived(folder.File("outra"));
    orphan = shortLived.OpenCreate();
  }
  EXPECT_FALSE(orphan->Opened());
  EXPECT_EQ(orphan->IndexText(1, "imposto"), 0);
  TLxDirectoryLock other(folder.File("outra"), 5000);
  EXPECT_TRUE(other.LockExclusive());
}

}  // namespace

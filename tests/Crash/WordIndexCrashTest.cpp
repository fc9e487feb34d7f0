// The word index's commits cut at each change the program or the engine makes
// (lock.dat, OutOfDate.txt, group files, hint.il, the index file): a full
// build, and the title update that follows a save of the tree. After each cut
// the index answers as the old or the complete new one would, or says it is
// out of date: never a wrong answer served as right.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "CutPlan.h"
#include "IndexBuildSequence.h"
#include "InstalledCollection.h"
#include "LxCodePage.h"
#include "Prompts.h"
#include "TOMODocumentSet.h"
#include "TOMOTree.h"
#include "TempFolder.h"
#include "TestBase.h"
#include "WordIndex.h"
#include "WordIndexError.h"
#include "WordIndexTestSupport.h"

namespace {

// A build makes thousands of small changes; the test build cuts it at about
// this many points per kind (PANDECTA_CRASH_EVERY_CUT: at every one).
constexpr int kBuildCutBudget = 150;

const char* const kWords[] = {"imposto", "renda", "decreto", "lei", "pedagio", "regulamento", "antigo"};

// Every word's answer, or the error that tells the index is damaged.
std::string Answers(TWordIndex& index) {
  std::string answers;
  for (const char* word : kWords) {
    answers += word;
    answers += "=";
    try {
      answers += Describe(SearchUtf8(index, word));
    } catch (const EWordIndexError& error) {
      answers += "erro: " + error.Message();
    }
    answers += "\n";
  }
  return answers;
}

// A holder that crashed leaves its record in lock.dat; the next program takes
// the folder over once the record is stale (interval plus 3 s, covered by the
// lock's own tests). Here that wait is skipped.
void ForgetCrashedHolder(const std::string& indexFolder) {
  std::filesystem::remove(std::filesystem::path(indexFolder) / "lock.dat");
}

class TSilentReport : public TIndexBuildReport {
 public:
  void AddLog(TLineKind, const std::string&) override {}
  void ResetProgress(int) override {}
  void SetProgress(int) override {}
};

class WordIndexCrash : public ::testing::Test {
 protected:
  WordIndexCrash() {
    // A lock refused at a cut is retried at once, and the user asked once.
    index.SetPause([](std::chrono::milliseconds) {});
    WriteTestBase(dataFolder, {{1, 0, "Leis"},
                               {2, 1, "Lei do imposto", kKindRichText, "Imposto de renda\nRegulamento"},
                               {3, 1, "Decreto", kKindRichText, "Decreto do imposto"},
                               {4, 0, "Tabela", kKindBitmap}});
  }

  void Build() {
    const TTOMOTree tree(dataFolder);
    TTOMODocumentFolder documents(dataFolder);
    TSilentReport report;
    TIndexBuildSequence build(index, tree, documents, report);
    while (build.Step()) {
    }
  }

  TempFolder folder;
  std::string dataFolder = folder.File("Dados");
  std::string indexFolder = folder.File("Extra");
  TWordIndex index{indexFolder};
  TScriptedPrompts prompts;
  TScopedPrompts scopedPrompts{prompts};
};

TEST_F(WordIndexCrash, ABuildCutAtAnyChangeAnswersAsBeforeOrAsCompleteOrIsMarked) {
  auto prepare = [&] {
    std::filesystem::remove_all(indexFolder);
    BuildTestIndex(index, {{2, "texto antigo de renda"}});
  };
  prepare();
  const std::string oldAnswers = Answers(index);
  Build();
  ASSERT_FALSE(index.IsOutOfDate());
  const std::string completeAnswers = Answers(index);
  ASSERT_NE(oldAnswers, completeAnswers);

  int marked = 0;
  TCutDriver driver;
  driver.Prepare = prepare;
  driver.Commit = [&] { Build(); };
  driver.RunUnderCut = RunUnderLxAndEngineCut;
  driver.CutBudget = kBuildCutBudget;
  driver.Check = [&](const std::string& where) {
    ForgetCrashedHolder(indexFolder);
    if (index.IsOutOfDate()) {
      ++marked;
      return;
    }
    const std::string found = Answers(index);
    EXPECT_TRUE(found == oldAnswers || found == completeAnswers) << where << ":\n" << found;
  };
  const int cuts = driver.RunEveryCut();
  EXPECT_GE(cuts, 20);
  EXPECT_GT(marked, 0);
  RecordProperty("cut_points", cuts);
}

TEST_F(WordIndexCrash, ASaveOfTheTreeCutAtAnyChangeKeepsTitlesAndTreeInStepOrIsMarked) {
  Build();
  TWordIndex* titleIndex = &index;
  TInstalledCollection collection{[this] { return dataFolder; }, [&] { return titleIndex; }};
  const std::string oldTitle = "Lei do imposto", newTitle = "Lei do pedágio";
  auto prepare = [&] {
    std::filesystem::remove_all(dataFolder);
    std::filesystem::remove_all(indexFolder);
    WriteTestBase(dataFolder, {{1, 0, "Leis"}, {2, 1, oldTitle, kKindRichText, "Texto da lei"}});
    Build();
  };
  auto renameEntry = [&] {
    collection.LoadTree();
    TTOMOTree update;
    TTOMORecordH renamed = collection.Tree()->FindNode(2)->Record();
    renamed.Title = Utf8ToWin1252(newTitle);
    collection.MergeNode(update.AddNode(renamed));
    collection.SaveTreeIfChanged();
  };

  int marked = 0;
  TCutDriver driver;
  driver.Prepare = prepare;
  driver.Commit = renameEntry;
  driver.RunUnderCut = RunUnderLxAndEngineCut;
  driver.Check = [&](const std::string& where) {
    ForgetCrashedHolder(indexFolder);
    std::string title;
    ASSERT_NO_THROW(title = Win1252ToUtf8(TTOMOTree(dataFolder).FindNode(2)->Record().Title)) << where;
    ASSERT_TRUE(title == oldTitle || title == newTitle) << where << ": " << title;
    if (index.IsOutOfDate()) {
      ++marked;
      return;
    }
    const bool renamed = title == newTitle;
    EXPECT_EQ(Describe(SearchUtf8(index, "pedágio")), renamed ? "2:T" : "") << where;
    EXPECT_EQ(Describe(SearchUtf8(index, "imposto")), renamed ? "" : "2:T") << where;
  };
  const int cuts = driver.RunEveryCut();
  EXPECT_GE(cuts, 10);
  EXPECT_GT(marked, 0);
  RecordProperty("cut_points", cuts);
}

}  // namespace

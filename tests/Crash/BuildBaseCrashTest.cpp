// build-base replacing an installed base, cut at each of its changes: after
// the next build's recovery the data folder holds the old base or the new
// one, whole, with or without a file system that swaps folders in one step.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "BuildBaseWriter.h"
#include "CutPlan.h"
#include "DocumentFileName.h"
#include "LxDateTime.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentFile.h"
#include "TOMORecord.h"
#include "TOMOTree.h"
#include "TempFolder.h"

namespace {

// A base of a root folder and `documents` rich-text documents whose texts
// all name `word`.
TBasePlan PlanOf(const std::string& word, int documents) {
  TBasePlan plan;
  TTOMORecordH root;
  root.ParentId = -1;
  root.Title = "Raiz " + word;
  plan.Records.push_back(root);
  for (int id = 1; id <= documents; ++id) {
    TTOMORecordH record;
    record.Id = id;
    record.Title = word + " " + std::to_string(id);
    record.Kind = kKindRichText;
    record.DocumentNumber = id;
    plan.Records.push_back(record);
    TPlannedDocument document;
    document.EntryId = id;
    document.Number = id;
    document.Date = EncodeDate(2003, 2, id);
    document.Content = "{\\rtf1 " + word + " " + std::to_string(id) + "}";
    plan.Documents.push_back(document);
  }
  return plan;
}

// The base as the program reads it: every record line and every document's
// content.
std::string BaseText(const std::string& folder) {
  TTOMOTree tree(folder);
  std::string text;
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
    const TTOMORecordH& record = it.Current()->Record();
    text += FormatRecordLine(record) + "\n";
    if (record.DocumentNumber == 0) continue;
    TTOMODocumentFile document(DocumentFileName(folder, record.DocumentNumber), false);
    text += ReadDocumentBody(document.OpenRead()).Content + "\n";
    document.CloseDocument();
  }
  return text;
}

int RunEveryCutOfAReplacement(bool noExchange) {
  TempFolder folder;
  const std::string data = folder.File("Dados");
  const TBasePlan oldPlan = PlanOf("velho", 2);
  const TBasePlan newPlan = PlanOf("novo", 3);
  auto prepare = [&] {
    std::filesystem::remove_all(folder.Path());
    std::filesystem::create_directories(folder.Path());
    InstallBase(oldPlan, data);
  };
  prepare();
  const std::string oldBase = BaseText(data);
  InstallBase(newPlan, data);
  const std::string newBase = BaseText(data);
  EXPECT_NE(oldBase, newBase);

  TCutDriver driver;
  driver.NoExchange = noExchange;
  driver.Prepare = prepare;
  driver.Commit = [&] { InstallBase(newPlan, data); };
  driver.RunUnderCut = RunUnderLxCut;
  driver.Check = [&](const std::string& where) {
    std::string found;
    if (!noExchange) {
      // One atomic step: the data folder is whole even before any recovery.
      ASSERT_NO_THROW(found = BaseText(data)) << where;
      EXPECT_TRUE(found == oldBase || found == newBase) << where << ":\n" << found;
    }
    // What the next build does before anything else.
    ASSERT_NO_THROW(FinishInterruptedInstall(data)) << where;
    ASSERT_NO_THROW(found = BaseText(data)) << where;
    EXPECT_TRUE(found == oldBase || found == newBase) << where << ":\n" << found;
    // And that build then succeeds, leaving nothing beside the data folder.
    ASSERT_NO_THROW(InstallBase(newPlan, data)) << where;
    EXPECT_EQ(BaseText(data), newBase) << where;
    EXPECT_FALSE(std::filesystem::exists(data + ".novo")) << where;
    EXPECT_FALSE(std::filesystem::exists(data + ".antigo")) << where;
  };
  return driver.RunEveryCut();
}

TEST(BuildBaseCrash, TheDataFolderHoldsTheOldOrTheNewBaseAfterACutAtAnyChange) {
  const int cuts = RunEveryCutOfAReplacement(false);
  EXPECT_GE(cuts, 20);
  RecordProperty("cut_points", cuts);
}

TEST(BuildBaseCrash, WithoutAnAtomicSwapTheNextBuildFinishesAnInterruptedOne) {
  const int cuts = RunEveryCutOfAReplacement(true);
  EXPECT_GE(cuts, 20);
  RecordProperty("cut_points", cuts);
}

}  // namespace

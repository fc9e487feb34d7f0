#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DocumentText.h"
#include "IndexBuildSequence.h"
#include "LxFilUtl.h"
#include "Prompts.h"
#include "TOMODocumentSet.h"
#include "TOMOTree.h"
#include "TempFolder.h"
#include "TestBase.h"
#include "WordIndexError.h"
#include "WordIndexLockWrite.h"
#include "WordIndexMessages.h"
#include "WordIndexTestSupport.h"

namespace {

// Records the build's log and progress as one line each.
class TRecordingReport : public TIndexBuildReport {
 public:
  void AddLog(TLineKind, const std::string& text) override { Lines.push_back(text); }
  void ResetProgress(int total) override { Lines.push_back("reset " + std::to_string(total)); }
  void SetProgress(int position) override { Lines.push_back("at " + std::to_string(position)); }

  std::vector<std::string> Lines;
};

class IndexBuild : public ::testing::Test {
 protected:
  void RunBuild() {
    const TTOMOTree tree(dataFolder);
    TTOMODocumentFolder documents(dataFolder);
    TIndexBuildSequence build(index, tree, documents, report);
    while (build.Step()) ++steps;
    EXPECT_TRUE(build.Finished());
  }

  TempFolder folder;
  std::string dataFolder = folder.File("Dados");
  TWordIndex index{folder.File("Extra")};
  TScriptedPrompts prompts;
  TScopedPrompts scopedPrompts{prompts};
  TRecordingReport report;
  int steps = 0;
};

TEST_F(IndexBuild, IndexesTextDocumentsAndTitlesThenMarksTheIndexUpToDate) {
  WriteTestBase(dataFolder, {{1, 0, "Pasta de leis"},
                             {2, 1, "Lei do imposto", kKindRichText, "Imposto de renda\nSegunda linha"},
                             {3, 1, "Tabela de alíquotas", kKindBitmap},
                             {4, 0, "Decreto", kKindRichText, "Regulamento do imposto"}});
  index.MarkOutOfDate();
  RunBuild();
  EXPECT_EQ(report.Lines, (std::vector<std::string>{": Contando documentos",
                                                    "! Concluído. 2 documentos a processar.", "reset 2",
                                                    ": Processando documentos", "  Lei do imposto", "at 1",
                                                    "  Decreto", "at 2", "! Processamento concluído"}));
  EXPECT_FALSE(index.IsOutOfDate());
  EXPECT_EQ(Describe(SearchUtf8(index, "imposto")), "2:T,0:7;4,15:7");
  EXPECT_EQ(Describe(SearchUtf8(index, "renda segunda")), "2,11:13");  // across the line break
  EXPECT_EQ(Describe(SearchUtf8(index, "aliquotas")), "3:T");           // bitmap: title only
  EXPECT_EQ(Describe(SearchUtf8(index, "pasta")), "");                  // folders have no title words
}

// A build empties the index first: until it has closed the index whole, a
// crash would leave it partial, so it says it is out of date meanwhile.
TEST_F(IndexBuild, TheIndexIsMarkedOutOfDateFromTheStartUntilTheLastStepClosesIt) {
  WriteTestBase(dataFolder, {{1, 0, "Lei", kKindRichText, "texto"}});
  BuildTestIndex(index, {{1, "antigo"}});
  ASSERT_FALSE(index.IsOutOfDate());
  const TTOMOTree tree(dataFolder);
  TTOMODocumentFolder documents(dataFolder);
  {
    TIndexBuildSequence build(index, tree, documents, report);
    EXPECT_TRUE(index.IsOutOfDate());
    while (build.Step()) {
      EXPECT_TRUE(index.IsOutOfDate());
    }
    // The last step closed the index whole and cleared the marker.
    EXPECT_FALSE(index.IsOutOfDate());
  }
  EXPECT_FALSE(index.IsOutOfDate());
  {
    TIndexBuildSequence cancelled(index, tree, documents, report);
    cancelled.Step();
  }
  EXPECT_TRUE(index.IsOutOfDate());
}

TEST_F(IndexBuild, TreeOfFoldersOnlyIndexesNothing) {
  WriteTestBase(dataFolder, {{1, 0, "Pasta"}, {2, 1, "Subpasta"}});
  index.MarkOutOfDate();
  RunBuild();
  EXPECT_EQ(report.Lines[1], "! Concluído. 0 documentos a processar.");
  EXPECT_FALSE(index.IsOutOfDate());
  EXPECT_EQ(SearchUtf8(index, "pasta").Count(), 0);
}

TEST_F(IndexBuild, HoldsTheIndexUntilItsLastStep) {
  WriteTestBase(dataFolder, {{1, 0, "Lei", kKindRichText, "texto"}});
  const TTOMOTree tree(dataFolder);
  TTOMODocumentFolder documents(dataFolder);
  TIndexBuildSequence build(index, tree, documents, report);
  build.Step();
  try {
    index.Search("texto");
    FAIL() << "the build holds the index";
  } catch (const EWordIndexError& error) {
    EXPECT_EQ(error.Message(), kIndexAlreadyOpenMessage);
  }
  try {
    TIndexBuildSequence second(index, tree, documents, report);
    FAIL() << "one build at a time";
  } catch (const EWordIndexError& error) {
    EXPECT_EQ(error.Message(), kIndexAlreadyOpenMessage);
  }
  while (build.Step()) {
  }
  // Finished, the sequence still exists and the index is free.
  EXPECT_EQ(Describe(SearchUtf8(index, "texto")), "1,0:5");
}

TEST_F(IndexBuild, UnreadableDocumentIsPassedOverAndTheBuildCompletes) {
  WriteTestBase(dataFolder, {{1, 0, "Lei", kKindRichText, "primeiro"},
                             {2, 0, "Decreto", kKindRichText, "segundo"},
                             {3, 0, "Portaria", kKindRichText, "terceiro"}});
  std::remove(PathJoin(dataFolder, "Doc00000/Doc00002.dat").c_str());
  index.MarkOutOfDate();
  {
    const TTOMOTree tree(dataFolder);
    TTOMODocumentFolder documents(dataFolder);
    TIndexBuildSequence build(index, tree, documents, report);
    while (build.Step()) {
    }
    EXPECT_EQ(build.DocumentsIndexed(), 3);
    EXPECT_EQ(build.DocumentsPassedOver(), 1);
  }
  EXPECT_FALSE(index.IsOutOfDate());
  EXPECT_EQ(Describe(SearchUtf8(index, "primeiro")), "1,0:8");
  EXPECT_EQ(Describe(SearchUtf8(index, "terceiro")), "3,0:8");
  EXPECT_EQ(Describe(SearchUtf8(index, "decreto")), "2:T");  // its title still
  EXPECT_EQ(report.Lines.back(), "# 1 documento(s) não puderam ser lidos e ficaram fora do índice.");
  EXPECT_TRUE(prompts.Notices().empty());
}

TEST_F(IndexBuild, DocumentTextIsTheViewText) {
  WriteTestBase(dataFolder, {{7, 0, "Lei", kKindRichText, "Ação fiscal\nÍndice {x}"}});
  TTOMODocumentFolder documents(dataFolder);
  EXPECT_EQ(ReadDocumentText(documents, 7), "A\xE7\xE3o fiscal\r\n\xCDndice {x}");
}

}  // namespace

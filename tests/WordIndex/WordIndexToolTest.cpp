// pandecta-tool text, index and search, run as the user runs them.

#include <string>

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include "LxCodePage.h"
#include "LxFilUtl.h"
#include "TempFolder.h"
#include "TestBase.h"
#include "WordIndexMessages.h"

namespace {

constexpr int kToolTimeoutMilliseconds = 60000;

struct TToolRun {
  int ExitCode;
  std::string Output;
  std::string Errors;
};

TToolRun RunTool(const QStringList& arguments) {
  QProcess tool;
  tool.setStandardInputFile(QProcess::nullDevice());  // no terminal: questions are answered No
  tool.start(PANDECTA_TOOL, arguments);
  EXPECT_TRUE(tool.waitForFinished(kToolTimeoutMilliseconds));
  return {tool.exitCode(), tool.readAllStandardOutput().toStdString(), tool.readAllStandardError().toStdString()};
}

QStringList Args(std::initializer_list<std::string> items) {
  QStringList list;
  for (const std::string& item : items) list << QString::fromStdString(item);
  return list;
}

class WordIndexTool : public ::testing::Test {
 protected:
  WordIndexTool() {
    WriteTestBase(data, {{1, 0, "Leis"},
                         {2, 1, "Lei do imposto", kKindRichText, "Imposto de renda\nAlíquota do imposto"},
                         {3, 1, "Decreto", kKindRichText, "Regulamento da renda"},
                         {4, 1, "Tabela", kKindBitmap}});
  }

  TToolRun Index() { return RunTool(Args({"index", data, extra})); }

  TempFolder folder;
  std::string data = folder.File("Dados");
  std::string extra = folder.File("Extra");
};

TEST_F(WordIndexTool, TextIsThePlainTextTheIndexTakes) {
  const TToolRun run = RunTool(Args({"text", data, "2"}));
  EXPECT_EQ(run.ExitCode, 0) << run.Errors;
  EXPECT_EQ(run.Output, Utf8ToWin1252("Imposto de renda\r\nAlíquota do imposto"));
}

TEST_F(WordIndexTool, TextRefusesEntriesWithoutTextDocument) {
  for (const char* id : {"1", "4", "99"}) {
    const TToolRun run = RunTool(Args({"text", data, id}));
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Output.empty());
    EXPECT_FALSE(run.Errors.empty());
  }
  EXPECT_EQ(RunTool(Args({"text", data, "x2"})).ExitCode, 1);
}

TEST_F(WordIndexTool, IndexThenSearchPrintsOneLinePerResult) {
  const TToolRun built = Index();
  ASSERT_EQ(built.ExitCode, 0) << built.Errors;
  EXPECT_NE(built.Errors.find("! Concluído. 2 documentos a processar."), std::string::npos);
  EXPECT_NE(built.Errors.find("! Processamento concluído"), std::string::npos);
  EXPECT_FALSE(FileExists(PathJoin(extra, "OutOfDate.txt")));

  EXPECT_EQ(RunTool(Args({"search", extra, "imposto"})).Output, "2\t1\t0:7,29:7\n");
  EXPECT_EQ(RunTool(Args({"search", extra, "RENDA"})).Output, "2\t0\t11:5\n3\t0\t15:5\n");
  EXPECT_EQ(RunTool(Args({"search", extra, "tabela"})).Output, "4\t1\t\n");
  EXPECT_EQ(RunTool(Args({"search", extra, "aliquota"})).Output, "2\t0\t17:8\n");
  EXPECT_EQ(RunTool(Args({"search", extra, "imposto", "--and", "renda"})).Output, "2\t0\t0:7,11:5,29:7\n");
  EXPECT_EQ(RunTool(Args({"search", extra, "imposto", "--or", "regulamento"})).Output,
            "2\t1\t0:7,29:7\n3\t0\t0:11\n");
  EXPECT_EQ(RunTool(Args({"search", extra, "ausente"})).Output, "");
}

TEST_F(WordIndexTool, SearchReportsErrorsWithExitCodeOne) {
  const TToolRun neverBuilt = RunTool(Args({"search", extra, "imposto"}));
  EXPECT_EQ(neverBuilt.ExitCode, 1);
  EXPECT_EQ(neverBuilt.Errors, std::string(kIndexCannotOpenMessage) + "\n");
  EXPECT_EQ(RunTool(Args({"search", extra})).ExitCode, 1);
  EXPECT_EQ(RunTool(Args({"search", extra, "a", "--xor", "b"})).ExitCode, 1);
}

TEST_F(WordIndexTool, SearchWhileTheIndexIsHeldAnswersNoWithoutATerminal) {
  ASSERT_EQ(Index().ExitCode, 0);
  QProcess holder;
  holder.start(WORDINDEX_LOCK_HOLDER, Args({extra, "update"}));
  ASSERT_TRUE(holder.waitForReadyRead(kToolTimeoutMilliseconds));
  const TToolRun run = RunTool(Args({"search", extra, "imposto"}));
  holder.write("\n");
  holder.closeWriteChannel();
  EXPECT_TRUE(holder.waitForFinished(kToolTimeoutMilliseconds));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Errors, FormatMessage(kSearchBusyQuestion, ComputerName().c_str()) + " [Não]\n" +
                            kIndexInUseMessage + "\n");
}

}  // namespace

// A base written byte by byte from the formats (tests/data/base/handwritten),
// read through the tree, the document files and pandecta-tool.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "DocumentBaseUnit.h"
#include "LxCodePage.h"
#include "TOMOTree.h"
#include "TempFolder.h"

namespace fs = std::filesystem;

namespace {

fs::path TestData() {
  const char* root = std::getenv("PANDECTA_TEST_DATA");
  return fs::path(root ? root : PANDECTA_SOURCE_TEST_DATA) / "base";
}

// A private copy, so that nothing a reader does touches the checked-in files.
class HandwrittenBase : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(TestData() / "handwritten", temp_.Path() / "Dados", fs::copy_options::recursive);
  }
  std::string Data() const { return (temp_.Path() / "Dados").string(); }

  TempFolder temp_;
};

struct TToolRun {
  int ExitCode = -1;
  std::string Output;
};

// Runs pandecta-tool with standard error joined to the output.
TToolRun RunTool(const std::string& arguments) {
  const std::string command = std::string(PANDECTA_TOOL) + " " + arguments + " 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  TToolRun run;
  std::array<char, 4096> chunk;
  for (size_t got; (got = fread(chunk.data(), 1, chunk.size(), pipe.get())) > 0;) run.Output.append(chunk.data(), got);
  const int status = pclose(pipe.release());
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace

TEST_F(HandwrittenBase, TreeReadsEveryField) {
  TTOMOTree tree(Data());
  const TTOMORecordH& decree = tree.FindNode(2)->Record();
  EXPECT_EQ(Win1252ToUtf8(decree.Title), "Decreto nº 1.234, de 5 de março de 2003");
  EXPECT_EQ(Win1252ToUtf8(decree.Summary), "Dispõe sobre o \"ICMS\".\r\nSegunda linha com \\ barra.");
  EXPECT_EQ(decree.Changed, EncodeDate(2003, 3, 5) + EncodeTime(10, 20, 30));
  EXPECT_EQ(decree.DocumentSize, 4096);
  EXPECT_EQ(decree.Kind, 'T');
  EXPECT_EQ(decree.PublishedDate, EncodeDate(2003, 3, 6));
  EXPECT_EQ(tree.FindNode(3)->Record().AuxText, "extra");
  EXPECT_EQ(tree.FindNode(4)->Record().Title, "Pareceres");
  EXPECT_EQ(tree.FindNode(4)->Record().Summary, "resumo curto");
  const TTOMORecordH& opinion = tree.FindNode(5)->Record();
  EXPECT_EQ(opinion.DocumentNumber, 7);
  EXPECT_EQ(opinion.DocumentSize, 0);
  EXPECT_EQ(opinion.Kind, 0);
  EXPECT_EQ(tree.FindNode(99), nullptr);
}

TEST_F(HandwrittenBase, SavedAgainItLoadsToTheSameTree) {
  TTOMOTree original(Data());
  original.SaveToFile(temp_.File("copia"));
  TTOMOTree copy(temp_.File("copia"));
  auto a = original.Iterator();
  auto b = copy.Iterator();
  for (; !a.Eof() && !b.Eof(); a.Next(), b.Next()) EXPECT_EQ(a.Current()->Record(), b.Current()->Record());
  EXPECT_TRUE(a.Eof() && b.Eof());
}

TEST_F(HandwrittenBase, EveryEncodingDecodesToItsBody) {
  TTOMODocumentFolder folder(Data());
  for (int number : {2, 3, 7}) {
    auto document = folder.GetDocument(number, false);
    TTOMODocumentBody body = ReadDocumentBody(document->OpenRead());
    document->CloseDocument();
    const std::string expected = ReadWholeFile(TestData() / "expected" / ("Doc0000" + std::to_string(number) + ".body"));
    EXPECT_NE(expected.find(body.Content), std::string::npos) << number;
  }
  auto decree = folder.GetDocument(2, false);
  const TTOMODocumentBody body = ReadDocumentBody(decree->OpenRead());
  ASSERT_EQ(body.Hyperlinks.size(), 2u);
  EXPECT_EQ(body.Hyperlinks[0].Record.Target, 5);
  EXPECT_EQ(body.Hyperlinks[1].Record.URL, "http://www.exemplo.gov.br/a b");
  auto bitmap = folder.GetDocument(3, false);
  EXPECT_EQ(ReadDocumentBody(bitmap->OpenRead()).Content.substr(0, 2), "BM");
}

TEST_F(HandwrittenBase, ToolListsTheTreeInPreOrder) {
  const TToolRun run = RunTool("tree '" + Data() + "'");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Output,
            "0\t-1\t0\t0\t\tBoletim Informativo\n"
            "1\t0\t1\t0\t\tLegislação\n"
            "2\t1\t2\t2\tT\tDecreto nº 1.234, de 5 de março de 2003\n"
            "3\t1\t2\t3\tB\tMapa\n"
            "4\t0\t1\t0\t\tPareceres\n"
            "5\t4\t2\t7\t\tParecer 7\n");
}

TEST_F(HandwrittenBase, ToolWritesDecodedBodiesUnchanged) {
  for (int number : {2, 3, 7}) {
    const TToolRun run = RunTool("body '" + Data() + "' " + std::to_string(number));
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Output, ReadWholeFile(TestData() / "expected" / ("Doc0000" + std::to_string(number) + ".body")));
  }
}

TEST_F(HandwrittenBase, ToolFailuresExitWithOneAndAMessage) {
  TToolRun run = RunTool("body '" + Data() + "' 5");
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Output.find("Doc00005.dat"), std::string::npos);
  run = RunTool("tree '" + temp_.File("nada") + "'");
  EXPECT_EQ(run.ExitCode, 1);
  WriteWholeFile(temp_.Path() / "Dados" / "TOMOIdx.dat", "TOMO.Sumario\r\n");
  run = RunTool("tree '" + Data() + "'");
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Output, "Formato de arquivo inválido para " + Data() + "/TOMOIdx.dat\n");
  EXPECT_EQ(RunTool("body '" + Data() + "' -3").ExitCode, 1);
  EXPECT_EQ(RunTool("generate-base '" + Data() + "' --entries x --documents 1").ExitCode, 1);
  EXPECT_EQ(RunTool("generate-base '" + Data() + "' --entries 10").ExitCode, 1);
}

// Runs `pandecta-tool refresh-sizes` and `pandecta-tool index` on a base
// built by `build-base`: the document list refresh and the index build of
// the program, without their windows.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "DocumentFileName.h"
#include "TOMONode.h"
#include "TOMOTree.h"
#include "TempFolder.h"
#include "ToolProcess.h"

namespace fs = std::filesystem;

namespace {

using ::testing::HasSubstr;

class RefreshSizesTool : public ::testing::Test {
 protected:
  void SetUp() override {
    data_ = folder_.File("Dados");
    ASSERT_EQ(RunTool("build-base " + Quoted(PANDECTA_DEMO_SOURCE) + " " + Quoted(data_)).ExitCode, 0);
  }
  std::string IndexFile() const { return data_ + "/TOMOIdx.dat"; }
  // The first document entry of the base.
  TTOMORecordH FirstDocument() const {
    TTOMOTree tree(data_);
    for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
      if (it.Current()->Record().DocumentNumber != 0) return it.Current()->Record();
    }
    return {};
  }

  TempFolder folder_;
  std::string data_;
};

TEST_F(RefreshSizesTool, MissingFileGetsSizeZeroAndAnUnchangedBaseIsNotWritten) {
  // A fresh base already knows its sizes: nothing to write.
  const auto built = fs::last_write_time(IndexFile());
  TRun run = RunTool("refresh-sizes " + Quoted(data_));
  ASSERT_EQ(run.ExitCode, 0) << run.Output;
  EXPECT_THAT(run.Output, HasSubstr(": Criando lista de documentos...\n! Concluído.\n"));
  EXPECT_THAT(run.Output, HasSubstr("! Operação concluída."));
  EXPECT_EQ(fs::last_write_time(IndexFile()), built);

  const TTOMORecordH document = FirstDocument();
  ASSERT_GT(document.DocumentSize, 0);
  fs::remove(DocumentFileName(data_, document.DocumentNumber));
  run = RunTool("refresh-sizes " + Quoted(data_));
  ASSERT_EQ(run.ExitCode, 0) << run.Output;
  TTOMOTree tree(data_);
  EXPECT_EQ(tree.FindNode(document.Id)->Record().DocumentSize, 0);
}

TEST_F(RefreshSizesTool, BrokenBasesAndArgumentsFailWithAMessage) {
  EXPECT_EQ(RunTool("refresh-sizes").ExitCode, 1);
  EXPECT_EQ(RunTool("refresh-sizes a b").ExitCode, 1);
  TRun run = RunTool("refresh-sizes " + Quoted(folder_.File("nada")));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_FALSE(run.Output.empty());

  // A damaged index file: refused, and left as it was.
  const std::string garbage = "\xff\xfe lixo\r\n1,2,3\r\n\0\0\0";
  {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(IndexFile().c_str(), "wb"), std::fclose);
    std::fwrite(garbage.data(), 1, garbage.size(), file.get());
  }
  run = RunTool("refresh-sizes " + Quoted(data_));
  EXPECT_EQ(run.ExitCode, 1) << run.Output;
  EXPECT_EQ(fs::file_size(IndexFile()), garbage.size());
}

TEST_F(RefreshSizesTool, IndexShowsTheCountingAndOneLinePerDocument) {
  const TRun run = RunTool("index " + Quoted(data_) + " " + Quoted(folder_.File("Extra")));
  ASSERT_EQ(run.ExitCode, 0) << run.Output;
  EXPECT_THAT(run.Output, HasSubstr(": Contando documentos\n! Concluído. "));
  EXPECT_THAT(run.Output, HasSubstr(" documentos a processar.\n: Processando documentos\n  "));
  EXPECT_THAT(run.Output, HasSubstr("! Processamento concluído"));
}

}  // namespace

// The transfer events of an operation, raised by hand: what each one logs,
// counts and does to LocalFile; and the expansion of the index file.
#include <filesystem>

#include "HttpErrors.h"
#include "LxFileStream.h"
#include "LxZLIBStream.h"
#include "OperationTestSupport.h"
#include "THttpCli.h"

namespace {

constexpr char kUrl[] = "http://servidor/atualizacao/doc00000/doc00007.dat";

class OperationTransferTest : public OperationTest {
 protected:
  void SetUp() override {
    OperationTest::SetUp();
    operation_.SetView(&view_);
    operation_.Transfer().HttpCli().SetURL(kUrl);
    operation_.Transfer().SetLocalFile(folder_.File("Download/Doc00007.dat"));
  }

  TScriptedOperation operation_;
};

TEST_F(OperationTransferTest, ChunksRaiseBatchBytesAndProgressByTheirLengths) {
  operation_.Report().ResetProgress(4096);
  operation_.Transfer().SetBatchBytes(0);
  const std::string chunk(1000, 'x');
  operation_.Transfer().HttpCliDocData(chunk.data(), 1000);
  operation_.Transfer().HttpCliDocData(chunk.data(), 1000);
  operation_.Transfer().HttpCliDocData(chunk.data(), 48);
  EXPECT_EQ(operation_.Transfer().BatchBytes(), 2048);
  EXPECT_EQ(operation_.Report().ProgressPosition(), 2048);
  EXPECT_EQ(view_.Positions, (std::vector<int>{1000, 2000, 2048}));
}

TEST_F(OperationTransferTest, BeginReplacesTheLocalFileAndEndClosesIt) {
  WriteWholeFile(operation_.Transfer().LocalFile(), "a copy from before");
  operation_.Transfer().HttpCliDocBegin();

  EXPECT_EQ(std::filesystem::file_size(operation_.Transfer().LocalFile()), 0u);
  ASSERT_NE(operation_.Transfer().HttpCli().ReceiveStream(), nullptr);
  operation_.Transfer().HttpCli().ReceiveStream()->WriteBuffer("corpo", 5);
  EXPECT_EQ(view_.Texts(), (std::vector<std::string>{std::string("  URL: ") + kUrl,
                                                     "  Arquivo Local: " + operation_.Transfer().LocalFile(),
                                                     "  Tamanho: 0 KiB"}));
  for (const TRecordedLine& line : view_.Lines) EXPECT_EQ(line.Colour, TLogColour::WindowText);

  operation_.Transfer().HttpCliDocEnd();
  EXPECT_EQ(operation_.Transfer().HttpCli().ReceiveStream(), nullptr);
  EXPECT_EQ(ReadWholeFile(operation_.Transfer().LocalFile()), "corpo");
  ASSERT_EQ(view_.Lines.size(), 5u);
  EXPECT_EQ(view_.Lines[3].Text, std::string("  Encerrado: ") + kUrl);
  EXPECT_EQ(view_.Lines[3].Colour, TLogColour::Green);
  EXPECT_EQ(view_.Lines[4].Text, "");
}

TEST_F(OperationTransferTest, ALocalFileThatCannotBeCreatedFailsTheOperation) {
  operation_.Transfer().SetLocalFile(folder_.File("nao-existe/Doc00007.dat"));
  operation_.Transfer().HttpCliDocBegin();
  ASSERT_GE(view_.Lines.size(), 2u);
  EXPECT_EQ(view_.Lines[0].Text, "# Exceção EInOutError");
  EXPECT_EQ(view_.Errors.size(), 1u);
  EXPECT_TRUE(operation_.Failed());
  EXPECT_TRUE(operation_.Finished());
  EXPECT_EQ(operation_.Transfer().HttpCli().ReceiveStream(), nullptr);
}

TEST_F(OperationTransferTest, SuccessPostsTheSavedStep) {
  operation_.Transfer().SavedStep().State = 23;
  operation_.Transfer().SavedStep().Parameter = 4;
  // Only the low 16 bits of the result are the error.
  operation_.Transfer().HttpCliRequestDone(httpRequestGet, 0x10000);
  ASSERT_TRUE(RunChain(operation_));
  EXPECT_EQ(operation_.Ran(), (std::vector<std::string>{"23:4"}));
  EXPECT_TRUE(view_.Lines.empty());
}

TEST_F(OperationTransferTest, AFailedGetLogsItsCodeAndPostsNothing) {
  operation_.Transfer().SavedStep().State = 23;
  operation_.Transfer().HttpCliRequestDone(httpRequestGet, 404);
  ASSERT_TRUE(RunChain(operation_));
  EXPECT_TRUE(operation_.Ran().empty());
  ASSERT_EQ(view_.Lines.size(), 2u);
  EXPECT_EQ(view_.Lines[0].Text, "# Erro no download! Código do erro: 001.404");
  EXPECT_EQ(view_.Lines[0].Colour, TLogColour::Red);
  EXPECT_EQ(view_.Lines[1].Text, "  " + HttpErrorText(404));
  // Failed is finished: the window offers only "Fechar".
  EXPECT_TRUE(operation_.Finished());
  EXPECT_TRUE(operation_.Failed());
}

TEST_F(OperationTransferTest, AFailedHeadIsToldToo) {
  operation_.Transfer().HttpCliRequestDone(httpRequestHead, httpConnectionRefused);
  EXPECT_EQ(view_.Texts(), (std::vector<std::string>{"# Erro no download! Código do erro: 003.1002",
                                                     "  O servidor recusou a conexão."}));
}

TEST_F(OperationTransferTest, ACancelledHeadEndsWithTheCancelLine) {
  operation_.CancelOperation();
  operation_.Transfer().HttpCliRequestDone(httpRequestHead, httpAborted);
  EXPECT_EQ(view_.Texts(), (std::vector<std::string>{"# Operação cancelada pelo usuário!"}));
}

TEST_F(OperationTransferTest, AFailedTransferDeletesOnlyTheFileItBegan) {
  operation_.Transfer().HttpCliDocBegin();
  operation_.Transfer().HttpCli().ReceiveStream()->WriteBuffer("meio corpo", 10);
  operation_.Transfer().HttpCliRequestDone(httpRequestGet, httpBodyTruncated);
  EXPECT_FALSE(std::filesystem::exists(operation_.Transfer().LocalFile()));
  EXPECT_EQ(operation_.Transfer().HttpCli().ReceiveStream(), nullptr);

  // A request that failed before any body leaves an older file alone.
  TScriptedOperation second;
  second.Transfer().SetLocalFile(operation_.Transfer().LocalFile());
  WriteWholeFile(second.Transfer().LocalFile(), "documento anterior");
  second.Transfer().HttpCliRequestDone(httpRequestGet, 404);
  EXPECT_EQ(ReadWholeFile(second.Transfer().LocalFile()), "documento anterior");
}

TEST_F(OperationTransferTest, DecompressIndexFileExpandsTheDownloadedTree) {
  const std::string tree(300 * 1024, 'a');
  {
    TLxFileStream file(folder_.File("Download/tomoidxz.dat"), TLxFileMode::Create);
    TLxZLIBStream block(file);
    block.WriteBuffer(tree.data(), static_cast<std::int32_t>(tree.size()));
    block.Finish();
  }
  const auto compressed = std::filesystem::file_size(folder_.File("Download/tomoidxz.dat"));
  operation_.Transfer().DecompressIndexFile();

  EXPECT_EQ(ReadWholeFile(folder_.File("Download/tomoidx.dat")), tree);
  ASSERT_EQ(view_.Lines.size(), 2u);
  EXPECT_EQ(view_.Lines[0].Text, ": Descompactando arquivo de índice...");
  EXPECT_EQ(view_.Lines[0].Colour, TLogColour::Blue);
  EXPECT_EQ(view_.Lines[1].Text, ": Descompactado (" + std::to_string(compressed / 1024) + " KiB -> 300 KiB)");
  EXPECT_EQ(view_.Lines[1].Colour, TLogColour::Green);
}

TEST_F(OperationTransferTest, ACorruptIndexFileRaisesAndKeepsTheOldTree) {
  WriteWholeFile(folder_.File("Download/tomoidx.dat"), "a arvore anterior");
  WriteWholeFile(folder_.File("Download/tomoidxz.dat"), std::string("\x10\0\0\0\x40\0\0\0garbage-garbage!", 24));
  EXPECT_THROW(operation_.Transfer().DecompressIndexFile(), ELxException);
  EXPECT_EQ(ReadWholeFile(folder_.File("Download/tomoidx.dat")), "a arvore anterior");
}

}  // namespace

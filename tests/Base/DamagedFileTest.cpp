// Damaged and hostile files met by the document base: each gives a clear
// error or the right answer quickly, and nothing stored is lost.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "LxExcept.h"
#include "LxLineIO.h"
#include "LxLittleEndian.h"
#include "LxMemoryStream.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentFile.h"
#include "TOMOTree.h"
#include "TempFolder.h"
#include "TestBase.h"

namespace fs = std::filesystem;

namespace {

TTOMORecordH Record(std::int32_t id, std::int32_t parent) {
  TTOMORecordH record;
  record.Id = id;
  record.ParentId = parent;
  return record;
}

TEST(DamagedTree, LevelsOfALongChainOfParentsComeFromOneWalk) {
  constexpr int kChain = 20000;
  TTOMOTree tree;
  tree.AddNode(Record(0, -1));
  for (int id = 1; id <= kChain; ++id) tree.AddNode(Record(id, id - 1));
  int visited = 0;
  for (auto it = tree.Iterator(); !it.Eof(); it.Next(), ++visited) {
    ASSERT_EQ(it.Current()->Level(), it.Current()->Id());
  }
  EXPECT_EQ(visited, kChain + 1);
}

TEST(DamagedTree, LevelsFollowAMoveAndStayMinusOneOnACircle) {
  TTOMOTree tree;
  tree.AddNode(Record(0, -1));
  tree.AddNode(Record(1, 0));
  tree.AddNode(Record(2, 1));
  EXPECT_EQ(tree.FindNode(2)->Level(), 2);
  TTOMOTree other;
  other.AddNode(Record(0, -1));
  const TTOMONode& moved = other.AddNode(Record(2, 0));
  tree.MergeNode(moved);
  EXPECT_EQ(tree.FindNode(2)->Level(), 1);

  // Records naming each other as parents (only a damaged file does that).
  TTOMOTree circle;
  circle.AddNode(Record(0, -1));
  circle.AddNode(Record(5, 6));
  circle.AddNode(Record(6, 5));
  circle.AddNode(Record(7, 6));
  EXPECT_EQ(circle.FindNode(5)->Level(), -1);
  EXPECT_EQ(circle.FindNode(7)->Level(), -1);
  EXPECT_EQ(circle.FindNode(0)->Level(), 0);
}

class DamagedFiles : public ::testing::Test {
 protected:
  DamagedFiles() {
    WriteTestBase(data, {{1, 0, "Leis"}, {2, 1, "Lei", kKindRichText, "Texto da lei"}});
    index = ReadWholeFile(data + "/TOMOIdx.dat");
  }
  std::string Document() const { return data + "/Doc00000/Doc00002.dat"; }
  std::string ReadContent() const {
    TTOMODocumentFile document(Document(), false);
    std::string content = ReadDocumentBody(document.OpenRead()).Content;
    document.CloseDocument();
    return content;
  }

  TempFolder folder;
  std::string data = folder.File("Dados");
  std::string index;
};

TEST_F(DamagedFiles, ADeviceNamedAsTheIndexOrADocumentIsRefused) {
  fs::rename(data + "/TOMOIdx.dat", data + "/real.dat");
  fs::create_symlink("/dev/zero", data + "/TOMOIdx.dat");
  EXPECT_THROW(TTOMOTree tree(data), ELxException);
  fs::remove(data + "/TOMOIdx.dat");
  fs::rename(data + "/real.dat", data + "/TOMOIdx.dat");

  const std::string real = ReadWholeFile(Document());
  fs::remove(Document());
  fs::create_symlink("/dev/zero", Document());
  EXPECT_THROW(ReadContent(), ELxException);
  fs::remove(Document());
  WriteWholeFile(Document(), real);
}

TEST_F(DamagedFiles, ALinkAsTheNextVersionNeverReplacesTheIndexOrTheDocument) {
  fs::create_symlink("/dev/zero", data + "/TOMOIdx.new");
  EXPECT_EQ(TTOMOTree(data).FindNode(2)->Record().Title, "Lei");
  EXPECT_EQ(ReadWholeFile(data + "/TOMOIdx.dat"), index);

  // Even a link to a complete index is not ours to put in place.
  WriteWholeFile(folder.File("elsewhere.dat"), index);
  fs::remove(data + "/TOMOIdx.new");
  fs::create_symlink(folder.File("elsewhere.dat"), data + "/TOMOIdx.new");
  TTOMOTree tree(data);
  EXPECT_FALSE(fs::is_symlink(data + "/TOMOIdx.dat"));

  fs::create_symlink("/dev/zero", Document() + ".new");
  EXPECT_NE(ReadContent().find("Texto da lei"), std::string::npos);
  EXPECT_FALSE(fs::is_symlink(Document()));
}

TEST(DamagedLines, ALineLongerThanAnyOurFilesHoldIsAnError) {
  TLxMemoryStream stream;
  const std::string line(kLxMaxLineBytes + 10, 'a');
  stream.WriteBuffer(line.data(), static_cast<std::int32_t>(line.size()));
  stream.SetPosition(0);
  EXPECT_THROW(ReadLine(stream), ELxReadError);

  TLxMemoryStream fits;
  // The limit counts the CR that ends the line.
  const std::string longest = std::string(kLxMaxLineBytes - 2, 'b') + "\r\nc";
  fits.WriteBuffer(longest.data(), static_cast<std::int32_t>(longest.size()));
  fits.SetPosition(0);
  EXPECT_EQ(ReadLine(fits).size(), kLxMaxLineBytes - 2);
  EXPECT_EQ(ReadLine(fits), "c");
}

TEST_F(DamagedFiles, ABodyThatWouldExpandPastTheLimitIsRefusedBeforeInflating) {
  // The block's header promises 300,000,000 bytes; the data is never inflated.
  std::string file = "TOMO.Documento\r\nData: 01/02/2003\r\nCodifica\xE7\xE3o: ZLib\r\n\r\n";
  char header[8];
  EncodeFixed32(header, 16);
  EncodeFixed32(header + 4, 300000000);
  file.append(header, 8);
  file.append(16, 'x');
  WriteWholeFile(Document(), file);
  try {
    ReadContent();
    FAIL() << "no error";
  } catch (const ELxException& error) {
    EXPECT_NE(error.Message().find("Documento grande demais"), std::string::npos) << error.Message();
  }
}

TEST(DamagedBody, LinesWithoutAnyPropertyAreADamagedBodyNotAnEmptyOne) {
  const std::string garbage = "\x1e]\xe2\x80\x35R\x84\x1c\r\nmore bytes\nstill no colon";
  TLxMemoryStream stream;
  stream.WriteBuffer(garbage.data(), static_cast<std::int32_t>(garbage.size()));
  stream.SetPosition(0);
  EXPECT_THROW(ReadDocumentBody(stream), ELxException);

  // An empty property block still makes the rest the content.
  const std::string bare = "\r\n{\\rtf1 x}";
  TLxMemoryStream plain;
  plain.WriteBuffer(bare.data(), static_cast<std::int32_t>(bare.size()));
  plain.SetPosition(0);
  EXPECT_EQ(ReadDocumentBody(plain).Content, "{\\rtf1 x}");
}

}  // namespace

// The index file: reading, writing, the commit protocol and its recovery, and
// the compressed form of updates.

#include <filesystem>

#include <gtest/gtest.h>

#include "ExpandIndexFile.h"
#include "IndexFileTestSupport.h"
#include "LxLineIO.h"
#include "LxMemoryStream.h"
#include "LxZLIBStream.h"
#include "TOMOFile.h"
#include "TOMOFileError.h"
#include "TOMOFileIterator.h"

using namespace indexfile;
namespace fs = std::filesystem;

namespace {

std::vector<TTOMORecordH> ReadAll(const std::string& folder) {
  std::vector<TTOMORecordH> records;
  for (TTOMOFileIterator it(folder); !it.Eof(); it.Next()) records.push_back(it.Current());
  return records;
}

std::vector<int> Ids(const std::vector<TTOMORecordH>& records) {
  std::vector<int> ids;
  for (const auto& record : records) ids.push_back(record.Id);
  return ids;
}

std::string Folder(const TempFolder& temp) { return temp.Path().string(); }

// One zlib block as the update server sends it, built with zlib directly.
std::string CompressedBlock(const std::string& plain) {
  TLxMemoryStream memory;
  {
    TLxZLIBStream block(memory);
    block.Write(plain.data(), static_cast<std::int32_t>(plain.size()));
    block.Finish();
  }
  return memory.Bytes();
}

}  // namespace

TEST(IndexFileReader, SkipsEveryLineThatIsNotARecord) {
  TempFolder temp;
  WriteIndex(temp, {";comment", "", ".0,-1,Raiz,,01/01/2000", "x.9,0,not,,01/01/2000", " .8,0,no,,01/01/2000",
                    "; .7", ".1,0,Um,,01/01/2000", ""});
  EXPECT_EQ(Ids(ReadAll(Folder(temp))), (std::vector<int>{0, 1}));
}

TEST(IndexFileReader, AcceptsTheSignatureInAnyCaseWithBlanks) {
  TempFolder temp;
  WriteWholeFile(temp.Path() / "TOMOIdx.dat", " tomo.SUM\xC1RIO \t\r\n.3,0,x,,01/01/2000");
  EXPECT_EQ(Ids(ReadAll(Folder(temp))), (std::vector<int>{3}));  // last line without CR LF
}

TEST(IndexFileReader, RejectsAWrongSignatureNamingTheFile) {
  TempFolder temp;
  const std::vector<std::string> wrongFirstLines = {"", "TOMO.Sumario", "TOMO.Documento", "\xEF\xBB\xBFTOMO.Sum\xE1rio",
                                                    "TOMO.Sum\xC3\xA1rio"};
  for (const std::string& first : wrongFirstLines) {
    WriteWholeFile(temp.Path() / "TOMOIdx.dat", first + "\r\n.0,-1,Raiz,,01/01/2000\r\n");
    try {
      TTOMOFileIterator it(Folder(temp));
      ADD_FAILURE() << "accepted " << first;
    } catch (const ETOMOFileError& error) {
      EXPECT_EQ(error.Message(), "Formato de arquivo inválido para " + temp.File("TOMOIdx.dat"));
      EXPECT_EQ(error.ClassName(), "ETOMOFileError");
    }
  }
}

TEST(IndexFileReader, MissingOrBinaryFilesGiveErrorsNotCrashes) {
  TempFolder temp;
  EXPECT_THROW(TTOMOFileIterator(Folder(temp)), ELxInOutError);
  std::string binary;
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>((i * 7919) % 256);
  WriteWholeFile(temp.Path() / "TOMOIdx.dat", binary);
  EXPECT_THROW(TTOMOFileIterator(Folder(temp)), ETOMOFileError);
  // A valid signature followed by garbage reads what parses and raises on bad dates only.
  WriteWholeFile(temp.Path() / "TOMOIdx.dat", kSignature + "\r\n" + binary);
  try {
    ReadAll(Folder(temp));
  } catch (const ELxException&) {
  }
}

TEST(IndexFileReader, FindsTheIndexUnderAnotherCase) {
  TempFolder temp;
  WriteIndex(temp, {".4,0,x,,01/01/2000"}, "tomoidx.dat");
  TTOMOFileIterator it(Folder(temp));
  EXPECT_EQ(it.Current().Id, 4);
  EXPECT_EQ(it.FileName(), temp.File("tomoidx.dat"));
}

TEST(IndexFileReader, MissingItemsKeepZeroesAndBadDatesRaise) {
  TempFolder temp;
  WriteIndex(temp, {".5", ".6,0,t,s,01/01/2000,9", ".7,0,t,s,1/13/2000"});
  TTOMOFileIterator it(Folder(temp));
  EXPECT_EQ(it.Current().Id, 5);
  EXPECT_EQ(it.Current().Changed, 0);
  it.Next();
  EXPECT_EQ(it.Current().DocumentNumber, 9);
  EXPECT_EQ(it.Current().DocumentDate, 0);
  EXPECT_THROW(it.Next(), ELxException);
}

TEST(IndexFileWriter, WritesSignatureCommentsAndLinesWithCrLf) {
  TempFolder temp;
  TTOMOFile writer(temp.File("novo/sub"));
  writer.WriteLine(".0,-1,Raiz,,01/01/2000");
  writer.Commit();
  const std::string bytes = ReadWholeFile(temp.Path() / "novo/sub/TOMOIdx.dat");
  EXPECT_EQ(bytes, IndexBytes({";--------------------------------------", "; Pandecta",
                               ";--------------------------------------", ";",
                               "; Aten\xE7\xE3o! Este arquivo \xE9 gerado e manipulado",
                               "; pelo Pandecta. Altera\xE7\xF5" "es inadequadas",
                               "; podem resultar em mal funcionamento do programa.",
                               "; N\xE3o edite este arquivo.", ";", ".0,-1,Raiz,,01/01/2000"}));
  EXPECT_FALSE(fs::exists(temp.Path() / "novo/sub/TOMOIdx.tmp"));
  EXPECT_FALSE(fs::exists(temp.Path() / "novo/sub/TOMOIdx.new"));
}

TEST(IndexFileWriter, CommitReplacesEveryCaseVariant) {
  TempFolder temp;
  WriteIndex(temp, {".1,0,old,,01/01/2000"}, "tomoidx.dat");
  WriteIndex(temp, {".2,0,stale,,01/01/2000"}, "TOMOIDX.NEW");
  TTOMOFile writer(Folder(temp));
  writer.WriteLine(".3,0,new,,01/01/2000");
  writer.Commit();
  EXPECT_FALSE(fs::exists(temp.Path() / "tomoidx.dat"));
  EXPECT_FALSE(fs::exists(temp.Path() / "TOMOIDX.NEW"));
  EXPECT_EQ(Ids(ReadAll(Folder(temp))), (std::vector<int>{3}));
}

TEST(IndexFileWriter, AWriterDroppedWithoutCommitLeavesTheIndexAlone) {
  TempFolder temp;
  WriteIndex(temp, {".1,0,old,,01/01/2000"});
  {
    TTOMOFile writer(Folder(temp));
    writer.WriteLine(".2,0,half,,01/01/2000");
  }
  EXPECT_FALSE(fs::exists(temp.Path() / "TOMOIdx.tmp"));
  EXPECT_EQ(Ids(ReadAll(Folder(temp))), (std::vector<int>{1}));
}

TEST(IndexFileWriter, UnwritableFolderRaises) {
  TempFolder temp;
  WriteWholeFile(temp.Path() / "file", "x");
  EXPECT_THROW(TTOMOFile(temp.File("file/sub")), ELxInOutError);
}

// Each stage of the commit, left as a crash at that point would leave it.
TEST(IndexFileCommitRecovery, LeftoverTempIsIgnored) {
  TempFolder temp;
  WriteIndex(temp, {".1,0,old,,01/01/2000"});
  WriteWholeFile(temp.Path() / "TOMOIdx.tmp", IndexBytes({".2,0,par"}));
  EXPECT_EQ(Ids(ReadAll(Folder(temp))), (std::vector<int>{1}));
}

TEST(IndexFileCommitRecovery, NewBesideTheIndexReplacesIt) {
  TempFolder temp;
  WriteIndex(temp, {".1,0,old,,01/01/2000"});
  WriteIndex(temp, {".2,0,new,,01/01/2000"}, "TOMOIdx.new");
  EXPECT_EQ(Ids(ReadAll(Folder(temp))), (std::vector<int>{2}));
  EXPECT_FALSE(fs::exists(temp.Path() / "TOMOIdx.new"));
}

TEST(IndexFileCommitRecovery, NewWithoutTheIndexBecomesTheIndex) {
  TempFolder temp;
  WriteIndex(temp, {".2,0,new,,01/01/2000"}, "TOMOIdx.new");
  EXPECT_EQ(Ids(ReadAll(Folder(temp))), (std::vector<int>{2}));
  EXPECT_TRUE(fs::exists(temp.Path() / "TOMOIdx.dat"));
}

TEST(IndexFileCommitRecovery, AnUnfinishedNewNeverReplacesAGoodIndex) {
  TempFolder temp;
  WriteIndex(temp, {".1,0,old,,01/01/2000"});
  for (const std::string& damaged : {std::string(), std::string("TOMO.Sum"), std::string("\0\0\0", 3)}) {
    WriteWholeFile(temp.Path() / "TOMOIdx.new", damaged);
    EXPECT_EQ(Ids(ReadAll(Folder(temp))), (std::vector<int>{1}));
  }
}

TEST(ExpandIndexFile, InflatesTheUpdateIndexAndReportsBothSizes) {
  TempFolder temp;
  const std::string plain = IndexBytes({".0,-1,Raiz,,01/01/2000", ".1,0,Um,,01/01/2000"});
  const std::string block = CompressedBlock(plain);
  WriteWholeFile(temp.Path() / "tomoidxz.dat", block);
  const TIndexFileSizes sizes = ExpandIndexFile(Folder(temp));
  EXPECT_EQ(sizes.CompressedSize, static_cast<std::int32_t>(block.size()));
  EXPECT_EQ(sizes.ExpandedSize, static_cast<std::int32_t>(plain.size()));
  EXPECT_EQ(ReadWholeFile(temp.Path() / "tomoidx.dat"), plain);
  EXPECT_EQ(Ids(ReadAll(Folder(temp))), (std::vector<int>{0, 1}));  // read as TOMOIdx.dat
}

TEST(ExpandIndexFile, CorruptInputLeavesTheEarlierExpansion) {
  TempFolder temp;
  WriteWholeFile(temp.Path() / "tomoidx.dat", "earlier");
  std::string block = CompressedBlock(IndexBytes({".0,-1,Raiz,,01/01/2000"}));
  const std::vector<std::string> damaged = {block.substr(0, block.size() - 3), block.substr(0, 5),
                                            std::string(block).replace(10, 4, "XXXX"), ""};
  for (const std::string& bytes : damaged) {
    WriteWholeFile(temp.Path() / "tomoidxz.dat", bytes);
    EXPECT_THROW(ExpandIndexFile(Folder(temp)), ELxException);
    EXPECT_EQ(ReadWholeFile(temp.Path() / "tomoidx.dat"), "earlier");
    EXPECT_FALSE(fs::exists(temp.Path() / "tomoidx.tmp"));
  }
  fs::remove(temp.Path() / "tomoidxz.dat");
  EXPECT_THROW(ExpandIndexFile(Folder(temp)), ELxInOutError);
}

TEST(ExpandIndexFile, ReplacesAnExpansionUnderAnotherCase) {
  TempFolder temp;
  WriteIndex(temp, {".9,0,old,,01/01/2000"}, "TOMOIdx.dat");
  WriteWholeFile(temp.Path() / "TOMOIDXZ.DAT", CompressedBlock(IndexBytes({".1,0,new,,01/01/2000"})));
  ExpandIndexFile(Folder(temp));
  EXPECT_EQ(Ids(ReadAll(Folder(temp))), (std::vector<int>{1}));
}

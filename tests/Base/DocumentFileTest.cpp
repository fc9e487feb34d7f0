// Document files: location, header properties, the three body encodings, the
// write commit and its recovery, and the document folder.

#include <filesystem>

#include <gtest/gtest.h>
#include <zlib.h>

#include "DocumentBaseUnit.h"
#include "LxFilUtl.h"
#include "LxMemoryStream.h"
#include "TempFolder.h"

namespace fs = std::filesystem;

namespace {

// The scrambling key, written out here so that the files below are made
// without the program's own stream.
constexpr unsigned char kKey[16] = {0x5A, 0x3C, 0x96, 0xE1, 0x0F, 0x72, 0xB4, 0x2D,
                                    0xC8, 0x61, 0x1E, 0x9B, 0x47, 0xD3, 0x85, 0x2A};
const std::string kEncodingName = "Codifica\xE7\xE3o";  // Windows-1252

std::string Scramble(const std::string& plain, size_t keyStart) {
  std::string bytes = plain;
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(bytes[i] ^ kKey[(keyStart + i) % 16]);
  return bytes;
}

void PutLE32(std::string& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// One block made with zlib itself: compressed size, expanded size, zlib data.
std::string ZlibBlock(const std::string& plain) {
  uLongf length = compressBound(plain.size());
  std::string data(length, '\0');
  compress2(reinterpret_cast<Bytef*>(data.data()), &length, reinterpret_cast<const Bytef*>(plain.data()),
            plain.size(), 9);
  data.resize(length);
  std::string block;
  PutLE32(block, static_cast<std::uint32_t>(data.size()));
  PutLE32(block, static_cast<std::uint32_t>(plain.size()));
  return block + data;
}

std::string Inflate(const std::string& block) {
  std::uint32_t expanded = 0;
  for (int i = 0; i < 4; ++i) expanded |= static_cast<std::uint32_t>(static_cast<unsigned char>(block[4 + i])) << (8 * i);
  std::string plain(expanded, '\0');
  uLongf length = expanded;
  EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(plain.data()), &length,
                       reinterpret_cast<const Bytef*>(block.data() + 8), block.size() - 8),
            Z_OK);
  return plain;
}

std::string ReadBody(TTOMODocument& document) {
  TLxStream& body = document.OpenRead();
  std::string bytes;
  char chunk[1000];
  for (std::int32_t got; (got = body.Read(chunk, sizeof chunk)) > 0;) bytes.append(chunk, static_cast<size_t>(got));
  document.CloseDocument();
  return bytes;
}

const std::string kBody = "Data: 01/02/2003\r\nTamanho: 11\r\n\r\n{\\rtf1 abc}";

class DocumentFileTest : public ::testing::Test {
 protected:
  std::string Name() const { return DocumentFileName(temp_.Path().string(), 5); }
  void Store(const std::string& bytes, const std::string& suffix = "") {
    fs::create_directories(fs::path(Name()).parent_path());
    WriteWholeFile(Name() + suffix, bytes);
  }
  std::string WriteDocument(const std::string& body, const std::vector<std::string>& properties = {}) {
    TTOMODocumentFile document(Name(), false);
    for (const std::string& line : properties) document.Properties().push_back(line);
    TLxStream& stream = document.OpenWrite();
    stream.WriteBuffer(body.data(), static_cast<std::int32_t>(body.size()));
    document.CloseDocument();
    return ReadWholeFile(Name());
  }

  TempFolder temp_;
};

}  // namespace

TEST(DocumentFileName, VolumesOfAHundredInFiveDigits) {
  EXPECT_EQ(DocumentFileName("Dados", 5), "Dados/Doc00000/Doc00005.dat");
  EXPECT_EQ(DocumentFileName("Dados", 100), "Dados/Doc00100/Doc00100.dat");
  EXPECT_EQ(DocumentFileName("Dados/", 1234), "Dados/Doc01200/Doc01234.dat");
  EXPECT_EQ(DocumentFileName("Dados", 123456), "Dados/Doc123400/Doc123456.dat");
  EXPECT_EQ(DocumentFileName("C:\\Dados", 1234), "C:\\Dados\\Doc01200\\Doc01234.dat");
}

TEST(DocumentProperties, NamesAreTheExactTextBeforeTheColon) {
  TTOMODocumentFile document("unused", false);
  document.Properties() = {"Data:01/02/2003", "Data : x", "Outro: 1", "DATA:  05/06/2007 \t"};
  EXPECT_EQ(document.GetProperty("data"), "05/06/2007");
  EXPECT_EQ(document.GetProperty("Data "), "x");
  EXPECT_EQ(document.GetProperty("Nada"), "");
  EXPECT_TRUE(document.PropertyIs("outro", "1"));
  document.SetProperty("Data", "09/09/2009");
  EXPECT_EQ(document.Properties()[3], "Data: 09/09/2009");
  EXPECT_EQ(document.Properties()[0], "Data:01/02/2003");
  document.SetProperty("Novo", "v");
  EXPECT_EQ(document.Properties().back(), "Novo: v");
}

TEST_F(DocumentFileTest, ReadsAZlibBodyWhateverTheCaseOfTheEncoding) {
  Store("TOMO.Documento\r\nData: 01/02/2003\r\n" + kEncodingName + ": zlib\r\n\r\n" + ZlibBlock(kBody));
  TTOMODocumentFile document(Name(), false);
  EXPECT_EQ(ReadBody(document), kBody);
  EXPECT_EQ(document.GetProperty("Data"), "01/02/2003");
}

TEST_F(DocumentFileTest, ScrambledBodyOfEncoding2IgnoresTheHeaderLength) {
  for (const std::string& extra : {std::string(), std::string("X: 1\r\n"), std::string("Longer: abcdefg\r\n")}) {
    Store("tomo.documento\r\n" + extra + kEncodingName + ": 2\r\n\r\n" + Scramble(kBody, 0));
    TTOMODocumentFile document(Name(), false);
    EXPECT_EQ(ReadBody(document), kBody);
  }
}

TEST_F(DocumentFileTest, OldFilesAreScrambledFromTheFirstByteOfTheFile) {
  for (const std::string& header : {std::string("TOMO.Documento\r\n\r\n"), std::string("TOMO.Documento\r\nData: 1/2/2003\r\n\r\n"),
                                    std::string("TOMO.Documento\r\n" + kEncodingName + ": antiga\r\n\r\n")}) {
    Store(header + Scramble(kBody, header.size()));
    TTOMODocumentFile document(Name(), false);
    EXPECT_EQ(ReadBody(document), kBody);
  }
  // Keyed from the body instead, the header's length modulo 16 decides.
  const std::string header = "TOMO.Documento\r\n\r\n";
  Store(header + Scramble(kBody, 0));
  TTOMODocumentFile document(Name(), false);
  EXPECT_NE(ReadBody(document), kBody);
}

TEST_F(DocumentFileTest, WrongSignatureAndMissingFile) {
  TTOMODocumentFile missing(Name(), false);
  EXPECT_THROW(missing.OpenRead(), ELxInOutError);
  Store("TOMO.Sum\xE1rio\r\n\r\nbody");
  TTOMODocumentFile document(Name(), false);
  try {
    document.OpenRead();
    FAIL() << "accepted";
  } catch (const ELxException& error) {
    EXPECT_EQ(error.Message(), "Formato de arquivo inválido. Nome do arquivo: " + Name());
  }
  EXPECT_NO_THROW(document.OpenWrite());  // the failed read left nothing open
}

TEST_F(DocumentFileTest, CorruptOrTruncatedZlibBodiesRaise) {
  const std::string header = "TOMO.Documento\r\n" + kEncodingName + ": ZLib\r\n\r\n";
  const std::string block = ZlibBlock(std::string(5000, 'a') + kBody);
  for (const std::string& bad : {block.substr(0, 4), block.substr(0, block.size() / 2),
                                  std::string(block).replace(12, 6, "garbag"), std::string(block).replace(4, 4, "\xFF\xFF\xFF\x7F")}) {
    Store(header + bad);
    TTOMODocumentFile document(Name(), false);
    EXPECT_THROW(ReadBody(document), ELxException);
  }
}

TEST_F(DocumentFileTest, WritingStoresSignaturePropertiesAndOneBlock) {
  const std::string stored = WriteDocument(kBody, {"Data: 01/02/2003", kEncodingName + ": 2", "Extra: x"});
  const std::string header = "TOMO.Documento\r\nData: 01/02/2003\r\n" + kEncodingName + ": ZLib\r\nExtra: x\r\n\r\n";
  ASSERT_EQ(stored.substr(0, header.size()), header);
  EXPECT_EQ(Inflate(stored.substr(header.size())), kBody);
  for (const char* suffix : {".lck", ".tmp", ".new"}) EXPECT_FALSE(fs::exists(Name() + suffix)) << suffix;
  TTOMODocumentFile document(Name(), false);
  EXPECT_EQ(document.GetFileSize(), static_cast<std::int32_t>(stored.size()));
  EXPECT_EQ(ReadBody(document), kBody);
}

TEST_F(DocumentFileTest, EmptyAndLargeBodiesRoundTrip) {
  WriteDocument("");
  TTOMODocumentFile empty(Name(), false);
  EXPECT_EQ(ReadBody(empty), "");
  std::string large;
  for (int i = 0; i < 300000; ++i) large += static_cast<char>((i * 31) % 251);
  WriteDocument(large);
  TTOMODocumentFile document(Name(), false);
  EXPECT_EQ(ReadBody(document), large);
}

TEST_F(DocumentFileTest, ClosingInPartsStoresTheSameFileAndKeepsTheOldOneUntilTheEnd) {
  std::string large;
  for (int i = 0; i < 200000; ++i) large += static_cast<char>('a' + (i * 7) % 23);
  const std::string whole = WriteDocument(large, {"Data: 01/02/2003"});
  WriteDocument("old");
  const std::string old = ReadWholeFile(Name());
  {
    TTOMODocumentFile document(Name(), false);
    document.Properties().push_back("Data: 01/02/2003");
    TLxStream& stream = document.OpenWrite();
    stream.WriteBuffer(large.data(), static_cast<std::int32_t>(large.size()));
    int parts = 1;
    while (!document.CloseDocumentPart(64 * 1024)) {
      ++parts;
      EXPECT_EQ(ReadWholeFile(Name()), old);
      EXPECT_THROW(document.OpenRead(), ELxException);
    }
    EXPECT_EQ(parts, 4);  // 200,000 bytes in pieces of 65,536
    EXPECT_EQ(document.GetFileSize(), static_cast<std::int32_t>(whole.size()));
  }
  EXPECT_EQ(ReadWholeFile(Name()), whole);

  // Dropped halfway, in either half, the old document stays and nothing is left over.
  for (const bool writing : {true, false}) {
    {
      TTOMODocumentFile document(Name(), false);
      TLxStream& stream = document.OpenWrite();
      stream.WriteBuffer(large.data(), static_cast<std::int32_t>(large.size()));
      if (!writing) {
        EXPECT_FALSE(document.CloseDocumentPart(64 * 1024));
      }
    }
    EXPECT_EQ(ReadWholeFile(Name()), whole);
    for (const char* suffix : {".lck", ".tmp", ".new"}) EXPECT_FALSE(fs::exists(Name() + suffix)) << suffix;
  }
}

TEST_F(DocumentFileTest, OpeningTwiceIsRefused) {
  Store("TOMO.Documento\r\n\r\n");
  TTOMODocumentFile reading(Name(), false);
  reading.OpenRead();
  try {
    reading.OpenWrite();
    FAIL() << "opened twice";
  } catch (const ELxException& error) {
    EXPECT_EQ(error.Message(), "Documento já aberto para leitura.");
  }
  TTOMODocumentFile writing(Name(), false);
  writing.OpenWrite();
  EXPECT_THROW(writing.OpenWrite(), ELxException);
  try {
    writing.OpenRead();
  } catch (const ELxException& error) {
    EXPECT_EQ(error.Message(), "Documento já aberto para escrita.");
  }
}

TEST_F(DocumentFileTest, SizeIsMeasuredAndDeletingOnCreationRemovesTheFile) {
  Store("TOMO.Documento\r\n\r\n12345");
  TTOMODocumentFile measured(Name(), false);
  EXPECT_EQ(measured.GetFileSize(), 23);
  TTOMODocumentFile fresh(Name(), true);
  EXPECT_EQ(fresh.GetFileSize(), 23);
  EXPECT_FALSE(fs::exists(Name()));
}

// Each stage of the write commit, left as a crash at that point would leave it.
TEST_F(DocumentFileTest, PlainBodyLeftOverIsDroppedAndTheOldDocumentRead) {
  WriteDocument(kBody);
  Store("half a body", ".lck");
  Store("half an encoding", ".tmp");
  TTOMODocumentFile document(Name(), false);
  EXPECT_EQ(ReadBody(document), kBody);
  EXPECT_FALSE(fs::exists(Name() + ".lck"));
  EXPECT_FALSE(fs::exists(Name() + ".tmp"));
}

TEST_F(DocumentFileTest, CompleteNewReplacesTheDocument) {
  WriteDocument("old");
  const std::string old = ReadWholeFile(Name());
  WriteDocument(kBody);
  const std::string newer = ReadWholeFile(Name());
  Store(old);
  Store(newer, ".new");
  Store("body", ".lck");  // the commit had not yet deleted it
  TTOMODocumentFile document(Name(), false);
  EXPECT_EQ(ReadBody(document), kBody);
  EXPECT_FALSE(fs::exists(Name() + ".new"));
  // And with the document already deleted.
  fs::rename(Name(), Name() + ".new");
  TTOMODocumentFile again(Name(), false);
  EXPECT_EQ(ReadBody(again), kBody);
}

TEST_F(DocumentFileTest, UnfinishedNewIsNeverPutInPlace) {
  WriteDocument(kBody);
  Store("TOMO.Doc", ".new");
  {
    TTOMODocumentFile document(Name(), false);
    EXPECT_EQ(ReadBody(document), kBody);
  }
  EXPECT_FALSE(fs::exists(Name() + ".new"));  // garbage is cleaned when the object goes
}

TEST_F(DocumentFileTest, UpdateFromTakesOnlyANewerDocument) {
  WriteDocument("local", {"Data: 01/02/2003"});
  TempFolder otherFolder;
  const std::string otherName = DocumentFileName(otherFolder.Path().string(), 5);
  {
    TTOMODocumentFile older(otherName, false);
    older.Properties() = {"Data: 01/01/2003"};
    older.OpenWrite().WriteBuffer("older", 5);
    older.CloseDocument();
  }
  TTOMODocumentFile local(Name(), false);
  TTOMODocumentFile older(otherName, false);
  local.UpdateFrom(older);
  TTOMODocumentFile check(Name(), false);
  EXPECT_EQ(ReadBody(check), "local");
  {
    TTOMODocumentFile newer(otherName, false);
    newer.Properties() = {"Data: 01/02/2003 00:00:01", "Origem: pacote"};
    newer.OpenWrite().WriteBuffer("newer", 5);
    newer.CloseDocument();
  }
  TTOMODocumentFile newer(otherName, false);
  TTOMODocumentFile target(Name(), false);
  target.UpdateFrom(newer);
  TTOMODocumentFile result(Name(), false);
  EXPECT_EQ(ReadBody(result), "newer");
  EXPECT_EQ(result.GetProperty("Origem"), "pacote");
  EXPECT_EQ(target.GetFileSize(), FileSize(Name()));
}

TEST_F(DocumentFileTest, UpdateFromReplacesAMissingOrBrokenLocalDocument) {
  Store("not a document");
  TempFolder otherFolder;
  const std::string otherName = DocumentFileName(otherFolder.Path().string(), 5);
  {
    TTOMODocumentFile source(otherName, false);
    source.Properties() = {"Data: 01/01/2003"};
    source.OpenWrite().WriteBuffer("fresh", 5);
    source.CloseDocument();
  }
  TTOMODocumentFile source(otherName, false);
  TTOMODocumentFile local(Name(), false);
  local.UpdateFrom(source);
  TTOMODocumentFile result(Name(), false);
  EXPECT_EQ(ReadBody(result), "fresh");
}

TEST(TOMOStream, ScramblesFromItsOriginAndBackInLargeChunks) {
  std::string plain;
  for (int i = 0; i < 20000; ++i) plain += static_cast<char>(i % 256);
  auto memory = std::make_unique<TLxMemoryStream>("prefix");
  memory->SetPosition(6);
  TLxMemoryStream* inner = memory.get();
  TTOMOStream stream(std::move(memory));
  EXPECT_EQ(stream.Origin(), 6);
  EXPECT_EQ(stream.Write(plain.data(), static_cast<std::int32_t>(plain.size())), 20000);
  EXPECT_EQ(inner->Bytes().substr(6), Scramble(plain, 0));
  stream.Seek(6 + 17, soFromBeginning);
  char part[100];
  ASSERT_EQ(stream.Read(part, 100), 100);
  EXPECT_EQ(std::string(part, 100), plain.substr(17, 100));
}

TEST(DocumentFolder, MissingFolderIsRefusedAndDocumentsComeFromTheSource) {
  TempFolder temp;
  EXPECT_EQ(DocumentSource(), nullptr);
  try {
    TTOMODocumentFolder folder(temp.File("missing"));
    FAIL() << "accepted";
  } catch (const ELxException& error) {
    EXPECT_EQ(error.Message(), "Diretório não existente");
  }
  EXPECT_EQ(DocumentSource(), nullptr);
  {
    TTOMODocumentFolder folder(temp.Path().string());
    EXPECT_EQ(DocumentSource(), &folder);
    EXPECT_EQ(DocumentFolder(), &folder);
    auto document = DocumentSource()->GetDocument(1234, false);
    auto* file = dynamic_cast<TTOMODocumentFile*>(document.get());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->FileName(), DocumentFileName(temp.Path().string(), 1234));
    EXPECT_THROW(folder.SetFolder(temp.File("nope")), ELxException);
    EXPECT_EQ(folder.Folder(), temp.Path().string());
  }
  EXPECT_EQ(DocumentSource(), nullptr);
}

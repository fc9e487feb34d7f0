#include "LxFileStream.h"
#include "LxLineIO.h"
#include "LxLittleEndian.h"
#include "LxMemoryStream.h"
#include "LxStreamLayers.h"
#include "LxText.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "TempFolder.h"

// --- TLxStream contract on memory --------------------------------------------

TEST(LxMemoryStream, ReadWriteSeekAndSize) {
  TLxMemoryStream s;
  EXPECT_EQ(s.Write("hello", 5), 5);
  EXPECT_EQ(s.Position(), 5);
  EXPECT_EQ(s.Size(), 5);
  EXPECT_EQ(s.Seek(-2, soFromEnd), 3);
  char buf[10] = {};
  EXPECT_EQ(s.Read(buf, 10), 2);
  EXPECT_STREQ(buf, "lo");
  EXPECT_EQ(s.Read(buf, 10), 0);
  s.Seek(7, soFromBeginning);
  s.Write("!", 1);
  EXPECT_EQ(s.Bytes(), std::string("hello\0\0!", 8));  // the gap reads as zeros
  s.SetSize(2);
  EXPECT_EQ(s.Position(), 2);
  EXPECT_EQ(s.Bytes(), "he");
  EXPECT_THROW(s.Seek(-1, soFromBeginning), ELxStreamError);
}

TEST(LxStream, ReadBufferAndWriteBufferRaiseWhenShort) {
  TLxMemoryStream s("abc");
  char buf[8];
  try {
    s.ReadBuffer(buf, 4);
    FAIL();
  } catch (const ELxReadError& error) {
    EXPECT_EQ(error.Message(), "Erro de leitura do fluxo");
    EXPECT_EQ(error.ClassName(), "EReadError");
  }
  TLxMemoryStream window("0123456789");
  TLxSliceSubstream slice(window, 0, 2);
  try {
    slice.WriteBuffer("xyz", 3);
    FAIL();
  } catch (const ELxWriteError& error) {
    EXPECT_EQ(error.Message(), "Erro de escrita no fluxo");
  }
}

TEST(LxStream, CopyFromCopiesTheWholeSourceWhenCountIsZero) {
  TLxMemoryStream source("0123456789");
  source.Seek(4, soFromBeginning);
  TLxMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 0), 10);
  EXPECT_EQ(target.Bytes(), "0123456789");
  source.Seek(8, soFromBeginning);
  EXPECT_THROW(target.CopyFrom(source, 5), ELxReadError);
}

TEST(LxStream, LittleEndianHelpers) {
  TLxMemoryStream s;
  WriteLittleEndian32(s, 0x11223344);
  WriteLittleEndian32(s, -2);
  EXPECT_EQ(s.Bytes(), std::string("\x44\x33\x22\x11\xFE\xFF\xFF\xFF", 8));
  s.SetPosition(0);
  EXPECT_EQ(ReadLittleEndian32(s), 0x11223344);
  EXPECT_EQ(ReadLittleEndian32(s), -2);
  EXPECT_THROW(ReadLittleEndian32(s), ELxReadError);
}

// --- Decorator and slice -----------------------------------------------------

TEST(LxStreamDecorator, ForwardsEverything) {
  TLxMemoryStream inner("abcdef");
  TLxStreamDecorator d(inner);
  d.Seek(2, soFromBeginning);
  char buf[2];
  d.ReadBuffer(buf, 2);
  EXPECT_EQ(std::string(buf, 2), "cd");
  EXPECT_EQ(inner.Position(), 4);
  d.SetSize(3);
  EXPECT_EQ(inner.Bytes(), "abc");
  EXPECT_EQ(d.Size(), 3);
}

TEST(LxStreamDecorator, OwnsAnInnerGivenAsUniquePtr) {
  auto inner = std::make_unique<TLxMemoryStream>("xy");
  TLxStreamDecorator d(std::move(inner));
  EXPECT_EQ(ReadLine(d), "xy");
}

namespace {
// A decorator that changes the bytes it reads (as the document scrambling
// stream does): line reading must go through its Read.
class TUpperCaseStream : public TLxStreamDecorator {
 public:
  using TLxStreamDecorator::TLxStreamDecorator;
  std::int32_t Read(void* buffer, std::int32_t count) override {
    const std::int32_t n = TLxStreamDecorator::Read(buffer, count);
    auto* bytes = static_cast<char*>(buffer);
    for (std::int32_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(std::toupper(bytes[i]));
    return n;
  }
};
}  // namespace

TEST(LxStreamDecorator, ReadLineGoesThroughTheSubclassRead) {
  TLxMemoryStream inner("abc\r\ndef");
  TUpperCaseStream upper(inner);
  EXPECT_EQ(ReadLine(upper), "ABC");
  EXPECT_EQ(ReadLine(upper), "DEF");
}

TEST(LxSliceSubstream, ReadIsClampedToTheWindow) {
  std::string bytes(200, '\0');
  for (int i = 0; i < 200; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>(i);
  TLxMemoryStream inner(bytes);
  TLxSliceSubstream window(inner, 100, 10);
  window.Seek(5, soFromBeginning);
  char buf[20];
  ASSERT_EQ(window.Read(buf, 20), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(static_cast<unsigned char>(buf[i]), 105 + i);
  EXPECT_EQ(window.Read(buf, 20), 0);  // at the size: nothing
  window.Seek(20, soFromBeginning);
  EXPECT_EQ(window.Read(buf, 20), 0);  // past the size: nothing
  EXPECT_EQ(window.Write(buf, 3), 0);
  EXPECT_EQ(window.Seek(-1, soFromEnd), 9);
  EXPECT_EQ(window.Seek(5, 7), 9);  // unknown origin leaves the position
}

TEST(LxSliceSubstream, NegativePositionAddressesBytesBeforeStart) {
  TLxMemoryStream inner("0123456789");
  TLxSliceSubstream window(inner, 5, 0);
  window.Seek(-2, soFromBeginning);
  char buf[3];
  window.ReadBuffer(buf, 3);
  EXPECT_EQ(std::string(buf, 3), "345");
  EXPECT_EQ(window.Position(), 1);
}

TEST(LxSliceSubstream, UnboundedWindowWritesAnywhereAfterStart) {
  TLxMemoryStream inner("head");
  TLxSliceSubstream window(inner, 4, 0);
  window.WriteBuffer("tail", 4);
  EXPECT_EQ(inner.Bytes(), "headtail");
  window.Seek(0, soFromBeginning);
  EXPECT_EQ(ReadLine(window), "tail");
}

TEST(LxSliceSubstream, SetSizeOnlyAcceptsTheSameSize) {
  TLxMemoryStream inner("0123456789");
  TLxSliceSubstream window(inner, 0, 4);
  EXPECT_NO_THROW(window.SetSize(4));
  try {
    window.SetSize(5);
    FAIL();
  } catch (const ELxException& error) {
    EXPECT_EQ(error.Message(), "Impossível alterar o tamanho deste bloco de dados.");
  }
}

TEST(LxSliceSubstream, ReadLineStopsAtTheWindowEnd) {
  TLxMemoryStream inner("xxab\r\ncdefgh");
  TLxSliceSubstream window(inner, 2, 6);
  EXPECT_EQ(ReadLine(window), "ab");
  EXPECT_EQ(ReadLine(window), "cd");
  std::string line;
  EXPECT_FALSE(ReadLine(window, line));
}

// --- Line helpers ----------------------------------------------------------

TEST(LxLines, WriteLineEndsWithCrLf) {
  TLxMemoryStream s;
  WriteLine(s, "abc");
  WriteLine(s, "");
  EXPECT_EQ(s.Bytes(), "abc\r\n\r\n");
}

TEST(LxLines, ReadLineDropsCrAndConsumesLf) {
  TLxMemoryStream s("abc\r\na\rb\nx");
  EXPECT_EQ(ReadLine(s), "abc");
  EXPECT_EQ(ReadLine(s), "ab");
  EXPECT_EQ(ReadLine(s), "x");
  EXPECT_EQ(ReadLine(s), "");
  EXPECT_EQ(s.Position(), s.Size());
}

TEST(LxLines, ReadLineTellsTheEndFromAnEmptyLine) {
  TLxMemoryStream s("\n\r\nz");
  std::string line;
  EXPECT_TRUE(ReadLine(s, line));
  EXPECT_EQ(line, "");
  EXPECT_TRUE(ReadLine(s, line));
  EXPECT_EQ(line, "");
  EXPECT_TRUE(ReadLine(s, line));
  EXPECT_EQ(line, "z");
  EXPECT_FALSE(ReadLine(s, line));
  TLxMemoryStream lastCr("\r");
  EXPECT_TRUE(ReadLine(lastCr, line));
  EXPECT_EQ(line, "");
}

TEST(LxLines, ReadLinesStopsAtTheEmptyLine) {
  TLxMemoryStream s("a\r\nb\r\n\r\nc\r\n");
  TLxStringList lines{"before"};
  ReadLines(s, lines);
  EXPECT_EQ(lines, (TLxStringList{"before", "a", "b"}));
  EXPECT_EQ(ReadLine(s), "c");
  TLxMemoryStream noEmpty("a\r\nb");
  TLxStringList all;
  ReadLines(noEmpty, all);
  EXPECT_EQ(all, (TLxStringList{"a", "b"}));
}

TEST(LxLines, ReadHeaderValuesStopsAfterTheEmptyLine) {
  TLxMemoryStream s("Data: 01/02/2003\r\nTamanho: 120\r\n\r\nmore bytes");
  const TLxNameValueList header = ReadHeaderValues(s);
  EXPECT_EQ(header.Count(), 2);
  EXPECT_EQ(header.Values("data"), "01/02/2003");
  EXPECT_EQ(header.Values("TAMANHO"), "120");
  EXPECT_EQ(header[0].Name, "Data");
  EXPECT_EQ(ReadLine(s), "more bytes");
}

TEST(LxLines, HeaderBlocksAreBoundedInLinesAndBytes) {
  std::string atBound;
  for (std::size_t i = 0; i < kLxMaxHeaderLines; ++i) atBound += "N" + std::to_string(i) + ": v\r\n";
  TLxMemoryStream whole(atBound + "\r\n");
  EXPECT_EQ(ReadHeaderValues(whole).Count(), static_cast<int>(kLxMaxHeaderLines));
  const std::string tooMany = atBound + "a\r\n\r\n";
  const std::string tooLong = std::string(kLxMaxHeaderBytes / 2, 'x') + "\r\n" +
                              std::string(kLxMaxHeaderBytes / 2 + 1, 'y') + "\r\n\r\n";
  for (const std::string& bytes : {tooMany, tooLong}) {
    TLxMemoryStream lines(bytes);
    TLxStringList list;
    EXPECT_THROW(ReadLines(lines, list), ELxReadError);
    TLxMemoryStream values(bytes);
    EXPECT_THROW(ReadHeaderValues(values), ELxReadError);
  }
}

TEST(LxLines, ReadHeaderValuesTrimsSplitsAtTheFirstColonAndReplaces) {
  TLxMemoryStream s(
      "  \tHora : 10:20:30 \r\n"
      "SemDoisPontos\r\n"
      "hora: 11:00\r\n"
      "Apagar: x\r\n"
      "APAGAR:\r\n"
      ": sem nome\r\n"
      " \t \r\n"
      "Depois: 1\r\n");
  TLxNameValueList header;
  header.SetValue("Existente", "sim");
  ReadHeaderValues(s, header);
  EXPECT_EQ(header.Values("Hora"), "11:00");  // replaced, case-insensitive
  EXPECT_EQ(header[1].Name, "Hora");          // keeps its place and first spelling
  EXPECT_FALSE(header.Contains("SemDoisPontos"));  // a name without value adds nothing
  EXPECT_FALSE(header.Contains("Apagar"));         // an empty value deletes
  EXPECT_EQ(header.Values(""), "sem nome");
  EXPECT_EQ(header.Values("Existente"), "sim");
  EXPECT_FALSE(header.Contains("Depois"));  // the blank line ended the block
  EXPECT_EQ(ReadLine(s), "Depois: 1");
}

TEST(LxLines, ReadHeaderValuesEndsAtTheEndOfTheStream) {
  TLxMemoryStream s("Nome: valor");
  EXPECT_EQ(ReadHeaderValues(s).Values("nome"), "valor");
  TLxMemoryStream empty;
  EXPECT_EQ(ReadHeaderValues(empty).Count(), 0);
}

TEST(LxText, TrimRemovesBlanksAndControlCharacters) {
  EXPECT_EQ(LxTrim("\t Data \r\x01"), "Data");
  EXPECT_EQ(LxTrim(" \x1F "), "");
  EXPECT_EQ(LxTrim("a b"), "a b");
  EXPECT_EQ(LxTrim("\xE7\xE3o "), "\xE7\xE3o");  // Windows-1252 letters stay
}

TEST(LxText, SameTextFoldsWindows1252Letters) {
  EXPECT_TRUE(LxSameText("Codifica\xE7\xE3o", "CODIFICA\xC7\xC3O"));
  EXPECT_TRUE(LxSameText("T\xCDtulo", "t\xEDtulo"));
  EXPECT_FALSE(LxSameText("\xD7", "\xF7"));  // multiplication and division signs differ
  EXPECT_FALSE(LxSameText("abc", "abcd"));
  EXPECT_TRUE(LxSameText("", ""));
}

// --- Files ------------------------------------------------------------------

TEST(LxFileStream, CreateWriteReopenRead) {
  TempFolder folder;
  const std::string name = folder.File("a.dat");
  {
    TLxFileStream f(name, TLxFileMode::Create);
    WriteLine(f, "primeira");
    WriteLine(f, "segunda");
    EXPECT_EQ(f.Size(), 19);  // buffered bytes count
  }
  EXPECT_EQ(ReadWholeFile(name), "primeira\r\nsegunda\r\n");
  TLxFileStream f(name, TLxFileMode::OpenRead);
  EXPECT_EQ(f.Size(), 19);
  EXPECT_EQ(ReadLine(f), "primeira");
  EXPECT_EQ(f.Position(), 10);
  EXPECT_EQ(ReadLine(f), "segunda");
  EXPECT_EQ(ReadLine(f), "");
  EXPECT_THROW(f.Write("x", 1), ELxInOutError);
}

TEST(LxFileStream, CreateTruncatesAnExistingFile) {
  TempFolder folder;
  const std::string name = folder.File("t.dat");
  WriteWholeFile(name, "old contents");
  TLxFileStream f(name, TLxFileMode::Create);
  EXPECT_EQ(f.Size(), 0);
}

TEST(LxFileStream, OpenFailuresNameTheFile) {
  TempFolder folder;
  const std::string missing = folder.File("falta.dat");
  try {
    TLxFileStream f(missing, TLxFileMode::OpenRead);
    FAIL();
  } catch (const ELxInOutError& error) {
    EXPECT_EQ(error.ErrorCode(), ENOENT);
    EXPECT_NE(error.Message().find("Não foi possível abrir o arquivo \"" + missing + "\" para leitura"),
              std::string::npos)
        << error.Message();
    EXPECT_EQ(error.ClassName(), "EInOutError");
  }
  try {
    TLxFileStream f(folder.File("nao/existe/x.dat"), TLxFileMode::Create);
    FAIL();
  } catch (const ELxInOutError& error) {
    EXPECT_NE(error.Message().find("Não foi possível criar o arquivo"), std::string::npos);
  }
  EXPECT_THROW(TLxFileStream(folder.Path().string(), TLxFileMode::OpenRead), ELxInOutError);  // a folder
}

TEST(LxFileStream, MixedReadsWritesAndSeeks) {
  TempFolder folder;
  const std::string name = folder.File("m.dat");
  TLxFileStream f(name, TLxFileMode::Create);
  f.WriteBuffer("0123456789", 10);
  f.Seek(2, soFromBeginning);
  char buf[4] = {};
  f.ReadBuffer(buf, 3);
  EXPECT_EQ(std::string(buf, 3), "234");
  f.WriteBuffer("ab", 2);  // at 5
  f.Seek(0, soFromBeginning);
  char all[10];
  f.ReadBuffer(all, 10);
  EXPECT_EQ(std::string(all, 10), "01234ab789");
  f.Seek(12, soFromBeginning);
  f.WriteBuffer("z", 1);
  EXPECT_EQ(f.Size(), 13);
  f.Flush();
  EXPECT_EQ(ReadWholeFile(name), std::string("01234ab789\0\0z", 13));
  f.SetSize(4);
  EXPECT_EQ(f.Position(), 4);
  EXPECT_EQ(f.Size(), 4);
  EXPECT_EQ(f.Seek(-1, soFromEnd), 3);
  EXPECT_THROW(f.Seek(-5, soFromCurrent), ELxStreamError);
  f.Close();
  EXPECT_EQ(ReadWholeFile(name), "0123");
  EXPECT_THROW(f.Read(buf, 1), ELxInOutError);
}

TEST(LxFileStream, LargeAndSmallWritesAndReadsAcrossTheBuffer) {
  TempFolder folder;
  const std::string name = folder.File("big.dat");
  std::string expected;
  {
    TLxFileStream f(name, TLxFileMode::Create);
    std::uint32_t seed = 1;
    for (int i = 0; i < 3000; ++i) {
      seed = seed * 1103515245u + 12345u;
      const std::string piece(static_cast<size_t>((seed >> 8) % (i % 50 == 0 ? 200000 : 300)),
                              static_cast<char>('a' + i % 26));
      f.WriteBuffer(piece.data(), static_cast<std::int32_t>(piece.size()));
      expected += piece;
    }
    f.Close();
  }
  ASSERT_EQ(ReadWholeFile(name), expected);
  TLxFileStream f(name, TLxFileMode::OpenRead);
  std::string back;
  std::uint32_t seed = 2;
  while (true) {
    seed = seed * 1103515245u + 12345u;
    std::string piece(static_cast<size_t>((seed >> 8) % 100000), '\0');
    const std::int32_t n = f.Read(piece.data(), static_cast<std::int32_t>(piece.size()));
    if (n == 0 && !piece.empty()) break;
    back.append(piece.data(), static_cast<size_t>(n));
  }
  EXPECT_EQ(back, expected);
}

TEST(LxFileStream, ReadWriteModeKeepsTheContents) {
  TempFolder folder;
  const std::string name = folder.File("rw.dat");
  WriteWholeFile(name, "abcdef");
  {
    TLxFileStream f(name, TLxFileMode::OpenReadWrite);
    f.Seek(0, soFromEnd);
    WriteLine(f, "g");
  }
  EXPECT_EQ(ReadWholeFile(name), "abcdefg\r\n");
}

TEST(LxFileStream, ExclusiveShareFailsWhileAnotherHolderHasIt) {
  TempFolder folder;
  const std::string name = folder.File("lock.dat");
  TLxFileStream first(name, TLxFileMode::Create, TLxFileShare::Exclusive);
  first.WriteBuffer("held", 4);
  first.Flush();
  try {
    TLxFileStream second(name, TLxFileMode::Create, TLxFileShare::Exclusive);
    FAIL();
  } catch (const ELxInOutError& error) {
    EXPECT_EQ(error.ErrorCode(), EWOULDBLOCK);
    EXPECT_NE(error.Message().find("em uso por outro processo"), std::string::npos);
  }
  EXPECT_EQ(ReadWholeFile(name), "held");  // the failed create did not truncate
  EXPECT_THROW(TLxFileStream(name, TLxFileMode::OpenRead, TLxFileShare::DenyWrite), ELxInOutError);
  first.Close();
  TLxFileStream reader(name, TLxFileMode::OpenRead, TLxFileShare::DenyWrite);
  TLxFileStream reader2(name, TLxFileMode::OpenRead, TLxFileShare::DenyWrite);
  EXPECT_EQ(ReadLine(reader2), "held");
}

TEST(LxFileStream, WriteErrorsSurfaceOnFlush) {
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  TLxFileStream f("/dev/full", TLxFileMode::OpenReadWrite);
  f.WriteBuffer("x", 1);
  try {
    f.Flush();
    FAIL();
  } catch (const ELxInOutError& error) {
    EXPECT_EQ(error.ErrorCode(), ENOSPC);
    EXPECT_NE(error.Message().find("Erro de escrita no arquivo \"/dev/full\""), std::string::npos);
  }
}

TEST(LxFileStream, UnwritableFolderRefusesCreation) {
  EXPECT_THROW(TLxFileStream("/proc/pandecta-nao-existe.dat", TLxFileMode::Create), ELxInOutError);
}

TEST(LxFileStream, ReadOnlyFolderRefusesCreation) {
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores permissions";
  TempFolder folder;
  ::chmod(folder.Path().c_str(), 0500);
  EXPECT_THROW(TLxFileStream(folder.File("x.dat"), TLxFileMode::Create), ELxInOutError);
  ::chmod(folder.Path().c_str(), 0700);
}

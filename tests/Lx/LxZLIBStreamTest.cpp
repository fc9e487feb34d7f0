#include <zlib.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "LxFileStream.h"
#include "LxLineIO.h"
#include "LxLittleEndian.h"
#include "LxMemoryStream.h"
#include "LxZLIBStream.h"
#include "TempFolder.h"

namespace {

std::string SampleText(int size) {
  std::string text;
  std::uint32_t seed = 99;
  while (static_cast<int>(text.size()) < size) {
    seed = seed * 1103515245u + 12345u;
    text += "Art. " + std::to_string(seed % 1000) + " - O contribuinte deverá recolher o imposto. ";
  }
  text.resize(static_cast<size_t>(size));
  return text;
}

// One block holding `body`, as the program writes it.
std::string Block(const std::string& body) {
  TLxMemoryStream out;
  TLxZLIBStream z(out);
  z.BeginWrite();
  z.WriteBuffer(body.data(), static_cast<std::int32_t>(body.size()));
  z.Finish();
  return out.Bytes();
}

std::string ReadAll(TLxStream& s) {
  std::string all;
  char buf[1000];
  for (;;) {
    const std::int32_t n = s.Read(buf, sizeof buf);
    if (n == 0) return all;
    all.append(buf, static_cast<size_t>(n));
  }
}

void PutFixed32(std::string& bytes, size_t at, std::uint32_t value) { EncodeFixed32(bytes.data() + at, value); }

std::string DecompressionError(const std::string& block) {
  TLxMemoryStream in(block);
  TLxZLIBStream z(in);
  try {
    ReadAll(z);
  } catch (const ELxDecompressionError& error) {
    return error.Message();
  } catch (const ELxReadError& error) {
    return error.Message();
  }
  return "no error";
}

}  // namespace

TEST(LxZLIBStream, EmptyBlockIsComplete) {
  TLxMemoryStream out;
  {
    TLxZLIBStream z(out);
    z.BeginWrite();
    z.Finish();
  }
  const std::string& bytes = out.Bytes();
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(DecodeFixed32(bytes.data()), bytes.size() - 8);
  EXPECT_EQ(DecodeFixed32(bytes.data() + 4), 0u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 0x78);  // zlib header
  EXPECT_EQ(static_cast<unsigned char>(bytes[9]), 0xDA);  // level 9
  TLxMemoryStream in(bytes);
  TLxZLIBStream r(in);
  EXPECT_EQ(ReadAll(r), "");
}

TEST(LxZLIBStream, BlockIsHeaderPlusARealZlibStream) {
  const std::string body = SampleText(100000);
  const std::string block = Block(body);
  const std::uint32_t compressed = DecodeFixed32(block.data());
  EXPECT_EQ(compressed, block.size() - 8);
  EXPECT_EQ(DecodeFixed32(block.data() + 4), body.size());
  std::string expanded(body.size(), '\0');
  uLongf length = static_cast<uLongf>(expanded.size());
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(expanded.data()), &length,
                       reinterpret_cast<const Bytef*>(block.data() + 8), compressed),
            Z_OK);
  EXPECT_EQ(expanded, body);
}

TEST(LxZLIBStream, RoundTripAfterATextHeaderWithDataFollowing) {
  const std::string body = SampleText(300000);
  TLxMemoryStream file;
  WriteLine(file, "TOMO.Documento");
  WriteLine(file, "");
  {
    TLxZLIBStream z(file);
    for (size_t at = 0; at < body.size(); at += 7777) {
      z.WriteBuffer(body.data() + at, static_cast<std::int32_t>(std::min<size_t>(7777, body.size() - at)));
    }
    EXPECT_EQ(z.Seek(0, soFromCurrent), static_cast<std::int32_t>(body.size()));
    EXPECT_THROW(z.Seek(0, soFromBeginning), ELxCompressionError);
    z.Finish();
    EXPECT_EQ(file.Position(), file.Size());  // stands after the block
    EXPECT_EQ(z.ExpandedSize(), static_cast<std::int32_t>(body.size()));
  }
  WriteLine(file, "depois");

  file.SetPosition(0);
  EXPECT_EQ(ReadLine(file), "TOMO.Documento");
  EXPECT_EQ(ReadLine(file), "");
  TLxZLIBStream z(file);
  z.BeginRead();
  EXPECT_EQ(z.Size(), static_cast<std::int32_t>(body.size()));
  std::string back(body.size(), '\0');
  z.ReadBuffer(back.data(), static_cast<std::int32_t>(back.size()));
  EXPECT_EQ(back, body);
  char extra;
  EXPECT_EQ(z.Read(&extra, 1), 0);
  file.SetPosition(18 + 8 + z.CompressedSize());
  EXPECT_EQ(ReadLine(file), "depois");
}

TEST(LxZLIBStream, SizeFromTheHeaderWithoutInflating) {
  std::string block = Block(SampleText(5000));
  // Spoil the data: Seek(0, 2) must still answer from the header alone.
  for (size_t i = 12; i < block.size(); ++i) block[i] = static_cast<char>(~block[i]);
  TLxMemoryStream in(block);
  TLxZLIBStream z(in);
  EXPECT_EQ(z.Seek(0, soFromEnd), 5000);
  EXPECT_EQ(z.Size(), 5000);
}

TEST(LxZLIBStream, SeekingBackRereadsTheSameBytes) {
  const std::string body = SampleText(200000);
  TLxMemoryStream in(Block(body));
  TLxZLIBStream z(in);
  std::string first(1000, '\0');
  z.ReadBuffer(first.data(), 1000);
  z.Seek(150000, soFromBeginning);
  char mid[10];
  z.ReadBuffer(mid, 10);
  EXPECT_EQ(std::string(mid, 10), body.substr(150000, 10));
  EXPECT_EQ(z.Seek(0, soFromBeginning), 0);
  std::string again(1000, '\0');
  z.ReadBuffer(again.data(), 1000);
  EXPECT_EQ(again, first);
  EXPECT_EQ(first, body.substr(0, 1000));
  z.Seek(-10, soFromEnd);
  char tail[20];
  EXPECT_EQ(z.Read(tail, 20), 10);
  EXPECT_EQ(std::string(tail, 10), body.substr(body.size() - 10));
  z.Seek(10, soFromEnd);  // past the end: reads nothing
  EXPECT_EQ(z.Read(tail, 20), 0);
  EXPECT_THROW(z.Seek(-1, soFromBeginning), ELxStreamError);
}

TEST(LxZLIBStream, SetSizeIsNotAllowed) {
  TLxMemoryStream in(Block("x"));
  TLxZLIBStream z(in);
  try {
    z.SetSize(0);
    FAIL();
  } catch (const ELxException& error) {
    EXPECT_EQ(error.Message(), "Operação não permitida");
  }
}

TEST(LxZLIBStream, ReadingThroughAFileStream) {
  TempFolder folder;
  const std::string name = folder.File("doc.dat");
  const std::string body = SampleText(400000);
  {
    TLxFileStream f(name, TLxFileMode::Create);
    WriteLine(f, "Codificação: ZLib");
    WriteLine(f, "");
    TLxZLIBStream z(f);
    z.WriteBuffer(body.data(), static_cast<std::int32_t>(body.size()));
    z.Finish();
    f.Close();
  }
  TLxFileStream f(name, TLxFileMode::OpenRead);
  EXPECT_EQ(ReadHeaderValues(f).Values("codificação"), "ZLib");
  TLxZLIBStream z(f);
  EXPECT_EQ(ReadAll(z), body);
}

// --- Broken and hostile blocks ----------------------------------------------

TEST(LxZLIBStreamHostile, ShortHeaderIsAReadError) {
  EXPECT_EQ(DecompressionError(std::string("\x05\0\0", 3)), "Erro de leitura do fluxo");
  EXPECT_EQ(DecompressionError(""), "Erro de leitura do fluxo");
}

TEST(LxZLIBStreamHostile, TruncatedBlockRaisesInsteadOfLooping) {
  const std::string block = Block(SampleText(100000));
  for (size_t keep : {size_t{8}, size_t{9}, size_t{20}, block.size() / 2, block.size() - 1}) {
    const std::string message = DecompressionError(block.substr(0, keep));
    EXPECT_NE(message.find("Erro de descompressão"), std::string::npos) << keep << ": " << message;
  }
}

TEST(LxZLIBStreamHostile, CompressedSizeLargerThanTheStreamIsTruncation) {
  std::string block = Block(SampleText(1000));
  PutFixed32(block, 0, 0x7FFFFFFF);
  block.resize(block.size() - 3);  // the trailer is missing too
  EXPECT_NE(DecompressionError(block).find("dados truncados"), std::string::npos);
}

TEST(LxZLIBStreamHostile, CompressedSizeSmallerThanTheDataIsTruncation) {
  std::string block = Block(SampleText(100000));
  PutFixed32(block, 0, 100);
  block += "data beyond the block that must never be read";
  EXPECT_NE(DecompressionError(block).find("dados truncados"), std::string::npos);
}

TEST(LxZLIBStreamHostile, AbsurdExpandedSizeIsCorruption) {
  std::string block = Block(SampleText(1000));
  PutFixed32(block, 4, 0x7FFFFFFF);
  EXPECT_NE(DecompressionError(block).find("dados corrompidos"), std::string::npos);
  PutFixed32(block, 4, 10);  // smaller than the data
  EXPECT_NE(DecompressionError(block).find("dados corrompidos"), std::string::npos);
}

TEST(LxZLIBStreamHostile, ReaderStoppingAtTheExpandedSizeStillSeesABadTrailer) {
  const std::string body = SampleText(1000);
  std::string block = Block(body);
  block[block.size() - 1] = static_cast<char>(block.back() ^ 1);  // Adler-32 spoiled
  TLxMemoryStream in(block);
  TLxZLIBStream z(in);
  std::string back(body.size(), '\0');
  EXPECT_THROW(z.ReadBuffer(back.data(), static_cast<std::int32_t>(back.size())), ELxDecompressionError);
}

TEST(LxZLIBStreamHostile, NegativeOrZeroSizesAreRejected) {
  std::string block = Block("abc");
  std::string negative = block;
  PutFixed32(negative, 0, 0xFFFFFFF0u);
  EXPECT_NE(DecompressionError(negative).find("cabeçalho do bloco inválido"), std::string::npos);
  std::string zero = block;
  PutFixed32(zero, 0, 0);
  EXPECT_NE(DecompressionError(zero).find("cabeçalho do bloco inválido"), std::string::npos);
  std::string negativeExpanded = block;
  PutFixed32(negativeExpanded, 4, 0x80000000u);
  EXPECT_NE(DecompressionError(negativeExpanded).find("cabeçalho do bloco inválido"), std::string::npos);
}

TEST(LxZLIBStreamHostile, GarbageDataIsCorruption) {
  std::string block(8, '\0');
  PutFixed32(block, 0, 64);
  PutFixed32(block, 4, 1000);
  for (int i = 0; i < 64; ++i) block.push_back(static_cast<char>(i * 37 + 11));
  EXPECT_NE(DecompressionError(block).find("Erro de descompressão"), std::string::npos);
}

TEST(LxZLIBStreamHostile, EveryFlippedByteEndsInAnErrorOrTheRightData) {
  const std::string body = SampleText(3000);
  const std::string block = Block(body);
  for (size_t i = 8; i < block.size(); ++i) {
    std::string spoiled = block;
    spoiled[i] = static_cast<char>(spoiled[i] ^ 0x5A);
    TLxMemoryStream in(spoiled);
    TLxZLIBStream z(in);
    try {
      const std::string back = ReadAll(z);
      EXPECT_EQ(back, body) << "byte " << i;  // accepted data must be right
    } catch (const ELxStreamError&) {
    }
  }
}

TEST(LxZLIBStreamHostile, WritingAfterReadingIsRefused) {
  TLxMemoryStream in(Block("abc"));
  TLxZLIBStream z(in);
  char c;
  z.Read(&c, 1);
  EXPECT_THROW(z.Write("x", 1), ELxStreamError);
}

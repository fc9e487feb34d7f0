// The word hash, the word order, file names and hint bit addresses.

#include <gtest/gtest.h>

#include "HintBits.h"
#include "IndexPaths.h"
#include "LexdexTestSupport.h"
#include "Word.h"

namespace {

using namespace lexdex;
using lexdex_test::HashOf;

const std::uint8_t* U(const char* text) { return reinterpret_cast<const std::uint8_t*>(text); }

int Compare(const std::string& x, const std::string& y) {
  return CompareWords(U(x.data()), x.size(), U(y.data()), y.size());
}

TEST(WordHash, IsTheLow14BitsOfTheZlibCrc32) {
  EXPECT_EQ(Crc32(U("abc"), 3), 0x352441C2u);
  EXPECT_EQ(Crc32(U("123456789"), 9), 0xCBF43926u);
  EXPECT_EQ(Crc32(U(""), 0), 0u);
  EXPECT_EQ(HashOf("abc"), 0x01C2u);
  EXPECT_EQ(HashOf("abc"), 450u);
}

TEST(WordOrder, ComparesUnsignedBytesAndPutsAPrefixFirst) {
  EXPECT_LT(Compare("ab", "abc"), 0);
  EXPECT_LT(Compare("abc", "b"), 0);
  EXPECT_GT(Compare("\xE7", "z"), 0);
  EXPECT_GT(Compare("a\x80", "a\x7F"), 0);
  EXPECT_EQ(Compare("renda", "renda"), 0);
  EXPECT_GT(Compare("abc", "ab"), 0);
}

TEST(IndexPaths, NameGroupFilesByTwoLowerCaseHexPairs) {
  EXPECT_EQ(GroupFilePath("/i", 0), "/i/grp00/00.sl");
  EXPECT_EQ(GroupFilePath("/i", 255), "/i/grp00/ff.sl");
  EXPECT_EQ(GroupFilePath("/i", 256), "/i/grp01/00.sl");
  EXPECT_EQ(GroupFilePath("/i", 30000), "/i/grp75/30.sl");
  EXPECT_EQ(GroupFilePath("/i", 65535), "/i/grpff/ff.sl");
  EXPECT_STREQ(lexdex::GroupFileName(30000).data(), "30.sl");
  EXPECT_EQ(GroupFolderPath("/i", 30000), "/i/grp75");
  EXPECT_EQ(HintFilePath("/i"), "/i/hint.il");
}

TEST(HintBits, AddressOneBitPerHashAndGroup) {
  const HintBit in5 = LocateHintBit(5, 450);
  EXPECT_EQ(in5.byteOffset, 28800u);
  EXPECT_EQ(in5.mask, 1 << 5);
  const HintBit in513 = LocateHintBit(513, 450);
  EXPECT_EQ(in513.byteOffset, 1077376u);
  EXPECT_EQ(in513.mask, 1 << 1);
  const HintBit in30000 = LocateHintBit(30000, 450);
  EXPECT_EQ(in30000.byteOffset, 60846246u);
  EXPECT_EQ(in30000.mask, 1 << 0);
}

TEST(HintBits, BitmapWordAndBitNameTheGroupBack) {
  for (int group : {0, 5, 31, 32, 511, 512, 513, 30000, 65535}) {
    const HintBit bit = LocateHintBit(group, 450);
    const std::uint64_t word = bit.byteOffset / 4 * 4;
    const int index = static_cast<int>(bit.byteOffset % 4 * 8) + __builtin_ctz(bit.mask);
    EXPECT_EQ(GroupOfHintBit(word, index), group);
  }
}

}  // namespace

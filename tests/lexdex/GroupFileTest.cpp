// Group files as written by indexing: their bytes, word order, pair order,
// and the hint bits that indexing sets and deletion clears.

#include <gtest/gtest.h>

#include <filesystem>

#include "LexdexTestSupport.h"

namespace {

using namespace lexdex_test;
namespace fs = std::filesystem;

class GroupFile : public ::testing::Test {
 protected:
  IndexInFolder index_;
};

TEST_F(GroupFile, HoldsSortedWordsWithOffsetsAndPairs) {
  BuildGroup(0, {{"b", 5, 6}, {"abc", 3, 4}, {"ab", 1, 2}});
  const std::string expected = std::string("\x03\0\0\0", 4) +           // N = 3
                               std::string("\x00\0\0\0", 4) +           // offsets 0,
                               std::string("\x0F\0\0\0", 4) +           //  15,
                               std::string("\x1F\0\0\0", 4) +           //  31
                               std::string("\x02" "ab", 3) + std::string("\x01\0\0\0", 4) +
                               std::string("\x01\0\0\0\x02\0\0\0", 8) +
                               std::string("\x03" "abc", 4) + std::string("\x01\0\0\0", 4) +
                               std::string("\x03\0\0\0\x04\0\0\0", 8) +
                               std::string("\x01" "b", 2) + std::string("\x01\0\0\0", 4) +
                               std::string("\x05\0\0\0\x06\0\0\0", 8);
  EXPECT_EQ(index_.GroupBytes("grp00/00.sl"), expected);
}

TEST_F(GroupFile, KeepsThePairsOfOneWordInOrderOfAddition) {
  BuildGroup(1, {{"abc", 10, 0}, {"abc", 20, 1}, {"abc", 30, 2}});
  EXPECT_EQ(index_.GroupBytes("grp00/01.sl"),
            GroupFileBytes({Record("abc", {{10, 0}, {20, 1}, {30, 2}})}));
}

TEST_F(GroupFile, GathersRepeatedWords) {
  BuildGroup(2, {{"renda", 100, 7}, {"imposto", 50, 6}, {"renda", 200, 9}});
  EXPECT_EQ(index_.GroupBytes("grp00/02.sl"),
            GroupFileBytes({Record("imposto", {{50, 6}}), Record("renda", {{100, 7}, {200, 9}})}));
}

TEST_F(GroupFile, CountsTheSamePairTwice) {
  BuildGroup(3, {{"lei", 4, 4}, {"lei", 4, 4}});
  EXPECT_EQ(index_.GroupBytes("grp00/03.sl"), GroupFileBytes({Record("lei", {{4, 4}, {4, 4}})}));
}

TEST_F(GroupFile, OrdersPrefixesFirstAndHighBytesLast) {
  BuildGroup(4, {{"\xE7" "a", 1, 1}, {"z", 2, 2}, {"abc", 3, 3}, {"ab", 4, 4}, {"-1", 5, 5}});
  EXPECT_EQ(index_.GroupBytes("grp00/04.sl"),
            GroupFileBytes({Record("-1", {{5, 5}}), Record("ab", {{4, 4}}), Record("abc", {{3, 3}}),
                            Record("z", {{2, 2}}), Record("\xE7" "a", {{1, 1}})}));
}

TEST_F(GroupFile, KeepsEqualWordsInOrderAmongManyOthers) {
  // Enough elements that any unstable sort would mix the pairs up.
  std::vector<Elem> elements;
  for (int i = 0; i < 3000; ++i) elements.push_back({"w" + std::to_string(i % 7), i, -i});
  BuildGroup(5, elements);
  std::vector<std::string> records;
  for (int w = 0; w < 7; ++w) {
    std::vector<std::pair<int, int>> pairs;
    for (int i = w; i < 3000; i += 7) pairs.push_back({i, -i});
    records.push_back(Record("w" + std::to_string(w), pairs));
  }
  EXPECT_EQ(index_.GroupBytes("grp00/05.sl"), GroupFileBytes(records));
}

TEST_F(GroupFile, OfAnEmptyGroupHoldsZeroAndSetsNoBit) {
  BuildGroup(300, {});
  EXPECT_EQ(index_.GroupBytes("grp01/2c.sl"), std::string(4, '\0'));
  index_.Close();
  EXPECT_EQ(index_.HintBytes(), "");
}

TEST_F(GroupFile, FirstGroupOfAFolderCreatesTheFolder) {
  EXPECT_FALSE(fs::exists(index_.File("grp75")));
  BuildGroup(30000, {{"abc", 1, 1}});
  EXPECT_TRUE(fs::is_regular_file(index_.File("grp75/30.sl")));
  EXPECT_EQ(ACL_GroupExist(30000), 1);
  EXPECT_EQ(ACL_GroupExist(30001), 0);
}

TEST_F(GroupFile, IndexingSetsTheHintBitAtOnce) {
  ACL_BeginGroup(5);
  AddElem("abc", 1, 1);  // never ended
  index_.Close();
  const std::string hint = index_.HintBytes();
  ASSERT_EQ(hint.size(), 32768u);
  EXPECT_EQ(static_cast<unsigned char>(hint[28800]), 1 << 5);
  EXPECT_FALSE(fs::exists(index_.File("grp00")));
}

TEST_F(GroupFile, RebuildingReplacesTheFile) {
  BuildGroup(9, {{"velho", 1, 1}});
  BuildGroup(9, {{"novo", 2, 2}});
  EXPECT_EQ(index_.GroupBytes("grp00/09.sl"), GroupFileBytes({Record("novo", {{2, 2}})}));
}

class DeleteGroup : public ::testing::Test {
 protected:
  IndexInFolder index_;
};

TEST_F(DeleteGroup, ClearsOnlyItsOwnBitOfASharedHash) {
  const std::string first = "abc";
  const std::string second = WordWithHash("x", [](std::uint32_t h) { return h == 450; });
  BuildGroup(5, {{first, 1, 1}, {second, 2, 2}});  // two words, one bit
  BuildGroup(6, {{first, 3, 3}});
  BuildGroup(600, {{second, 4, 4}});
  ACL_DeleteGroup(5);
  index_.Close();
  const std::string hint = index_.HintBytes();
  EXPECT_FALSE(HintBitInFile(hint, 450, 5));
  EXPECT_TRUE(HintBitInFile(hint, 450, 6));
  EXPECT_TRUE(HintBitInFile(hint, 450, 600));
  EXPECT_FALSE(fs::exists(index_.File("grp00/05.sl")));
}

TEST_F(DeleteGroup, RemovesTheGroupFolderWithItsLastGroup) {
  BuildGroup(1, {{"abc", 1, 1}});
  BuildGroup(2, {{"abc", 1, 1}});
  ACL_DeleteGroup(1);
  EXPECT_TRUE(fs::is_directory(index_.File("grp00")));
  EXPECT_EQ(ACL_GroupExist(1), 0);
  EXPECT_EQ(ACL_GroupExist(2), 1);
  ACL_DeleteGroup(2);
  EXPECT_FALSE(fs::exists(index_.File("grp00")));
}

TEST_F(DeleteGroup, ThenReindexingGivesOnlyTheNewWords) {
  BuildGroup(8, {{"antigo", 1, 1}, {"comum", 2, 2}});
  ACL_DeleteGroup(8);
  BuildGroup(8, {{"comum", 3, 3}});
  index_.Close();
  const std::string hint = index_.HintBytes();
  EXPECT_FALSE(HintBitInFile(hint, HashOf("antigo"), 8));
  EXPECT_TRUE(HintBitInFile(hint, HashOf("comum"), 8));
}

TEST_F(DeleteGroup, OfAMissingGroupDoesNothing) {
  BuildGroup(1, {{"abc", 1, 1}});
  ACL_DeleteGroup(2);
  ACL_DeleteGroup(70000);
  ACL_DeleteGroup(-1);
  EXPECT_EQ(ACL_GroupExist(1), 1);
  EXPECT_EQ(FindAll("abc"), (std::vector<Triple>{{1, 1, 1}}));
}

TEST_F(DeleteGroup, OfADamagedFileClearsWhatItCanAndRemovesTheFile) {
  BuildGroup(1, {{"abc", 1, 1}, {"zeta", 2, 2}});
  std::string bytes = index_.GroupBytes("grp00/01.sl");
  WriteWholeFile(index_.File("grp00/01.sl"), bytes.substr(0, bytes.size() - 12));  // zeta cut
  ACL_DeleteGroup(1);
  EXPECT_EQ(ACL_GroupExist(1), 0);
  index_.Close();
  EXPECT_FALSE(HintBitInFile(index_.HintBytes(), HashOf("abc"), 1));
}

}  // namespace

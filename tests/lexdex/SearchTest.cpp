// Searching: result order, the record's lifecycle, wfind, and group files or
// hint bits that do not agree.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "LexdexTestSupport.h"

namespace {

using namespace lexdex_test;
namespace fs = std::filesystem;
using Triples = std::vector<Triple>;

class Search : public ::testing::Test {
 protected:
  IndexInFolder index_;
};

TEST_F(Search, ReturnsEveryPairOfAGroupThenTheNextGroup) {
  BuildGroup(2, {{"abc", 10, 0}, {"x", 0, 0}, {"abc", 20, 1}, {"abc", 30, 2}});
  BuildGroup(4, {{"abc", 40, 3}});
  EXPECT_EQ(FindAll("abc"), (Triples{{2, 10, 0}, {2, 20, 1}, {2, 30, 2}, {4, 40, 3}}));
}

TEST_F(Search, ReturnsGroupsInAscendingOrderAcrossRegions) {
  for (int group : {30000, 512, 3, 511}) BuildGroup(group, {{"abc", group, 1}});
  EXPECT_EQ(FindAll("abc"), (Triples{{3, 3, 1}, {511, 511, 1}, {512, 512, 1}, {30000, 30000, 1}}));
}

TEST_F(Search, FindsAfterReopeningForSearch) {
  for (int group : {0, 31, 32, 33, 65535}) BuildGroup(group, {{"renda", group, -group}});
  ASSERT_EQ(index_.Reopen(ACL_OPEN_SEARCH_ONLY), ACL_OPEN_OK);
  EXPECT_EQ(FindAll("renda"),
            (Triples{{0, 0, 0}, {31, 31, -31}, {32, 32, -32}, {33, 33, -33}, {65535, 65535, -65535}}));
}

TEST_F(Search, ReturnsOnlyGroupsHoldingTheWordAmongSharedHashes) {
  const std::string twin = WordWithHash("t", [](std::uint32_t h) { return h == HashOf("abc"); });
  BuildGroup(1, {{"abc", 1, 1}});
  BuildGroup(2, {{twin, 2, 2}});
  BuildGroup(3, {{"abc", 3, 3}, {twin, 4, 4}});
  EXPECT_EQ(FindAll("abc"), (Triples{{1, 1, 1}, {3, 3, 3}}));
  EXPECT_EQ(FindAll(twin), (Triples{{2, 2, 2}, {3, 4, 4}}));
}

TEST_F(Search, SkipsAStaleBitAndAMissingGroupFile) {
  BuildGroup(5, {{"abc", 5, 5}});
  BuildGroup(5, {{"outra", 1, 1}});  // rebuilt without deletion: the bit for abc stays
  BuildGroup(6, {{"abc", 6, 6}});
  BuildGroup(7, {{"abc", 7, 7}});
  fs::remove(index_.File("grp00/06.sl"));  // bit set, file gone
  EXPECT_EQ(FindAll("abc"), (Triples{{7, 7, 7}}));
}

TEST(SearchByHand, ReadsAnIndexWrittenByAnotherBuild) {
  TempFolder temp;
  const std::string folder = temp.File("idx");
  fs::create_directories(folder + "/grp00");
  fs::create_directories(folder + "/grp75");
  // Word abc (hash 450) in groups 5 and 30000; one stray bit for group 6.
  std::string hint(59 * 1048576, '\0');
  hint[28800] = 0x60;                         // bits 5 and 6: groups 5 and 6
  hint[60846246] = 0x01;  // group 30000 = 58 * 512 + 304: region 58, byte 304 / 8 = 38 of the row
  WriteWholeFile(folder + "/hint.il", hint);
  WriteWholeFile(folder + "/grp00/05.sl", GroupFileBytes({Record("abc", {{7, 1}, {9, 2}})}));
  WriteWholeFile(folder + "/grp00/06.sl", GroupFileBytes({Record("b", {{1, 1}})}));
  WriteWholeFile(folder + "/grp75/30.sl", GroupFileBytes({Record("ab", {{0, 0}}), Record("abc", {{3, 4}})}));
  ACL_Init();
  ASSERT_EQ(ACL_Open(folder.c_str(), ACL_OPEN_SEARCH_ONLY), ACL_OPEN_OK);
  EXPECT_EQ(FindAll("abc"), (Triples{{5, 7, 1}, {5, 9, 2}, {30000, 3, 4}}));
  ACL_Close();
}

TEST_F(Search, OfAnAbsentWordOrAnEmptyIndexEndsAtOnce) {
  EXPECT_TRUE(FindAll("abc").empty());
  BuildGroup(1, {{"abc", 1, 1}});
  EXPECT_TRUE(FindAll("nada").empty());
  EXPECT_TRUE(FindAll("ab").empty());
}

TEST_F(Search, StopsAtTheEndOfAShortHintFile) {
  BuildGroup(1, {{"abc", 1, 1}});
  BuildGroup(600, {{"abc", 2, 2}});
  index_.Close();
  const std::string hint = index_.HintBytes();
  WriteWholeFile(index_.File("hint.il"), hint.substr(0, 1048576));  // region 1 cut off
  ASSERT_EQ(index_.Reopen(ACL_OPEN_SEARCH_ONLY), ACL_OPEN_OK);
  EXPECT_EQ(FindAll("abc"), (Triples{{1, 1, 1}}));
}

TEST_F(Search, KeepsReturningOneWhenExhausted) {
  BuildGroup(1, {{"abc", 1, 1}});
  tacl_find* find = ACL_BeginFind("abc", 3);
  int triple[3];
  EXPECT_EQ(ACL_Find(find, triple), 0);
  EXPECT_EQ(ACL_Find(find, triple), 1);
  EXPECT_EQ(ACL_Find(find, triple), 1);
  EXPECT_EQ(ACL_Find(find, triple), 1);
  ACL_EndFind(find);
}

TEST_F(Search, CanEndRightAfterBeginningAndNeverExhaustsThePool) {
  BuildGroup(1, {{"abc", 1, 1}});
  for (int i = 0; i < 100; ++i) ACL_EndFind(ACL_BeginFind("abc", 3));
  EXPECT_EQ(FindAll("abc").size(), 1u);
}

TEST_F(Search, CanEndInTheMiddleOfAGroup) {
  BuildGroup(1, {{"abc", 1, 1}, {"abc", 2, 2}});
  tacl_find* find = ACL_BeginFind("abc", 3);
  int triple[3];
  EXPECT_EQ(ACL_Find(find, triple), 0);
  ACL_EndFind(find);  // closes the group file (LeakSanitizer checks)
  EXPECT_EQ(FindAll("abc").size(), 2u);
}

TEST_F(Search, RunsManyInterleavedSearchesAtOnce) {
  constexpr int kSearches = 40;  // more than the original pool of 16
  for (int group = 0; group < 3; ++group) {
    std::vector<Elem> elements;
    for (int w = 0; w < kSearches; ++w) elements.push_back({"p" + std::to_string(w), group, w});
    BuildGroup(group * 1000, elements);
  }
  std::vector<tacl_find*> finds;
  for (int w = 0; w < kSearches; ++w) {
    const std::string word = "p" + std::to_string(w);
    finds.push_back(ACL_BeginFind(word.data(), static_cast<int>(word.size())));
  }
  for (int group = 0; group < 3; ++group) {
    for (int w = 0; w < kSearches; ++w) {
      Triple triple{};
      ASSERT_EQ(ACL_Find(finds[w], triple.data()), 0);
      EXPECT_EQ(triple, (Triple{group * 1000, group, w}));
    }
  }
  for (tacl_find* find : finds) {
    Triple triple{};
    EXPECT_EQ(ACL_Find(find, triple.data()), 1);
    ACL_EndFind(find);
  }
}

TEST_F(Search, OfAWordOfInvalidLengthFindsNothing) {
  BuildGroup(1, {{"abc", 1, 1}});
  EXPECT_TRUE(FindAll("").empty());
  const std::string huge(300, 'a');
  EXPECT_TRUE(FindAll(huge).empty());
  ACL_EndFind(nullptr);
  int triple[3];
  EXPECT_EQ(ACL_Find(nullptr, triple), 1);
}

TEST_F(Search, FindsWordsOfEveryLengthAndByte) {
  const std::string longest(255, '\xFF');
  const std::string binary("a\0b", 3);
  BuildGroup(1, {{longest, 1, 1}, {binary, 2, 2}, {"\x01", 3, 3}});
  EXPECT_EQ(FindAll(longest), (Triples{{1, 1, 1}}));
  EXPECT_EQ(FindAll(binary), (Triples{{1, 2, 2}}));
  EXPECT_EQ(FindAll("\x01"), (Triples{{1, 3, 3}}));
}

// A group file written by hand, damaged in several ways: the search meets it
// (the hint bit of abc is set for group 1) and must return nothing from it.
class DamagedGroupFile : public Search {
 protected:
  void SetUp() override {
    BuildGroup(1, {{"abc", 1, 1}});
    BuildGroup(2, {{"abc", 2, 2}});
  }
  void Damage(const std::string& bytes) { WriteWholeFile(index_.File("grp00/01.sl"), bytes); }
  const Triples kOnlyGroup2{{2, 2, 2}};
  const std::string kGood = GroupFileBytes({Record("ab", {{9, 9}}), Record("abc", {{1, 1}, {3, 3}}),
                                            Record("b", {{9, 9}})});
};

TEST_F(DamagedGroupFile, ReadsWellWhenIntact) {
  Damage(kGood);
  EXPECT_EQ(FindAll("abc"), (Triples{{1, 1, 1}, {1, 3, 3}, {2, 2, 2}}));
}

TEST_F(DamagedGroupFile, EmptyOrShortOfTheCount) {
  Damage("");
  EXPECT_EQ(FindAll("abc"), kOnlyGroup2);
  Damage(std::string("\x03\0", 2));
  EXPECT_EQ(FindAll("abc"), kOnlyGroup2);
}

TEST_F(DamagedGroupFile, AbsurdWordCount) {
  Damage(Le32(0xFFFFFFFFu) + kGood.substr(4));
  EXPECT_EQ(FindAll("abc"), kOnlyGroup2);
  Damage(Le32(1000) + kGood.substr(4));
  EXPECT_EQ(FindAll("abc"), kOnlyGroup2);
}

TEST_F(DamagedGroupFile, OffsetsPastTheEnd) {
  std::string bytes = kGood;
  bytes.replace(8, 4, Le32(0x7FFFFFF0u));  // the middle record, abc
  Damage(bytes);
  EXPECT_EQ(FindAll("abc"), kOnlyGroup2);
  bytes.replace(8, 4, Le32(static_cast<std::uint32_t>(kGood.size() - 16 - 2)));  // word runs off
  Damage(bytes);
  EXPECT_EQ(FindAll("abc"), kOnlyGroup2);
}

TEST_F(DamagedGroupFile, AbsurdPairCount) {
  std::string bytes = kGood;
  const std::size_t abcCount = 16 + Record("ab", {{9, 9}}).size() + 4;
  bytes.replace(abcCount, 4, Le32(0x40000000u));
  Damage(bytes);
  EXPECT_EQ(FindAll("abc"), kOnlyGroup2);
}

TEST_F(DamagedGroupFile, TruncatedAnywhere) {
  for (std::size_t size = 0; size < kGood.size(); ++size) {
    Damage(kGood.substr(0, size));
    const Triples found = FindAll("abc");
    // Cut inside abc's pairs or earlier: nothing from group 1.
    const std::size_t abcEnd = 16 + Record("ab", {{9, 9}}).size() + Record("abc", {{1, 1}, {3, 3}}).size();
    if (size < abcEnd) {
      EXPECT_EQ(found, kOnlyGroup2) << size;
    }
  }
}

TEST_F(DamagedGroupFile, RandomBytes) {
  std::uint32_t seed = 12345;
  for (int round = 0; round < 200; ++round) {
    std::string bytes = kGood;
    for (int flips = 0; flips < 4; ++flips) {
      seed = seed * 1103515245u + 12345u;
      bytes[(seed >> 8) % bytes.size()] = static_cast<char>(seed >> 24);
    }
    Damage(bytes);
    const Triples found = FindAll("abc");  // must simply not crash or over-read
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.back(), kOnlyGroup2.back());
  }
}

// wfind on group files opened by the caller.
class Wfind : public ::testing::Test {
 protected:
  std::FILE* Open(const std::string& bytes) {
    WriteWholeFile(path_, bytes);
    file_ = std::fopen(path_.c_str(), "rb");
    return file_;
  }
  void TearDown() override {
    if (file_ != nullptr) std::fclose(file_);
  }
  TempFolder temp_;
  std::string path_ = temp_.File("g.sl");
  std::FILE* file_ = nullptr;
};

TEST_F(Wfind, ReturnsTheCountAndLeavesTheFileAtTheFirstPair) {
  std::FILE* file = Open(GroupFileBytes({Record("ab", {{1, 2}}), Record("abc", {{10, 0}, {20, 1}, {30, 2}}),
                                         Record("b", {{5, 6}})}));
  EXPECT_EQ(wfind(file, reinterpret_cast<const unsigned char*>("\x03" "abc")), 3);
  unsigned char pair[8];
  ASSERT_EQ(std::fread(pair, 1, 8, file), 8u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(pair), 8), Le32(10) + Le32(0));
  for (const char* word : {"\x02" "ab", "\x01" "b"}) {
    std::rewind(file);
    EXPECT_EQ(wfind(file, reinterpret_cast<const unsigned char*>(word)), 1) << word + 1;
  }
  for (const char* word : {"\x01" "a", "\x04" "abcd", "\x01" "c", "\x02" "aa"}) {
    std::rewind(file);
    EXPECT_EQ(wfind(file, reinterpret_cast<const unsigned char*>(word)), 0) << word + 1;
  }
}

TEST_F(Wfind, StartsWhereTheFileStands) {
  std::FILE* file = Open("HEAD" + GroupFileBytes({Record("abc", {{1, 2}})}));
  std::fseek(file, 4, SEEK_SET);
  EXPECT_EQ(wfind(file, reinterpret_cast<const unsigned char*>("\x03" "abc")), 1);
}

TEST_F(Wfind, OnAnEmptyGroupReturnsZeroJustPastTheCount) {
  std::FILE* file = Open(std::string(4, '\0') + "rest");
  EXPECT_EQ(wfind(file, reinterpret_cast<const unsigned char*>("\x03" "abc")), 0);
  EXPECT_EQ(std::ftell(file), 4);
}

}  // namespace

// Searching an index opened for search only: the mapped hint file, the
// process's cache of group files and when it must forget them, reading many
// group files at once, and searches restricted to the groups of other words
// (ACL_BeginFindAmong).

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "FileStamp.h"
#include "LexdexTestSupport.h"

namespace {

using namespace lexdex_test;
namespace fs = std::filesystem;
using Triples = std::vector<Triple>;

constexpr int kSearchOnly = ACL_OPEN_SEARCH_ONLY;
constexpr int kUpdate = ACL_OPEN_UPDATE;

Triples FindAllAmong(const std::string& word, const std::vector<std::string>& others) {
  std::vector<const char*> words;
  std::vector<int> lengths;
  for (const std::string& other : others) {
    words.push_back(other.data());
    lengths.push_back(static_cast<int>(other.size()));
  }
  tacl_find* find = ACL_BeginFindAmong(word.data(), static_cast<int>(word.size()), words.data(), lengths.data(),
                                       static_cast<int>(words.size()));
  Triples triples;
  Triple triple{};
  while (ACL_Find(find, triple.data()) == 0) triples.push_back(triple);
  ACL_EndFind(find);
  return triples;
}

// Waits until the file system clock has moved, so that a rewrite shows in
// the files' times even on coarse clocks.
void LetTheClockMove() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

class SearchOnly : public ::testing::Test {
 protected:
  IndexInFolder index_;
};

TEST_F(SearchOnly, FindsWhatTheWriteModesFind) {
  for (int group : {0, 7, 511, 512, 30000, 65535}) BuildGroup(group, {{"renda", group, 1}, {"renda", group, 2}});
  const Triples written = FindAll("renda");
  ASSERT_EQ(index_.Reopen(kSearchOnly), 0);
  EXPECT_EQ(FindAll("renda"), written);
  EXPECT_EQ(FindAll("renda"), written);  // again, from the cache
}

TEST_F(SearchOnly, ReadsManyGroupFilesAtOnceInGroupOrder) {
  Triples expected;
  for (int group = 1; group <= 700; ++group) {
    BuildGroup(group, {{"comum", group, 0}, {"outra", 0, 1}, {"comum", group, 2}});
    expected.push_back({group, group, 0});
    expected.push_back({group, group, 2});
  }
  ASSERT_EQ(index_.Reopen(kSearchOnly), 0);
  EXPECT_EQ(FindAll("comum"), expected);
}

TEST_F(SearchOnly, StopsAtTheEndOfAHintFileCutInsideABlock) {
  BuildGroup(1, {{"abc", 1, 1}});
  BuildGroup(600, {{"abc", 2, 2}});
  index_.Close();
  // Region 1 lost all but a part of its first block: it reads as zero bits.
  WriteWholeFile(index_.File("hint.il"), index_.HintBytes().substr(0, 1048576 + 1000));
  ASSERT_EQ(index_.Reopen(kSearchOnly), 0);
  EXPECT_EQ(FindAll("abc"), (Triples{{1, 1, 1}}));
}

TEST_F(SearchOnly, SeesGroupsRewrittenBySessionsOfThisProcess) {
  BuildGroup(3, {{"abc", 1, 1}});
  ASSERT_EQ(index_.Reopen(kSearchOnly), 0);
  EXPECT_EQ(FindAll("abc"), (Triples{{3, 1, 1}}));
  LetTheClockMove();
  ASSERT_EQ(index_.Reopen(kUpdate), 0);
  BuildGroup(3, {{"abc", 9, 9}});
  ASSERT_EQ(index_.Reopen(kSearchOnly), 0);
  EXPECT_EQ(FindAll("abc"), (Triples{{3, 9, 9}}));
}

TEST_F(SearchOnly, SeesAGroupRewrittenElsewhereOnceTheHintFileChanges) {
  BuildGroup(3, {{"abc", 1, 1}});
  ASSERT_EQ(index_.Reopen(kSearchOnly), 0);
  EXPECT_EQ(FindAll("abc"), (Triples{{3, 1, 1}}));
  // Another machine rewrites the group and closes its session, which leaves
  // the hint file changed; this process keeps the index open meanwhile.
  LetTheClockMove();
  WriteWholeFile(index_.File("grp00/03.sl"), GroupFileBytes({Record("abc", {{5, 5}})}));
  lexdex::TouchFile(index_.File("hint.il"));
  EXPECT_EQ(FindAll("abc"), (Triples{{3, 5, 5}}));
}

TEST_F(SearchOnly, AnUpdateThatOnlyEmptiesAGroupStillChangesTheHintFile) {
  BuildGroup(3, {{"abc", 1, 1}});
  ASSERT_EQ(index_.Reopen(kUpdate), 0);
  index_.Close();
  const auto before = lexdex::StampOf(index_.File("hint.il"));
  LetTheClockMove();
  ASSERT_EQ(index_.Reopen(kUpdate), 0);
  BuildGroup(3, {});  // no words: no hint bit is touched
  index_.Close();
  ASSERT_TRUE(before.has_value());
  EXPECT_NE(lexdex::StampOf(index_.File("hint.il")), before);
}

TEST_F(SearchOnly, ASessionWithoutChangesLeavesTheHintFileAlone) {
  BuildGroup(3, {{"abc", 1, 1}});
  index_.Close();
  const auto before = lexdex::StampOf(index_.File("hint.il"));
  LetTheClockMove();
  ASSERT_EQ(index_.Reopen(kSearchOnly), 0);
  FindAll("abc");
  index_.Close();
  EXPECT_EQ(lexdex::StampOf(index_.File("hint.il")), before);
}

class FindAmong : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    BuildGroup(1, {{"imposto", 1, 0}, {"renda", 9, 1}});
    BuildGroup(2, {{"renda", 2, 0}});
    BuildGroup(3, {{"renda", 3, 0}, {"imposto", 4, 1}, {"renda", 5, 2}});
    BuildGroup(600, {{"imposto", 6, 0}, {"sobre", 7, 1}, {"renda", 8, 2}});
    if (GetParam() != ACL_OPEN_CREATE) {
      ASSERT_EQ(index_.Reopen(GetParam()), ACL_OPEN_OK);
    }
  }
  IndexInFolder index_;
};

TEST_P(FindAmong, ReturnsTheWordsTriplesInGroupsHoldingTheOthersToo) {
  EXPECT_EQ(FindAllAmong("renda", {"imposto"}), (Triples{{1, 9, 1}, {3, 3, 0}, {3, 5, 2}, {600, 8, 2}}));
  EXPECT_EQ(FindAllAmong("renda", {"imposto", "sobre"}), (Triples{{600, 8, 2}}));
  EXPECT_EQ(FindAllAmong("imposto", {"renda", "sobre"}), (Triples{{600, 6, 0}}));
}

TEST_P(FindAmong, EachWordOfAPhraseGetsItsOwnTriplesWhateverWasSearchedFirst) {
  // In search-only mode the first search reads each group once for all the
  // words; the later ones are served from that reading.
  EXPECT_EQ(FindAllAmong("sobre", {"imposto", "renda"}), (Triples{{600, 7, 1}}));
  EXPECT_EQ(FindAllAmong("imposto", {"sobre", "renda"}), (Triples{{600, 6, 0}}));
  EXPECT_EQ(FindAllAmong("renda", {"imposto", "sobre"}), (Triples{{600, 8, 2}}));
  EXPECT_EQ(FindAllAmong("renda", {"renda"}), FindAll("renda"));
  EXPECT_EQ(FindAllAmong("imposto", {"renda"}), (Triples{{1, 1, 0}, {3, 4, 1}, {600, 6, 0}}));
}

TEST_P(FindAmong, WithNoOtherWordsIsThePlainSearch) {
  EXPECT_EQ(FindAllAmong("renda", {}), FindAll("renda"));
}

TEST_P(FindAmong, IgnoresOtherWordsOfInvalidLength) {
  const std::string tooLong(300, 'x');
  EXPECT_EQ(FindAllAmong("renda", {"", tooLong}), FindAll("renda"));
  tacl_find* find = ACL_BeginFindAmong("renda", 5, nullptr, nullptr, 3);
  Triple triple{};
  EXPECT_EQ(ACL_Find(find, triple.data()), 0);
  ACL_EndFind(find);
}

TEST_P(FindAmong, FindsNothingWhenAnotherWordIsAbsent) {
  EXPECT_EQ(FindAllAmong("renda", {"ausente"}), Triples{});
}

INSTANTIATE_TEST_SUITE_P(OpenModes, FindAmong, ::testing::Values(ACL_OPEN_CREATE, kUpdate, kSearchOnly));

}  // namespace

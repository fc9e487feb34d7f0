// Searches limited to some groups (ACL_LimitFind), in every open mode, and
// the hint rows a search-only session reads for them.

#include <gtest/gtest.h>

#include <cstdio>

#include "LexdexTestSupport.h"
#include "SessionHintRows.h"

namespace {

using namespace lexdex_test;
using Triples = std::vector<Triple>;

constexpr int kTitleGroup = 30000;

Triples FindLimited(const std::string& word, const std::vector<int>& groups,
                    const std::vector<std::string>& others = {}) {
  std::vector<const char*> words;
  std::vector<int> lengths;
  for (const std::string& other : others) {
    words.push_back(other.data());
    lengths.push_back(static_cast<int>(other.size()));
  }
  tacl_find* find = ACL_BeginFindAmong(word.data(), static_cast<int>(word.size()), words.data(), lengths.data(),
                                       static_cast<int>(words.size()));
  ACL_LimitFind(find, groups.data(), static_cast<int>(groups.size()));
  Triples triples;
  Triple triple{};
  while (ACL_Find(find, triple.data()) == 0) triples.push_back(triple);
  ACL_EndFind(find);
  return triples;
}

class LimitFind : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    for (int group : {3, 511, 512, 1300, kTitleGroup, 40000}) {
      BuildGroup(group, {{"abc", group, 0}, {"def", group, 1}});
    }
    BuildGroup(700, {{"abc", 700, 0}});
    if (GetParam() != ACL_OPEN_CREATE) {
      ASSERT_EQ(index_.Reopen(GetParam()), ACL_OPEN_OK);
    }
  }
  IndexInFolder index_;
};

TEST_P(LimitFind, ReturnsTheTriplesOfTheListedGroupsOnly) {
  EXPECT_EQ(FindLimited("abc", {kTitleGroup, 512, 1300, 700}),
            (Triples{{512, 512, 0}, {700, 700, 0}, {1300, 1300, 0}, {kTitleGroup, kTitleGroup, 0}}));
  EXPECT_EQ(FindLimited("abc", {kTitleGroup}), (Triples{{kTitleGroup, kTitleGroup, 0}}));
  EXPECT_EQ(FindLimited("abc", {3, 4, 5, 6, 511}), (Triples{{3, 3, 0}, {511, 511, 0}}));
  EXPECT_EQ(FindLimited("abc", {3, 511, 512, 700, 1300, kTitleGroup, 40000}), FindAll("abc"));
}

TEST_P(LimitFind, CombinesWithTheOtherWordsOfAPhrase) {
  EXPECT_EQ(FindLimited("abc", {700, 1300, kTitleGroup, 40000}, {"def"}),
            (Triples{{1300, 1300, 0}, {kTitleGroup, kTitleGroup, 0}, {40000, 40000, 0}}));
  EXPECT_EQ(FindLimited("def", {700, 1300}, {"abc"}), (Triples{{1300, 1300, 1}}));
}

TEST_P(LimitFind, LeavesOutInvalidGroupsAndRepetitions) {
  EXPECT_EQ(FindLimited("abc", {-100, 3, 3, 65536, 1 << 30, 40000}), (Triples{{3, 3, 0}, {40000, 40000, 0}}));
  EXPECT_EQ(FindLimited("abc", {}), Triples{});
  EXPECT_EQ(FindLimited("abc", {4, 510, 65535}), Triples{});
  for (const auto& [groups, count] : {std::pair<const int*, int>{nullptr, 5}, {&kTitleGroup, -1}, {&kTitleGroup, 0}}) {
    tacl_find* find = ACL_BeginFind("abc", 3);
    ACL_LimitFind(find, groups, count);  // no list at all: nothing is found
    Triple triple{};
    EXPECT_NE(ACL_Find(find, triple.data()), 0) << count;
    ACL_EndFind(find);
  }
}

TEST_P(LimitFind, ASecondLimitKeepsTheGroupsBothName) {
  tacl_find* find = ACL_BeginFind("abc", 3);
  const int first[] = {3, 511, 512};
  const int second[] = {511, 512, 40000};
  ACL_LimitFind(find, first, 3);
  ACL_LimitFind(find, second, 3);
  Triples triples;
  Triple triple{};
  while (ACL_Find(find, triple.data()) == 0) triples.push_back(triple);
  ACL_EndFind(find);
  EXPECT_EQ(triples, (Triples{{511, 511, 0}, {512, 512, 0}}));
}

TEST_P(LimitFind, IsIgnoredOnceTheSearchHasBeenStepped) {
  tacl_find* find = ACL_BeginFind("abc", 3);
  Triple triple{};
  ASSERT_EQ(ACL_Find(find, triple.data()), 0);
  EXPECT_EQ(triple, (Triple{3, 3, 0}));
  const int title = kTitleGroup;
  ACL_LimitFind(find, &title, 1);
  ASSERT_EQ(ACL_Find(find, triple.data()), 0);
  EXPECT_EQ(triple, (Triple{511, 511, 0}));
  ACL_EndFind(find);
  ACL_LimitFind(nullptr, &title, 1);  // harmless
}

TEST_P(LimitFind, ALimitedSearchIsNotAnsweredWithTheUnlimitedOnesTriples) {
  EXPECT_EQ(FindAll("abc").size(), 7u);
  EXPECT_EQ(FindLimited("abc", {kTitleGroup}).size(), 1u);
  EXPECT_EQ(FindLimited("abc", {3, kTitleGroup}).size(), 2u);
  EXPECT_EQ(FindAll("abc").size(), 7u);
}

INSTANTIATE_TEST_SUITE_P(OpenModes, LimitFind,
                         ::testing::Values(ACL_OPEN_CREATE, ACL_OPEN_UPDATE, ACL_OPEN_SEARCH_ONLY));

class HintRowsOfASession : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildGroup(1, {{"abc", 1, 1}});
    BuildGroup(600, {{"abc", 2, 2}, {"def", 3, 3}});
    index_.Close();
    hint_ = std::fopen(index_.File("hint.il").c_str(), "rb");
    ASSERT_NE(hint_, nullptr);
  }
  void TearDown() override {
    if (hint_ != nullptr) std::fclose(hint_);
  }
  std::vector<int> Groups(const std::vector<std::string>& words, std::uint64_t fileBytes,
                          const std::vector<int>* only = nullptr,
                          lexdex::FolderKind kind = lexdex::FolderKind::Local) {
    std::vector<std::uint32_t> hashes;
    for (const std::string& word : words) hashes.push_back(HashOf(word));
    rows_.Attach(hint_, fileBytes, kind);
    rows_.Load(hashes, only);
    return lexdex::GroupsWithAllHintBits(rows_, hashes, only);
  }

  IndexInFolder index_;
  std::FILE* hint_ = nullptr;
  lexdex::SessionHintRows rows_;
  const std::uint64_t kTwoRegions = 2 * 1048576;
};

TEST_F(HintRowsOfASession, GroupsWhoseBitsAreSetForEveryWord) {
  EXPECT_EQ(Groups({"abc"}, kTwoRegions), (std::vector<int>{1, 600}));
  EXPECT_EQ(Groups({"abc", "def"}, kTwoRegions), (std::vector<int>{600}));
  const std::vector<int> some = {2, 599, 600, 30000};
  EXPECT_EQ(Groups({"abc"}, kTwoRegions, &some), (std::vector<int>{600}));
  EXPECT_EQ(Groups({}, kTwoRegions), std::vector<int>{});
}

TEST_F(HintRowsOfASession, ANetworkFolderReadsTheRowsManyAtOnceToTheSameGroups) {
  const auto network = lexdex::FolderKind::Network;
  EXPECT_EQ(Groups({"abc"}, kTwoRegions, nullptr, network), (std::vector<int>{1, 600}));
  EXPECT_EQ(Groups({"abc", "def", "abc"}, kTwoRegions, nullptr, network), (std::vector<int>{600}));
  std::vector<std::string> words = {"abc"};  // and 300 words of no group: 602 rows read at once
  for (int i = 0; i < 300; ++i) words.push_back("ausente" + std::to_string(i));
  EXPECT_EQ(Groups(words, kTwoRegions, nullptr, network), std::vector<int>{});
  const std::vector<int> some = {1, 600};
  EXPECT_EQ(Groups({"abc"}, kTwoRegions, &some, network), some);
}

TEST_F(HintRowsOfASession, RowsPastTheEndOfTheFileHaveNoBits) {
  EXPECT_EQ(Groups({"abc"}, 1048576), (std::vector<int>{1}));
  EXPECT_EQ(Groups({"abc"}, 0), std::vector<int>{});
}

TEST_F(HintRowsOfASession, ARowThatCannotBeReadLeavesTheDecisionToTheGroupFiles) {
  std::fclose(hint_);
  hint_ = std::fopen(index_.File("hint.il").c_str(), "ab");  // opened for writing only: reads fail
  ASSERT_NE(hint_, nullptr);
  EXPECT_EQ(Groups({"abc"}, kTwoRegions).size(), 1024u);
}

}  // namespace

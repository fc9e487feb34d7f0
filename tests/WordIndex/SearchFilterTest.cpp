#include <map>
#include <string>

#include <gtest/gtest.h>

#include "LxDateTime.h"
#include "Prompts.h"
#include "SearchFilter.h"
#include "SearchQuery.h"
#include "WordIndexError.h"
#include "TOMOTree.h"
#include "TempFolder.h"
#include "WordIndexTestSupport.h"

namespace {

// Root 0; folders 1 (ticked in the filter) and 2 (not); 3 below 1 without
// an item of its own; documents 10 (below 3), 11 (below 1), 20 (below 2).
class SearchFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Add(0, -1);
    Add(1, 0);
    Add(2, 0);
    Add(3, 1);
    Add(10, 3, EncodeDate(2003, 6, 15) + EncodeTime(18, 30, 0));
    Add(11, 1, EncodeDate(2004, 1, 2));
    Add(20, 2);
    ticks = {{1, TTitleTick::Ticked}, {2, TTitleTick::Unticked}, {11, TTitleTick::Unticked}};
    filter.TitleTickOf = [this](std::int32_t id) {
      const auto found = ticks.find(id);
      return found == ticks.end() ? TTitleTick::NoItem : found->second;
    };
  }
  void Add(std::int32_t id, std::int32_t parent, TDateTime published = 0) {
    TTOMORecordH record;
    record.Id = id;
    record.ParentId = parent;
    record.Title = "Entrada " + std::to_string(id);
    record.DocumentNumber = id >= 10 ? id : 0;
    record.PublishedDate = published;
    tree.AddNode(record);
  }
  bool Keeps(std::int32_t id, bool withRange = true, bool titleMatch = false) const {
    TSearchResult result(id);
    if (withRange) result.AddRange(0, 5);
    result.SetTitleMatch(titleMatch);
    return filter.Keeps(result, tree);
  }

  TTOMOTree tree;
  std::map<std::int32_t, TTitleTick> ticks;
  TSearchFilter filter;
};

TEST_F(SearchFilterTest, DateWindowIncludesBothWholeDaysAndUndatedEntries) {
  filter.ByDate = true;
  filter.From = EncodeDate(2003, 1, 1);
  filter.To = EncodeDate(2003, 12, 31);
  EXPECT_TRUE(Keeps(10));   // 15/06/2003, whatever its time of day
  EXPECT_TRUE(Keeps(20));   // no publication date
  EXPECT_FALSE(Keeps(11));  // 02/01/2004

  filter.From = filter.To = EncodeDate(2003, 6, 15);
  EXPECT_TRUE(Keeps(10));
  filter.From = filter.To = EncodeDate(2004, 1, 2);
  EXPECT_TRUE(Keeps(11));
  EXPECT_FALSE(Keeps(10));
}

TEST_F(SearchFilterTest, TitleFilterAsksTheNearestNodeThatHasAnItem) {
  filter.ByTitles = true;
  EXPECT_TRUE(Keeps(10));   // 3 has no item; 1 is ticked
  EXPECT_FALSE(Keeps(11));  // its own item is not ticked, though 1 is
  EXPECT_FALSE(Keeps(20));  // 2 is not ticked
  ticks.erase(1);
  ticks.erase(2);
  ticks.erase(11);
  EXPECT_FALSE(Keeps(10));  // nothing up to the root has an item
  filter.TitleTickOf = nullptr;
  EXPECT_FALSE(Keeps(10));
}

TEST_F(SearchFilterTest, WhereTheWordsOccur) {
  filter.Where = TSearchWhere::Content;
  EXPECT_TRUE(Keeps(10, true, false));
  EXPECT_FALSE(Keeps(10, false, true));
  filter.Where = TSearchWhere::Titles;
  EXPECT_FALSE(Keeps(10, true, false));
  EXPECT_TRUE(Keeps(10, false, true));
  filter.Where = TSearchWhere::ContentAndTitles;
  EXPECT_TRUE(Keeps(10, true, false));
  EXPECT_TRUE(Keeps(10, false, true));
  EXPECT_FALSE(filter.Active());
}

TEST_F(SearchFilterTest, MissingEntriesAreDroppedAndAnInactiveFilterKeepsAll) {
  filter.Where = TSearchWhere::Titles;
  EXPECT_FALSE(Keeps(99, false, true));

  TSearchResultList results;
  results.FindOrAdd(10).AddRange(1, 2);
  results.FindOrAdd(99);
  results.FindOrAdd(20).SetTitleMatch(true);
  TSearchFilter none;
  ApplySearchFilter(results, tree, none);
  EXPECT_EQ(results.Count(), 3);
  filter.Where = TSearchWhere::Content;
  ApplySearchFilter(results, tree, filter);
  ASSERT_EQ(results.Count(), 1);
  EXPECT_EQ(results.Items(0).DocumentId(), 10);
}

TEST_F(SearchFilterTest, ParentsInACircleEndTheTitleWalk) {
  TTOMOTree damaged;
  TTOMORecordH record;
  record.Id = 0;
  record.ParentId = -1;
  damaged.AddNode(record);
  for (auto [id, parent] : {std::pair{5, 6}, std::pair{6, 5}}) {
    record.Id = id;
    record.ParentId = parent;
    damaged.AddNode(record);
  }
  int asked = 0;
  filter.ByTitles = true;
  filter.TitleTickOf = [&](std::int32_t) {
    ++asked;
    return TTitleTick::NoItem;
  };
  EXPECT_FALSE(filter.Keeps(TSearchResult(5), damaged));
  EXPECT_LE(asked, damaged.NodeCount());
}

class SearchQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildTestIndex(index, {{3, "imposto sobre a renda"}, {7, "imposto e renda e taxa"}, {9, "renda fixa"},
                           {5, "taxa anual"}});
  }
  std::string Run(const std::string& phrase, const std::string& more, TPhraseCombination combination) {
    return Describe(RunSearchQuery(index, {phrase, more, combination}));
  }

  TempFolder folder;
  TWordIndex index{folder.File("Extra")};
  TScriptedPrompts prompts;
  TScopedPrompts scopedPrompts{prompts};
};

TEST_F(SearchQueryTest, SecondPhraseJoinsWithEOrOu) {
  EXPECT_EQ(Run("imposto", "", TPhraseCombination::And), "3,0:7;7,0:7");
  EXPECT_EQ(Run("imposto", "taxa", TPhraseCombination::And), "7,0:7,18:4");
  EXPECT_EQ(Run("imposto", "taxa", TPhraseCombination::Or), "3,0:7;5,0:4;7,0:7,18:4");
  EXPECT_EQ(Run("ausente", "renda", TPhraseCombination::And), "");
  EXPECT_EQ(Run("renda fixa", "imposto", TPhraseCombination::Or), "3,0:7;7,0:7;9,0:10");
}

TEST_F(SearchQueryTest, IndexErrorsReachTheCaller) {
  index.DeleteIndex();
  EXPECT_THROW(Run("imposto", "taxa", TPhraseCombination::Or), EWordIndexError);
}

}  // namespace

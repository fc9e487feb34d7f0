#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ResultTree.h"
#include "SearchResultList.h"
#include "TOMOTree.h"

namespace {

class ResultTreeTest : public ::testing::Test {
 protected:
  void Add(std::int32_t id, std::int32_t parent, const std::string& title) {
    TTOMORecordH record;
    record.Id = id;
    record.ParentId = parent;
    record.Title = title;
    tree.AddNode(record);
  }
  // Titles in display order, "*" marking hits.
  std::vector<std::string> Shown() const {
    std::vector<std::string> shown;
    for (int item : items.DisplayOrder()) {
      const TResultItem& entry = items.Item(item);
      shown.push_back(std::string(static_cast<size_t>(entry.Depth), ' ') + entry.Node->Record().Title +
                      (entry.IsHit() ? "*" : ""));
    }
    return shown;
  }

  TTOMOTree tree;
  TSearchResultList results;
  TResultTree items;
};

TEST_F(ResultTreeTest, HitsHangUnderTheirFoldersInCaptionOrder) {
  Add(0, -1, "Raiz");
  Add(1, 0, "b pasta");
  Add(2, 0, "A pasta");
  Add(3, 1, "zeta");
  Add(4, 1, "Alfa");
  Add(5, 2, "documento");
  Add(6, 5, "anexo");  // below a document that is a hit itself
  Add(7, 2, "documento");
  for (std::int32_t id : {3, 4, 6, 5, 7}) results.FindOrAdd(id);
  items.Build(tree, results);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"A pasta", " documento*", "  anexo*", " documento*", "b pasta",
                                               " Alfa*", " zeta*"}));
  // Equal captions keep the order of their results.
  const TResultItem& first = items.Item(items.DisplayOrder()[1]);
  EXPECT_EQ(first.Node->Id(), 5);
  EXPECT_EQ(items.DisplayRowOf(items.ItemOf(tree.FindNode(4))), 5);
  EXPECT_EQ(items.ItemOf(tree.FindNode(0)), -1);
  EXPECT_EQ(items.HitCount(), 5);
}

TEST_F(ResultTreeTest, SteppingPassesFoldersAndTitleOnlyHits) {
  Add(0, -1, "Raiz");
  Add(1, 0, "pasta");
  Add(2, 1, "a texto");
  Add(3, 1, "b so no titulo");
  Add(4, 1, "c texto");
  results.FindOrAdd(2).AddRange(0, 5);
  results.FindOrAdd(3).SetTitleMatch(true);
  results.FindOrAdd(4).AddRange(9, 5);
  items.Build(tree, results);
  const int a = items.ItemOf(tree.FindNode(2));
  const int c = items.ItemOf(tree.FindNode(4));
  EXPECT_EQ(items.NextHitWithRanges(a, true), c);
  EXPECT_EQ(items.NextHitWithRanges(c, false), a);
  EXPECT_EQ(items.NextHitWithRanges(c, true), -1);
  EXPECT_EQ(items.NextHitWithRanges(a, false), -1);
  EXPECT_EQ(items.NextHitWithRanges(-1, true), a);  // from nowhere: the first
  EXPECT_EQ(items.HitCount(), 3);
}

TEST_F(ResultTreeTest, ResultsWithoutAPlaceInTheTreeGetNoItem) {
  Add(0, -1, "Raiz");
  Add(1, 0, "pasta");
  Add(2, 1, "texto");
  Add(8, 9, "em círculo");
  Add(9, 8, "em círculo também");
  for (std::int32_t id : {0, 2, 8, 77}) results.FindOrAdd(id);
  items.Build(tree, results);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"pasta", " texto*"}));
  items.Clear();
  EXPECT_EQ(items.Count(), 0);
  EXPECT_TRUE(items.DisplayOrder().empty());
}

}  // namespace

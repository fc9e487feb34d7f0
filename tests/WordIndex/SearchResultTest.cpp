#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "LxExcept.h"
#include "SearchResultList.h"
#include "SearchTextView.h"

namespace {

using TRanges = std::vector<TSearchRange>;

TSearchResult ResultWith(std::int32_t id, const TRanges& ranges) {
  TSearchResult result(id);
  for (const TSearchRange& range : ranges) result.AddRange(range.Start, range.Length);
  return result;
}

TRanges Merged(const TRanges& mine, const TRanges& other) {
  TSearchResult result = ResultWith(1, mine);
  result.MergeRanges(ResultWith(1, other));
  return result.AllRanges();
}

TEST(MergeRanges, JoinsOverlappingAndTouchingRanges) {
  EXPECT_EQ(Merged({{10, 5}}, {{12, 6}}), (TRanges{{10, 8}}));
  EXPECT_EQ(Merged({{10, 5}}, {{15, 2}}), (TRanges{{10, 7}}));
  EXPECT_EQ(Merged({{10, 5}}, {{30, 2}}), (TRanges{{10, 5}, {30, 2}}));
  EXPECT_EQ(Merged({{30, 2}}, {{10, 5}}), (TRanges{{10, 5}, {30, 2}}));
  EXPECT_EQ(Merged({{12, 6}}, {{10, 5}}), (TRanges{{10, 8}}));
}

TEST(MergeRanges, KeepsTheListAscendingAndOverlapFree) {
  EXPECT_EQ(Merged({{0, 2}, {10, 2}, {20, 2}, {40, 2}}, {{5, 1}, {11, 10}, {50, 1}}),
            (TRanges{{0, 2}, {5, 1}, {10, 12}, {40, 2}, {50, 1}}));
  EXPECT_EQ(Merged({}, {{7, 1}, {3, 1}}), (TRanges{{3, 1}, {7, 1}}));
  EXPECT_EQ(Merged({{5, 3}}, {{0, 100}}), (TRanges{{0, 100}}));
}

TEST(MergeRanges, RefusesResultsOfDifferentEntries) {
  TSearchResult mine(3);
  EXPECT_THROW(mine.MergeRanges(TSearchResult(4)), ELxAssertionFailed);
}

TSearchResultList ListOf(const std::vector<std::int32_t>& ids) {
  TSearchResultList list;
  for (std::int32_t id : ids) list.FindOrAdd(id).AddRange(id * 10, 1);
  return list;
}

std::vector<std::int32_t> Ids(const TSearchResultList& list) {
  std::vector<std::int32_t> ids;
  for (int i = 0; i < list.Count(); ++i) ids.push_back(list.Items(i).DocumentId());
  return ids;
}

TEST(SearchResultList, FindOrAddReturnsTheExistingResult) {
  TSearchResultList list;
  list.FindOrAdd(9).AddRange(1, 1);
  list.FindOrAdd(2);
  list.FindOrAdd(9).AddRange(5, 1);
  EXPECT_EQ(Ids(list), (std::vector<std::int32_t>{9, 2}));
  EXPECT_EQ(list.Items(0).Count(), 2);
}

TEST(SearchResultList, FindOrInsertKeepsDocumentIdOrder) {
  TSearchResultList list = ListOf({3, 7});
  list.FindOrInsert(5);
  list.FindOrInsert(1);
  list.FindOrInsert(9);
  list.FindOrInsert(7).SetTitleMatch(true);
  EXPECT_EQ(Ids(list), (std::vector<std::int32_t>{1, 3, 5, 7, 9}));
  EXPECT_TRUE(list.Items(3).TitleMatch());
}

TEST(SearchResultList, IntersectKeepsCommonEntriesWithBothRanges) {
  TSearchResultList mine = ListOf({3, 7});
  TSearchResultList other = ListOf({7, 9});
  other.FindOrAdd(7).AddRange(100, 4);
  mine.Items(1).SetTitleMatch(true);
  mine.IntersectWith(other);
  ASSERT_EQ(Ids(mine), (std::vector<std::int32_t>{7}));
  EXPECT_EQ(mine.Items(0).AllRanges(), (TRanges{{70, 1}, {100, 4}}));
  EXPECT_FALSE(mine.Items(0).TitleMatch());  // only one side matched the title
  EXPECT_EQ(Ids(other), (std::vector<std::int32_t>{7, 9}));
}

TEST(SearchResultList, IntersectWithEmptyListEmpties) {
  TSearchResultList mine = ListOf({1, 2, 3});
  mine.IntersectWith(TSearchResultList());
  EXPECT_EQ(mine.Count(), 0);
}

TEST(SearchResultList, UnionAddsEntriesInOrderAndMergesCommonOnes) {
  TSearchResultList mine = ListOf({3, 7});
  TSearchResultList other = ListOf({5, 7});
  other.FindOrAdd(7).AddRange(71, 3);
  other.FindOrAdd(7).SetTitleMatch(true);
  mine.UnionWith(other);
  EXPECT_EQ(Ids(mine), (std::vector<std::int32_t>{3, 5, 7}));
  EXPECT_EQ(mine.Items(2).AllRanges(), (TRanges{{70, 4}}));
  EXPECT_TRUE(mine.Items(2).TitleMatch());
  mine.UnionWith(ListOf({1, 9}));
  EXPECT_EQ(Ids(mine), (std::vector<std::int32_t>{1, 3, 5, 7, 9}));
}

TEST(SearchResultList, FilterKeepsWhatThePredicateAccepts) {
  TSearchResultList list = ListOf({1, 2, 3, 4, 5, 6});
  list.Filter([](const TSearchResult& result) { return result.DocumentId() % 2 == 0; });
  EXPECT_EQ(Ids(list), (std::vector<std::int32_t>{2, 4, 6}));
}

// A text view that records what was done to it.
class TRecordingView : public TSearchTextView {
 public:
  int SelectionStart() const override { return start_; }
  int SelectionLength() const override { return length_; }
  void Select(int start, int length) override {
    start_ = start;
    length_ = length;
  }
  void MarkSelectionAsHit() override { Log.push_back(std::to_string(start_) + ":" + std::to_string(length_)); }
  void SuspendRepaint() override { Log.push_back("suspend"); }
  void ResumeRepaint() override { Log.push_back("resume"); }

  std::vector<std::string> Log;

 private:
  int start_ = 0;
  int length_ = 0;
};

TEST(SearchResultView, HighlightMarksEveryRangeAndRestoresTheSelection) {
  TRecordingView view;
  view.Select(3, 2);
  ResultWith(1, {{10, 5}, {200, 5}}).Highlight(view);
  EXPECT_EQ(view.Log, (std::vector<std::string>{"suspend", "10:5", "200:5", "resume"}));
  EXPECT_EQ(view.SelectionStart(), 3);
  EXPECT_EQ(view.SelectionLength(), 2);
}

TEST(SearchResultView, SelectNextStepsForwardAndBackward) {
  const TSearchResult result = ResultWith(1, {{10, 5}, {200, 5}, {300, 2}});
  TRecordingView view;
  view.Select(0, 0);
  result.SelectNext(view, true);
  EXPECT_EQ(view.SelectionStart(), 10);
  result.SelectNext(view, true);
  EXPECT_EQ(view.SelectionStart(), 200);
  result.SelectNext(view, false);
  EXPECT_EQ(view.SelectionStart(), 10);
  result.SelectNext(view, false);  // nothing before the first range
  EXPECT_EQ(view.SelectionStart(), 10);
  view.Select(300, 2);
  result.SelectNext(view, true);  // caret on the last range: nothing after it
  EXPECT_EQ(view.SelectionStart(), 300);
  EXPECT_EQ(view.SelectionLength(), 2);
}

}  // namespace

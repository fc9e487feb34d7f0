// The result cache of search-only mode: what it keeps, what it evicts first,
// and when it forgets everything.

#include <gtest/gtest.h>

#include <chrono>

#include "SearchResultCache.h"

namespace {

using lexdex::FileStamp;
using lexdex::FoundTriple;
using lexdex::FoundTriples;
using lexdex::SearchResultCache;

// `count` triples; each costs sizeof(FoundTriple) = 12 bytes of the budget.
FoundTriples Triples(std::size_t count) {
  return std::make_shared<const std::vector<FoundTriple>>(count, FoundTriple{1, 2, 3});
}

constexpr std::uint64_t kBudget = 1000;
const FileStamp kStamp{1, 2, 3, 4, 5};
const lexdex::SessionClock::time_point kStart{};

class ResultCache : public ::testing::Test {
 protected:
  void SetUp() override { cache_.Validate("idx", kStamp, kStart); }
  SearchResultCache cache_{kBudget};
};

TEST_F(ResultCache, ReturnsWhatWasStored) {
  const FoundTriples stored = Triples(3);
  cache_.Store("\3abc", stored);
  EXPECT_EQ(cache_.Find("\3abc"), stored);
  EXPECT_EQ(cache_.Find("\3abd"), nullptr);
}

TEST_F(ResultCache, EvictsTheLeastRecentlyUsedFirst) {
  cache_.Store("a", Triples(30));  // 361 bytes with the key
  cache_.Store("b", Triples(30));
  ASSERT_NE(cache_.Find("a"), nullptr);  // now b is the oldest
  cache_.Store("c", Triples(30));        // 1083 > 1000: b goes
  EXPECT_NE(cache_.Find("a"), nullptr);
  EXPECT_EQ(cache_.Find("b"), nullptr);
  EXPECT_NE(cache_.Find("c"), nullptr);
}

TEST_F(ResultCache, NeverKeepsAResultLargerThanTheBudget) {
  cache_.Store("a", Triples(10));
  cache_.Store("huge", Triples(100));
  EXPECT_EQ(cache_.Find("huge"), nullptr);
  EXPECT_NE(cache_.Find("a"), nullptr);  // and evicts nothing for it
}

TEST_F(ResultCache, ForgetsEverythingWhenTheHintFileChanges) {
  cache_.Store("a", Triples(1));
  cache_.Validate("idx", kStamp, kStart);
  EXPECT_NE(cache_.Find("a"), nullptr);
  FileStamp later = kStamp;
  later.modifiedNs += 1;
  cache_.Validate("idx", later, kStart);
  EXPECT_EQ(cache_.Find("a"), nullptr);
}

TEST_F(ResultCache, ResultsReadBeforeTheStampSettledServeOnlyTheirSession) {
  cache_.BeginSession("idx", kStamp, kStart);
  cache_.Store("early", Triples(1));
  cache_.Validate("idx", kStamp, kStart + std::chrono::seconds(1));
  EXPECT_NE(cache_.Find("early"), nullptr);  // same session
  cache_.BeginSession("idx", kStamp, kStart + std::chrono::seconds(2));
  EXPECT_EQ(cache_.Find("early"), nullptr);
}

TEST_F(ResultCache, ResultsReadOnceTheStampSettledServeLaterSessions) {
  cache_.BeginSession("idx", kStamp, kStart + lexdex::kStampSettleTime);
  cache_.Store("settled", Triples(1));
  cache_.BeginSession("idx", kStamp, kStart + std::chrono::hours(5));
  EXPECT_NE(cache_.Find("settled"), nullptr);
}

TEST_F(ResultCache, AChangedStampMustSettleAgain) {
  FileStamp later = kStamp;
  later.size += 32768;
  const auto changedAt = kStart + std::chrono::minutes(10);
  cache_.BeginSession("idx", later, changedAt);
  cache_.Store("a", Triples(1));
  cache_.BeginSession("idx", later, changedAt + lexdex::kStampSettleTime - std::chrono::milliseconds(1));
  EXPECT_EQ(cache_.Find("a"), nullptr);
  cache_.Store("b", Triples(1));
  cache_.BeginSession("idx", later, changedAt + lexdex::kStampSettleTime);
  EXPECT_EQ(cache_.Find("b"), nullptr);  // read while unsettled
  cache_.Store("c", Triples(1));
  cache_.BeginSession("idx", later, changedAt + std::chrono::hours(1));
  EXPECT_NE(cache_.Find("c"), nullptr);
}

TEST_F(ResultCache, DroppingUnsettledResultsKeepsTheBudgetRight) {
  cache_.BeginSession("idx", kStamp, kStart);
  cache_.Store("a", Triples(40));  // 481 bytes
  cache_.BeginSession("idx", kStamp, kStart + lexdex::kStampSettleTime);
  cache_.Store("b", Triples(40));
  cache_.Store("c", Triples(40));  // fits only because "a" is gone
  EXPECT_NE(cache_.Find("b"), nullptr);
  EXPECT_NE(cache_.Find("c"), nullptr);
}

TEST_F(ResultCache, ForgetsEverythingForAnotherFolder) {
  cache_.Store("a", Triples(1));
  cache_.Validate("other", kStamp, kStart);
  EXPECT_EQ(cache_.Find("a"), nullptr);
}

}  // namespace

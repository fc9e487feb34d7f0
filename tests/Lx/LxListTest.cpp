#include "LxList.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

#include "LxExcept.h"
#include "LxMap.h"
#include "LxMemoryStream.h"

namespace {

std::int32_t IntAt(const TLxCustomList& list, std::int32_t index) {
  std::int32_t value;
  std::memcpy(&value, list.Items(index), sizeof value);
  return value;
}

void InsertInt(TLxCustomList& list, std::int32_t index, std::int32_t value) { list.Insert(index, &value); }

// Records which records left the list, in order; optionally raises for one.
class TRecordingList : public TLxCustomList {
 public:
  explicit TRecordingList(std::int32_t raiseFor = -1) : TLxCustomList(4), raiseFor_(raiseFor) {}
  ~TRecordingList() override { ClearForDestruction(); }
  std::vector<std::int32_t> released;

 protected:
  void ReleaseItem(void* item) override {
    std::int32_t value;
    std::memcpy(&value, item, sizeof value);
    released.push_back(value);
    if (value == raiseFor_) throw std::runtime_error("release failed");
  }

 private:
  std::int32_t raiseFor_;
};

std::string AssertionText(const std::function<void()>& call) {
  try {
    call();
  } catch (const ELxAssertionFailed& error) {
    EXPECT_EQ(error.UnitName(), "LxList");
    return error.Text();
  }
  ADD_FAILURE() << "no assertion failure";
  return {};
}

}  // namespace

TEST(LxList, NewListIsEmptyAndGrowsSixteenAtATime) {
  TLxCustomList list(4);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0);
  EXPECT_EQ(list.Data(), nullptr);
  InsertInt(list, 0, 1);
  EXPECT_EQ(list.Capacity(), 16);
  for (int i = 1; i < 16; ++i) InsertInt(list, list.Count(), i + 1);
  EXPECT_EQ(list.Capacity(), 16);
  InsertInt(list, list.Count(), 17);
  EXPECT_EQ(list.Capacity(), 32);
  for (int i = 0; i < 17; ++i) EXPECT_EQ(IntAt(list, i), i + 1);
}

TEST(LxList, NegativeOrHugeItemSizeIsAnAssertion) {
  EXPECT_EQ(AssertionText([] { TLxCustomList list(-1); }), "O tamanho do dado deve ser maior ou igual a zero");
  EXPECT_THROW(TLxCustomList(32768), ELxAssertionFailed);
  TLxCustomList zero(0);
  EXPECT_EQ(AssertionText([&] { zero.GetCompareFunction(); }), "O tamanho do dado deve ser maior que zero");
}

TEST(LxList, SetCapacityNeverDropsRecords) {
  TLxCustomList list(4);
  for (int i = 0; i < 5; ++i) InsertInt(list, i, i);
  list.SetCapacity(2);
  EXPECT_EQ(list.Capacity(), 5);
  const std::byte* block = list.Data();
  list.SetCapacity(5);
  EXPECT_EQ(list.Data(), block);  // same capacity: nothing happens
  list.SetCapacity(40);
  EXPECT_EQ(list.Capacity(), 40);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(IntAt(list, i), i);
}

TEST(LxList, InsertAtCountAppendsAndOutOfRangeFails) {
  TLxCustomList list(4);
  InsertInt(list, 0, 10);
  InsertInt(list, 1, 30);
  InsertInt(list, 1, 20);
  EXPECT_EQ(IntAt(list, 0), 10);
  EXPECT_EQ(IntAt(list, 1), 20);
  EXPECT_EQ(IntAt(list, 2), 30);
  EXPECT_EQ(AssertionText([&] { InsertInt(list, 4, 0); }), "O índice (4) está fora dos limites (0 a 3)");
  EXPECT_EQ(AssertionText([&] { InsertInt(list, -1, 0); }), "O índice (-1) está fora dos limites (0 a 3)");
  EXPECT_EQ(AssertionText([&] { list.Delete(3); }), "O índice (3) está fora dos limites (0 a 2)");
  EXPECT_EQ(list.Count(), 3);
}

TEST(LxList, AssertionMessageNamesTheUnit) {
  TLxCustomList list(4);
  try {
    list.Delete(0);
    FAIL();
  } catch (const ELxAssertionFailed& error) {
    EXPECT_STREQ(error.what(), "O índice (0) está fora dos limites (0 a -1) (LxList)");
  }
}

TEST(LxList, InsertingARecordOfTheSameListCopiesItFirst) {
  TLxCustomList list(4);
  for (int i = 0; i < 16; ++i) InsertInt(list, i, i + 100);
  list.Insert(0, list.Items(15));  // the block grows and moves meanwhile
  EXPECT_EQ(IntAt(list, 0), 115);
  EXPECT_EQ(IntAt(list, 16), 115);
}

TEST(LxList, DeleteMovesTheRestDown) {
  TLxCustomList list(4);
  for (int i = 0; i < 4; ++i) InsertInt(list, i, i);
  list.Delete(1);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(IntAt(list, 0), 0);
  EXPECT_EQ(IntAt(list, 1), 2);
  EXPECT_EQ(IntAt(list, 2), 3);
}

TEST(LxList, SetCountZeroFillsAndReleasesWhenShrinking) {
  TRecordingList list;
  list.SetCount(3);
  EXPECT_EQ(list.Capacity(), 3);  // raised to exactly n
  for (int i = 0; i < 3; ++i) EXPECT_EQ(IntAt(list, i), 0);
  for (int i = 0; i < 3; ++i) std::memcpy(list.Items(i), &i, 4);
  list.SetCount(1);
  EXPECT_THAT(list.released, ::testing::ElementsAre(1, 2));
  EXPECT_THROW(list.SetCount(-1), ELxAssertionFailed);
}

TEST(LxList, ShrinkingSwallowsReleaseErrorsAndReleasesTheRest) {
  TRecordingList list(/*raiseFor=*/1);
  for (int i = 0; i < 3; ++i) InsertInt(list, i, i);
  EXPECT_NO_THROW(list.SetCount(0));
  EXPECT_THAT(list.released, ::testing::ElementsAre(0, 1, 2));
  EXPECT_EQ(list.Count(), 0);
}

TEST(LxList, DeleteAllReleasesFromLastToFirstAndKeepsTheBlock) {
  TRecordingList list;
  for (int i = 0; i < 3; ++i) InsertInt(list, i, i);
  list.DeleteAll();
  EXPECT_THAT(list.released, ::testing::ElementsAre(2, 1, 0));
  EXPECT_EQ(list.Capacity(), 16);
  list.Clear();
  EXPECT_EQ(list.Capacity(), 0);
  EXPECT_EQ(list.Data(), nullptr);
}

TEST(LxList, DeleteRemovesTheRecordEvenWhenReleaseRaises) {
  TRecordingList list(/*raiseFor=*/5);
  InsertInt(list, 0, 5);
  InsertInt(list, 1, 6);
  EXPECT_THROW(list.Delete(0), std::runtime_error);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(IntAt(list, 0), 6);
}

TEST(LxList, DestructionSurvivesReleaseErrorsAndReleasesEveryRecord) {
  static int reported = 0;
  static std::vector<std::int32_t>* watched = nullptr;
  struct TWatchedList : TRecordingList {
    TWatchedList() : TRecordingList(/*raiseFor=*/1) {}
    ~TWatchedList() override {
      ClearForDestruction();
      *watched = released;
    }
  };
  std::vector<std::int32_t> seen;
  watched = &seen;
  SetListDestructionErrorHandler([](const std::exception&) { ++reported; });
  {
    TWatchedList list;
    for (int i = 0; i < 3; ++i) InsertInt(list, i, i);
  }
  SetListDestructionErrorHandler(nullptr);
  EXPECT_EQ(reported, 1);
  EXPECT_THAT(seen, ::testing::ElementsAre(2, 1, 0));
}

TEST(LxList, UnsortedFindIsLinearAndReportsCountWhenMissing) {
  TLxCustomList list(4);
  for (int v : {7, 3, 7}) InsertInt(list, list.Count(), v);
  std::int32_t index = -1;
  const std::int32_t seven = 7, four = 4;
  EXPECT_TRUE(list.Find(&seven, index));
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(list.Find(&four, index));
  EXPECT_EQ(index, 3);
}

TEST(LxList, BytewiseComparisonTakesBytesAsUnsigned) {
  const unsigned char a[2] = {0x01, 0xFF};
  const unsigned char b[2] = {0x01, 0x00};
  const TLxRecordComparer& compare = BytewiseComparer(2);
  EXPECT_EQ(compare.Compare(a, b), 0xFF);
  EXPECT_EQ(compare.Compare(b, a), -0xFF);
  EXPECT_EQ(compare.Compare(a, a), 0);
  EXPECT_EQ(&BytewiseComparer(2), &compare);  // shared per size
  EXPECT_NE(&BytewiseComparer(3), &compare);
  TLxCustomList list(2);
  EXPECT_EQ(&list.GetCompareFunction(), &compare);
}

TEST(LxList, StreamFormOfAnEmptyListIsFourZeroBytes) {
  TLxCustomList list(4);
  TLxMemoryStream stream;
  list.SaveToStream(stream);
  EXPECT_EQ(stream.Bytes(), std::string(4, '\0'));
  stream.SetPosition(0);
  TLxCustomList loaded(4);
  InsertInt(loaded, 0, 99);
  loaded.LoadFromStream(stream);
  EXPECT_EQ(loaded.Count(), 0);
}

TEST(LxList, StreamFormIsCountThenRecordsAsInMemory) {
  TLxCustomList list(4);
  InsertInt(list, 0, 0x04030201);
  InsertInt(list, 1, -1);
  TLxMemoryStream stream;
  list.SaveToStream(stream);
  EXPECT_EQ(stream.Bytes(), std::string("\x02\0\0\0\x01\x02\x03\x04\xFF\xFF\xFF\xFF", 12));
  stream.SetPosition(0);
  TLxCustomList loaded(4);
  loaded.LoadFromStream(stream);
  ASSERT_EQ(loaded.Count(), 2);
  EXPECT_EQ(IntAt(loaded, 0), 0x04030201);
  EXPECT_EQ(IntAt(loaded, 1), -1);
}

TEST(LxList, ShortStreamLeavesTheListEmptyAndRaisesTheReadError) {
  TLxMemoryStream stream(std::string("\x02\0\0\0\x01\x02\x03\x04", 8));  // count 2, one record
  TLxCustomList list(4);
  InsertInt(list, 0, 1);
  EXPECT_THROW(list.LoadFromStream(stream), ELxReadError);
  EXPECT_EQ(list.Count(), 0);
  TLxMemoryStream tooShortForCount(std::string("\x01\0", 2));
  EXPECT_THROW(list.LoadFromStream(tooShortForCount), ELxReadError);
  EXPECT_EQ(list.Count(), 0);
}

TEST(LxList, HostileCountsFailWithoutHugeAllocations) {
  TLxCustomList list(4);
  TLxMemoryStream negative(std::string("\xFF\xFF\xFF\xFF", 4));
  EXPECT_THROW(list.LoadFromStream(negative), ELxStreamError);
  TLxMemoryStream huge(std::string("\xFF\xFF\xFF\x1F", 4) + std::string(16, 'x'));  // 536 million records
  EXPECT_THROW(list.LoadFromStream(huge), ELxReadError);
  EXPECT_EQ(list.Count(), 0);
  TLxCustomList big(1000);
  TLxMemoryStream manyBig(std::string("\x00\x00\x10\x00", 4));  // 1 Mi records of 1000 bytes
  EXPECT_THROW(big.LoadFromStream(manyBig), ELxReadError);
  EXPECT_EQ(big.Count(), 0);
}

TEST(LxList, LoadingManyRecordsKeepsThemAll) {
  TLxCustomList list(4);
  const int n = 300000;  // more than one loading step
  for (int i = 0; i < n; ++i) InsertInt(list, i, i);
  TLxMemoryStream stream;
  list.SaveToStream(stream);
  stream.SetPosition(0);
  TLxCustomList loaded(4);
  loaded.LoadFromStream(stream);
  ASSERT_EQ(loaded.Count(), n);
  EXPECT_EQ(loaded.Capacity(), n);
  EXPECT_EQ(std::memcmp(loaded.Data(), list.Data(), static_cast<size_t>(n) * 4), 0);
}

// --- SortItems -------------------------------------------------------------

namespace {
std::int32_t CompareInts(void* a, void* b) {
  return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(a) - reinterpret_cast<std::intptr_t>(b));
}
}  // namespace

TEST(LxSortItems, SortsPointerSizedItems) {
  std::vector<void*> items;
  for (std::intptr_t v : {5, 3, 9, 1, 5, 0, -2, 8, 7, 7, 6}) items.push_back(reinterpret_cast<void*>(v));
  SortItems(items.data(), static_cast<std::int32_t>(items.size()), CompareInts);
  std::vector<std::intptr_t> values;
  for (void* p : items) values.push_back(reinterpret_cast<std::intptr_t>(p));
  EXPECT_THAT(values, ::testing::ElementsAre(-2, 0, 1, 3, 5, 5, 6, 7, 7, 8, 9));
}

TEST(LxSortItems, FewerThanTwoItemsDoNothing) {
  int calls = 0;
  int one = 1;
  SortItems(&one, 1, [&](int, int) { ++calls; return 0; });
  SortItems(&one, 0, [&](int, int) { ++calls; return 0; });
  EXPECT_EQ(calls, 0);
}

TEST(LxSortItems, ManyRandomArraysComeOutSorted) {
  std::uint32_t seed = 12345;
  for (int round = 0; round < 200; ++round) {
    std::vector<int> items(static_cast<size_t>(round * 7 % 300));
    for (int& v : items) {
      seed = seed * 1103515245u + 12345u;
      v = static_cast<int>((seed >> 16) % 50);
    }
    std::vector<int> expected = items;
    std::sort(expected.begin(), expected.end());
    SortItems(items.data(), static_cast<std::int32_t>(items.size()), [](int a, int b) { return a - b; });
    EXPECT_EQ(items, expected);
  }
}

TEST(LxSortItems, InconsistentComparisonStaysInBounds) {
  std::vector<int> items(100);
  for (int i = 0; i < 100; ++i) items[static_cast<size_t>(i)] = i;
  // Always "smaller" and always "greater": the scans must stop at the range ends.
  SortItems(items.data(), 100, [](int, int) { return -1; });
  SortItems(items.data(), 100, [](int, int) { return 1; });
  std::sort(items.begin(), items.end());
  for (int i = 0; i < 100; ++i) EXPECT_EQ(items[static_cast<size_t>(i)], i);
}

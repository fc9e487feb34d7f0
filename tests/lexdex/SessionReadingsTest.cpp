// What search-only sessions keep for later sessions of other words: the hint
// rows and the open group folders, only when read under a settled stamp of
// the hint file and only while the file stays as it was.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "Index.h"
#include "Search.h"
#include "TempFolder.h"

namespace {

using Triple = std::vector<int>;
constexpr auto kPastSettleTime = lexdex::kStampSettleTime + std::chrono::milliseconds(300);

class SessionReadings : public ::testing::Test {
 protected:
  void SetUp() override {
    Write(5, {{"renda", 100}, {"imposto", 10}});
    Write(300, {{"imposto", 20}});
  }

  // One update session: group `group` replaced by `words` (word, a; b = 1).
  void Write(int group, const std::vector<std::pair<std::string, int>>& words) {
    lexdex::Index writer;
    ASSERT_EQ(writer.Open(folder_, std::filesystem::exists(folder_) ? lexdex::kOpenUpdate : lexdex::kOpenCreate), 0);
    writer.DeleteGroup(group);
    writer.BeginGroup(group);
    for (const auto& [word, a] : words) {
      writer.AddElem(reinterpret_cast<const std::uint8_t*>(word.data()), static_cast<long long>(word.size()), a, 1);
    }
    ASSERT_TRUE(writer.EndGroup());
    writer.Close();
  }

  std::vector<Triple> Find(const std::string& word) {
    index_.RefreshForSearch();
    tacl_find record;
    lexdex::BeginSearch(record, reinterpret_cast<const std::uint8_t*>(word.data()), static_cast<long long>(word.size()));
    std::vector<Triple> found;
    int triple[3];
    while (lexdex::NextTriple(record, index_, triple)) found.push_back({triple[0], triple[1], triple[2]});
    return found;
  }

  void Reopen() {
    index_.Close();
    ASSERT_EQ(index_.Open(folder_, lexdex::kOpenNoWriteBack), 0);
  }

  TempFolder temp_;
  std::string folder_ = temp_.File("idx");
  lexdex::Index index_;
};

TEST_F(SessionReadings, OnlySettledReadingsServeLaterSessionsOfTheSameHintFile) {
  Reopen();
  EXPECT_EQ(Find("renda"), (std::vector<Triple>{{5, 100, 1}}));
  EXPECT_GT(index_.HintRowsHeld(), 0u);
  EXPECT_EQ(index_.GroupFoldersOpen(), 1u);
  // Read while the stamp was new: a rewrite within its tick could hide.
  Reopen();
  EXPECT_EQ(index_.HintRowsHeld(), 0u);
  EXPECT_EQ(index_.GroupFoldersOpen(), 0u);

  std::this_thread::sleep_for(kPastSettleTime);
  EXPECT_EQ(Find("imposto"), (std::vector<Triple>{{5, 10, 1}, {300, 20, 1}}));
  Reopen();
  const std::size_t rowsKept = index_.HintRowsHeld();
  EXPECT_GT(rowsKept, 0u);
  EXPECT_EQ(index_.GroupFoldersOpen(), 2u);
  // Another word of the same version: the folders serve it as they are.
  EXPECT_EQ(Find("renda"), (std::vector<Triple>{{5, 100, 1}}));
  EXPECT_GT(index_.HintRowsHeld(), rowsKept);
}

TEST_F(SessionReadings, ARewriteRemovingAndMakingAGroupFolderAgainIsSeen) {
  Reopen();
  std::this_thread::sleep_for(kPastSettleTime);
  EXPECT_EQ(Find("imposto"), (std::vector<Triple>{{5, 10, 1}, {300, 20, 1}}));
  index_.Close();
  // Group 300's folder holds no other group: it is removed and made again,
  // and a descriptor kept from before would show the removed one.
  Write(300, {{"renda", 7}});
  ASSERT_EQ(index_.Open(folder_, lexdex::kOpenNoWriteBack), 0);
  EXPECT_EQ(index_.GroupFoldersOpen(), 0u);
  EXPECT_EQ(Find("renda"), (std::vector<Triple>{{5, 100, 1}, {300, 7, 1}}));
}

}  // namespace

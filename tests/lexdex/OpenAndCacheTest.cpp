// Open modes, the hint file's growth by zero blocks, and the block cache's
// victim choice and write-back.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "BlockCache.h"
#include "LexdexTestSupport.h"

namespace {

using namespace lexdex_test;
namespace fs = std::filesystem;
constexpr std::size_t kBlock = 32768;

TEST(Open, UpdateOrSearchWithoutHintFileFails) {
  TempFolder temp;
  ACL_Init();
  EXPECT_EQ(ACL_Open(temp.File("none").c_str(), ACL_OPEN_UPDATE), ACL_OPEN_FAILED);
  EXPECT_EQ(ACL_Open(temp.File("none").c_str(), ACL_OPEN_SEARCH_ONLY), ACL_OPEN_FAILED);
  EXPECT_EQ(ACL_Open(temp.Path().string().c_str(), ACL_OPEN_UPDATE), ACL_OPEN_FAILED);  // folder without hint.il
}

TEST(Open, CreateMakesTheFolderAndAnEmptyHintFile) {
  IndexInFolder index;
  ASSERT_TRUE(index.IsOpen());
  EXPECT_TRUE(fs::is_directory(index.Folder()));
  EXPECT_EQ(fs::file_size(index.File("hint.il")), 0u);
  index.Close();
  EXPECT_EQ(fs::file_size(index.File("hint.il")), 0u);
}

TEST(Open, CreateTruncatesAnOldIndex) {
  IndexInFolder index;
  BuildGroup(0, {{"abc", 1, 2}});
  ASSERT_EQ(index.Reopen(ACL_OPEN_CREATE), ACL_OPEN_OK);
  index.Close();
  EXPECT_EQ(fs::file_size(index.File("hint.il")), 0u);
}

TEST(Open, CreateFailsWhenTheParentIsMissing) {
  TempFolder temp;
  EXPECT_EQ(ACL_Open(temp.File("a/b/c").c_str(), ACL_OPEN_CREATE), ACL_OPEN_FAILED);
}

TEST(HintFile, GrowsByZeroBlocksUpToTheTouchedOne) {
  IndexInFolder index;
  // Group 0, a hash whose row lies in block 5 (bytes 163,840 to 196,607).
  const std::string word = WordWithHash("w", [](std::uint32_t h) { return h * 64 / kBlock == 5; });
  ACL_BeginGroup(0);
  AddElem(word, 1, 1);
  EXPECT_EQ(fs::file_size(index.File("hint.il")), 6 * kBlock);
  const std::string zeros = index.HintBytes();
  EXPECT_EQ(std::count(zeros.begin(), zeros.end(), '\0'), static_cast<long>(6 * kBlock));
  index.Close();
  const std::string hint = index.HintBytes();
  ASSERT_EQ(hint.size(), 6 * kBlock);
  EXPECT_TRUE(HintBitInFile(hint, HashOf(word), 0));
  EXPECT_EQ(std::count(hint.begin(), hint.end(), '\0'), static_cast<long>(6 * kBlock - 1));
}

TEST(HintFile, SearchModeLeavesItByteForByteUnchanged) {
  IndexInFolder index;
  BuildGroup(7, {{"abc", 1, 2}, {"renda", 3, 4}});
  index.Close();
  const std::string before = index.HintBytes();
  ASSERT_EQ(index.Reopen(ACL_OPEN_SEARCH_ONLY), ACL_OPEN_OK);
  EXPECT_EQ(FindAll("abc").size(), 1u);
  EXPECT_TRUE(FindAll("nada").empty());
  ACL_BeginGroup(40000);  // bits in the cache only, and far past the end
  AddElem("imposto", 1, 1);
  AddElem("abc", 1, 1);
  index.Close();
  EXPECT_TRUE(index.HintBytes() == before);
}

TEST(HintFile, UpdateModeKeepsWhatCreateModeWrote) {
  IndexInFolder index;
  BuildGroup(3, {{"abc", 1, 2}});
  ASSERT_EQ(index.Reopen(ACL_OPEN_UPDATE), ACL_OPEN_OK);
  BuildGroup(600, {{"abc", 5, 6}});
  ASSERT_EQ(index.Reopen(ACL_OPEN_SEARCH_ONLY), ACL_OPEN_OK);
  EXPECT_EQ(FindAll("abc"), (std::vector<Triple>{{3, 1, 2}, {600, 5, 6}}));
}

// The cache over a hint file of 40 blocks, block b holding the byte b.
class BlockCacheOnFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string bytes;
    for (int block = 0; block < 40; ++block) bytes += std::string(kBlock, static_cast<char>(block));
    WriteWholeFile(path_, bytes);
    file_ = std::fopen(path_.c_str(), "r+b");
    ASSERT_NE(file_, nullptr);
  }
  void TearDown() override {
    if (file_ != nullptr) std::fclose(file_);
  }
  int OnDisk(int block) {
    std::fflush(file_);
    return static_cast<unsigned char>(ReadWholeFile(path_)[block * kBlock]);
  }

  TempFolder temp_;
  std::string path_ = temp_.File("hint.il");
  std::FILE* file_ = nullptr;
  lexdex::BlockCache cache_;
};

TEST_F(BlockCacheOnFile, ReadsBlocksAndEvictsTheLeastRecentlyUsedWritingItBack) {
  cache_.Attach(file_, 40, true);
  for (int block = 0; block < 32; ++block) {
    std::uint8_t* byte = cache_.Get(block * kBlock);
    EXPECT_EQ(*byte, block);
    *byte = static_cast<std::uint8_t>(100 + block);
  }
  cache_.Get(0);  // block 0 is used again: block 1 is now the oldest
  EXPECT_EQ(OnDisk(1), 1);
  EXPECT_EQ(*cache_.Get(32 * kBlock), 32);  // the 33rd block
  EXPECT_EQ(OnDisk(1), 101);                // evicted, written back first
  EXPECT_EQ(OnDisk(0), 0);                  // still cached, not written
  EXPECT_EQ(*cache_.Get(1 * kBlock), 101);  // read back from the file
  cache_.Detach();
  for (int block = 0; block < 32; ++block) EXPECT_EQ(OnDisk(block), 100 + block);
  EXPECT_EQ(OnDisk(33), 33);
}

TEST_F(BlockCacheOnFile, WithoutWriteBackNothingReachesTheFile) {
  cache_.Attach(file_, 40, false);
  for (int block = 0; block < 40; ++block) *cache_.Get(block * kBlock) = 0xEE;
  cache_.Detach();
  for (int block = 0; block < 40; ++block) EXPECT_EQ(OnDisk(block), block);
}

TEST_F(BlockCacheOnFile, AppendsZeroBlocksForOffsetsPastTheEnd) {
  cache_.Attach(file_, 40, true);
  EXPECT_EQ(*cache_.Get(43 * kBlock + 5), 0);
  EXPECT_EQ(cache_.BlockCount(), 44u);
  EXPECT_EQ(OnDisk(42), 0);  // flushes
  EXPECT_EQ(fs::file_size(path_), 44 * kBlock);
}

}  // namespace

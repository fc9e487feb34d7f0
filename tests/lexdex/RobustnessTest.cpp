// Input from outside the engine's limits: it is ignored or handled, never
// overflows a buffer or corrupts the index.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "LexdexTestSupport.h"

namespace {

using namespace lexdex_test;
namespace fs = std::filesystem;
using Triples = std::vector<Triple>;

TEST(Robustness, WorksInAFolderWithAVeryLongPath) {
  TempFolder temp;
  fs::path folder = temp.Path();
  for (int level = 0; level < 6; ++level) folder /= std::string(100, static_cast<char>('a' + level));
  fs::create_directories(folder.parent_path());
  ACL_Init();
  ASSERT_EQ(ACL_Open(folder.string().c_str(), ACL_OPEN_CREATE), ACL_OPEN_OK);
  BuildGroup(30000, {{"abc", 1, 2}});
  EXPECT_EQ(ACL_GroupExist(30000), 1);
  EXPECT_EQ(FindAll("abc"), (Triples{{30000, 1, 2}}));
  ACL_DeleteGroup(30000);
  EXPECT_EQ(ACL_GroupExist(30000), 0);
  ACL_Close();
  ACL_Remove(folder.string().c_str());
  EXPECT_FALSE(fs::exists(folder));
}

TEST(Robustness, GrowsTheArenaForAGroupOfTwoMillionElements) {
  IndexInFolder index;
  constexpr int kElements = 2'000'000;  // 48 MiB by the original arena's measure
  ACL_BeginGroup(1);
  char word[16];
  for (int i = 0; i < kElements; ++i) {
    const int length = std::snprintf(word, sizeof word, "w%07d", i % 500000);
    ACL_AddElem(word, length, i, -i);
  }
  ACL_EndGroup();
  EXPECT_EQ(FindAll("w0000007"), (Triples{{1, 7, -7}, {1, 500007, -500007}, {1, 1000007, -1000007},
                                          {1, 1500007, -1500007}}));
  EXPECT_EQ(FindAll("w0499999").size(), 4u);
  const std::string bytes = index.GroupBytes("grp00/01.sl");
  EXPECT_EQ(bytes.substr(0, 4), Le32(500000));
  // N, the offset table, then each word: 1 + 8 + 4 bytes and four pairs.
  EXPECT_EQ(bytes.size(), 4 + 500000 * (4 + 13 + 4 * 8u));
}

TEST(Robustness, IgnoresWordsOfLengthZeroOrOver255) {
  IndexInFolder index;
  const std::string huge(256, 'x');
  ACL_BeginGroup(1);
  ACL_AddElem("abc", 0, 1, 1);
  ACL_AddElem("abc", -3, 1, 1);
  ACL_AddElem(huge.data(), 256, 1, 1);
  ACL_AddElem(nullptr, 3, 1, 1);
  AddElem("ok", 2, 2);
  ACL_EndGroup();
  EXPECT_EQ(index.GroupBytes("grp00/01.sl"), GroupFileBytes({Record("ok", {{2, 2}})}));
  index.Close();
  const std::string hint = index.HintBytes();
  EXPECT_EQ(std::count(hint.begin(), hint.end(), '\0'), static_cast<long>(hint.size() - 1));
}

TEST(Robustness, IgnoresGroupsOutsideTheRange) {
  IndexInFolder index;
  for (int group : {-1, 65536, 1 << 30}) {
    BuildGroup(group, {{"abc", 1, 1}});
    EXPECT_EQ(ACL_GroupExist(group), 0);
    ACL_DeleteGroup(group);
  }
  AddElem("abc", 1, 1);  // the last BeginGroup was invalid: still nothing current
  ACL_EndGroup();
  EXPECT_TRUE(FindAll("abc").empty());
  index.Close();
  EXPECT_EQ(index.HintBytes(), "");
  EXPECT_EQ(std::distance(fs::directory_iterator(index.Folder()), fs::directory_iterator()), 1);
}

TEST(Robustness, IgnoresIndexingAndSearchingWithoutAnOpenIndex) {
  ACL_Init();
  BuildGroup(1, {{"abc", 1, 1}});
  EXPECT_EQ(ACL_GroupExist(1), 0);
  ACL_DeleteGroup(1);
  EXPECT_TRUE(FindAll("abc").empty());
}

TEST(Robustness, GivesUpAGroupWhoseFolderCannotBeCreated) {
  IndexInFolder index;
  WriteWholeFile(index.File("grp00"), "a file where the group folder should be");
  const auto start = std::chrono::steady_clock::now();
  BuildGroup(1, {{"abc", 1, 1}});
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(ACL_GroupExist(1), 0);
  BuildGroup(256, {{"abc", 2, 2}});  // other folders still work
  EXPECT_EQ(FindAll("abc"), (Triples{{256, 2, 2}}));
}

TEST(Robustness, SearchesAreEndedSafelyByClose) {
  IndexInFolder index;
  BuildGroup(1, {{"abc", 1, 1}, {"abc", 2, 2}});
  tacl_find* find = ACL_BeginFind("abc", 3);
  int triple[3];
  ASSERT_EQ(ACL_Find(find, triple), 0);
  index.Close();
  EXPECT_EQ(ACL_Find(find, triple), 1);
  ACL_EndFind(find);
  ACL_EndFind(find);  // twice: ignored
}

// A link to an endless device under a group file's name: every way of
// reading group files gives the group up instead of reading forever.
TEST(Robustness, GivesUpAGroupFileThatNeverEnds) {
  IndexInFolder index;
  BuildGroup(1, {{"abc", 1, 2}});
  BuildGroup(2, {{"abc", 3, 4}});
  index.Close();
  fs::remove(index.File("grp00/01.sl"));
  fs::create_symlink("/dev/zero", index.File("grp00/01.sl"));
  for (const int flags : {ACL_OPEN_SEARCH_ONLY, ACL_OPEN_UPDATE}) {
    ASSERT_EQ(index.Reopen(flags), ACL_OPEN_OK);
    EXPECT_EQ(FindAll("abc"), (Triples{{2, 3, 4}})) << "open flags " << flags;
  }
}

TEST(Remove, DeletesTheIndexFolderWithEverythingInIt) {
  TempFolder temp;
  const std::string folder = temp.File("idx");
  ACL_Init();
  ASSERT_EQ(ACL_Open(folder.c_str(), ACL_OPEN_CREATE), ACL_OPEN_OK);
  BuildGroup(0, {{"abc", 1, 1}});
  BuildGroup(30000, {{"abc", 1, 1}});
  ACL_Close();
  fs::create_directories(folder + "/extra/deeper");
  WriteWholeFile(folder + "/extra/deeper/x", "x");
  ACL_Remove(folder.c_str());
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_TRUE(fs::exists(temp.Path()));
}

TEST(Remove, RemovesLinksWithoutFollowingThem) {
  TempFolder temp;
  fs::create_directories(temp.File("keep"));
  WriteWholeFile(temp.File("keep/precious"), "p");
  fs::create_directories(temp.File("idx"));
  fs::create_directory_symlink(temp.File("keep"), temp.File("idx/link"));
  ACL_Remove(temp.File("idx").c_str());
  EXPECT_FALSE(fs::exists(temp.File("idx")));
  EXPECT_TRUE(fs::exists(temp.File("keep/precious")));
}

TEST(Remove, OfAMissingFolderDoesNothing) {
  TempFolder temp;
  ACL_Remove(temp.File("none").c_str());
  ACL_Remove("");
  ACL_Remove(nullptr);
  EXPECT_TRUE(fs::exists(temp.Path()));
}

}  // namespace

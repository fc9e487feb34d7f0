// The ways a search reads its group files (in order, through io_uring, many
// at once as on a network folder) find the same triples in the same order,
// whatever the files hold: large ones, missing ones, damaged ones, empty
// groups, missing group folders. And the helpers they rest on.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "FolderKind.h"
#include "GroupFileReading.h"
#include "GroupScan.h"
#include "LexdexTestSupport.h"
#include "ParallelWork.h"

#if defined(__linux__) && __has_include(<linux/seccomp.h>)
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#if defined(__NR_io_uring_setup)
#define LEXDEX_TEST_IO_URING_REFUSAL 1
#endif
#endif

namespace {

using namespace lexdex_test;
using lexdex::FoundTriple;
using lexdex::GroupReadMethod;
namespace fs = std::filesystem;

constexpr GroupReadMethod kMethods[] = {GroupReadMethod::InOrder, GroupReadMethod::Uring,
                                        GroupReadMethod::ManyInFlight};

std::string LengthPrefixed(const std::string& word) { return std::string(1, static_cast<char>(word.size())) + word; }

std::vector<std::vector<FoundTriple>> Find(GroupReadMethod method, const std::string& folder,
                                           const std::vector<int>& groups, const std::vector<std::string>& words) {
  std::vector<std::string> prefixed;
  for (const std::string& word : words) prefixed.push_back(LengthPrefixed(word));
  std::vector<lexdex::LengthPrefixedWord> pointers;
  for (const std::string& word : prefixed) pointers.push_back(reinterpret_cast<const std::uint8_t*>(word.data()));
  return lexdex::FindInGroupFilesBy(method, folder, groups, pointers);
}

class GroupReading : public ::testing::Test {
 protected:
  static constexpr int kGroups = 1100;
  static_assert(kGroups >= lexdex::kParallelScanMinFiles && kGroups >= lexdex::kUringMinFiles);

  // 1100 groups in five group folders (enough for the threads and rings of
  // large readings); the word "comum" twice in each, "rara"
  // in every hundredth, and one group far larger than a read buffer.
  void SetUp() override {
    for (int group = 1; group <= kGroups; ++group) {
      std::vector<Elem> elements = {{"comum", group, 0}, {"outra", 0, 1}, {"comum", group, 2}};
      if (group % 100 == 0) elements.push_back({"rara", -group, 3});
      if (group == 300) {
        for (int i = 0; i < 20000; ++i) elements.push_back({"enchimento" + std::to_string(i), i, i});
      }
      BuildGroup(group, elements);
      groups_.push_back(group);
    }
    BuildGroup(kGroups + 1, {});  // an empty group
    groups_.push_back(kGroups + 1);
    index_.Close();
  }

  IndexInFolder index_;
  std::vector<int> groups_;
};

TEST_F(GroupReading, EveryWayFindsTheTriplesInGroupOrder) {
  std::vector<FoundTriple> comum;
  std::vector<FoundTriple> rara;
  for (int group = 1; group <= kGroups; ++group) {
    comum.push_back({group, group, 0});
    comum.push_back({group, group, 2});
    if (group % 100 == 0) rara.push_back({group, -group, 3});
  }
  for (GroupReadMethod method : kMethods) {
    const auto found = Find(method, index_.Folder(), groups_, {"comum", "rara", "ausente"});
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0], comum) << static_cast<int>(method);
    EXPECT_EQ(found[1], rara) << static_cast<int>(method);
    EXPECT_TRUE(found[2].empty()) << static_cast<int>(method);
  }
}

TEST_F(GroupReading, AGroupFileLargerThanTheReadBuffersIsReadWhole) {
  ASSERT_GT(fs::file_size(index_.File("grp01/2c.sl")), 65536u);  // group 300
  for (GroupReadMethod method : kMethods) {
    const auto found = Find(method, index_.Folder(), {299, 300, 301}, {"enchimento19999", "comum"});
    EXPECT_EQ(found[0], (std::vector<FoundTriple>{{300, 19999, 19999}})) << static_cast<int>(method);
    EXPECT_EQ(found[1].size(), 6u);
  }
}

TEST_F(GroupReading, MissingDamagedAndEmptyFilesAndFoldersGiveNothing) {
  fs::remove(index_.File("grp00/05.sl"));                      // a stale hint bit
  WriteWholeFile(index_.File("grp00/06.sl"), "\xff\xff\xff\x7f garbage");  // absurd N
  WriteWholeFile(index_.File("grp00/07.sl"), GroupFileBytes({Record("comum", {{1, 2}})}).substr(0, 12));
  fs::remove_all(index_.File("grp02"));  // groups 512 to 767
  const std::vector<int> groups = {4, 5, 6, 7, 8, 512, 600, kGroups + 1};
  for (GroupReadMethod method : kMethods) {
    const auto found = Find(method, index_.Folder(), groups, {"comum"});
    EXPECT_EQ(found[0], (std::vector<FoundTriple>{{4, 4, 0}, {4, 4, 2}, {8, 8, 0}, {8, 8, 2}}))
        << static_cast<int>(method);
  }
}

TEST_F(GroupReading, NoGroupsNoWords) {
  for (GroupReadMethod method : kMethods) {
    EXPECT_EQ(Find(method, index_.Folder(), {}, {"comum"}), (std::vector<std::vector<FoundTriple>>{{}}));
    EXPECT_TRUE(Find(method, index_.Folder(), groups_, {}).empty());
  }
}

TEST_F(GroupReading, IoUringWhereTheKernelOffersItVisitsTheFilesInOrder) {
  std::vector<std::size_t> visited;
  std::size_t bytes = 0;
  lexdex::GroupFolders folders(index_.Folder());
  folders.OpenFoldersOf(groups_);
  const bool used = lexdex::ReadGroupFilesWithUring(folders, groups_, 250, 400,
                                                    [&](std::size_t item, const std::uint8_t*, std::size_t size) {
                                                      visited.push_back(item);
                                                      bytes += size;
                                                    });
  if (!used) GTEST_SKIP() << "io_uring is not available here; the plain reading serves";
  ASSERT_EQ(visited.size(), 150u);
  EXPECT_TRUE(std::is_sorted(visited.begin(), visited.end()));
  EXPECT_EQ(visited.front(), 250u);
  EXPECT_GT(bytes, fs::file_size(index_.File("grp01/2c.sl")));  // group 300, read whole
}

#if LEXDEX_TEST_IO_URING_REFUSAL

// Makes the kernel refuse io_uring to this process from now on, as container
// runtimes and hardened systems do (ENOSYS, as if the kernel had none).
bool RefuseIoUring() {
  sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_io_uring_setup, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOSYS),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
  return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program, 0, 0) == 0;
}

// Exit codes of the child below.
enum RefusalOutcome { kPlainReadingServed = 0, kFilterNotInstalled = 10, kRingStillUsed, kTriplesDiffer };

TEST_F(GroupReading, WhereTheKernelRefusesIoUringTheLocalReadingFindsTheSameTriples) {
  const std::vector<std::string> words = {"comum", "rara", "enchimento7"};
  const auto expected = Find(GroupReadMethod::InOrder, index_.Folder(), groups_, words);
  ASSERT_EQ(expected[0].size(), 2u * kGroups);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (!RefuseIoUring()) ::_exit(kFilterNotInstalled);
    lexdex::GroupFolders folders(index_.Folder());
    folders.OpenFoldersOf(groups_);
    if (lexdex::ReadGroupFilesWithUring(folders, groups_, 0, groups_.size(),
                                        [](std::size_t, const std::uint8_t*, std::size_t) {})) {
      ::_exit(kRingStillUsed);
    }
    std::vector<lexdex::LengthPrefixedWord> pointers;
    std::vector<std::string> prefixed;
    for (const std::string& word : words) prefixed.push_back(LengthPrefixed(word));
    for (const std::string& word : prefixed) pointers.push_back(reinterpret_cast<const std::uint8_t*>(word.data()));
    const auto found = lexdex::FindInGroupFiles(index_.Folder(), groups_, pointers, lexdex::FolderKind::Local);
    ::_exit(found == expected ? kPlainReadingServed : kTriplesDiffer);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kFilterNotInstalled) GTEST_SKIP() << "seccomp filters cannot be installed here";
  EXPECT_EQ(WEXITSTATUS(status), kPlainReadingServed);
}

#endif

TEST(ParallelWork, EachItemOnceAndEachThreadInAscendingOrder) {
  constexpr std::size_t kItems = 5000;
  constexpr unsigned kThreads = 16;
  std::vector<std::atomic<int>> visits(kItems);
  std::vector<std::vector<std::size_t>> seen(kThreads);
  std::atomic<bool> threadOutOfRange{false};
  lexdex::RunInParallel(kItems, kThreads, [&](unsigned thread, std::size_t item) {
    if (thread >= kThreads) {
      threadOutOfRange = true;
      return;
    }
    ++visits[item];
    seen[thread].push_back(item);
  });
  EXPECT_FALSE(threadOutOfRange);
  EXPECT_TRUE(std::all_of(visits.begin(), visits.end(), [](const std::atomic<int>& v) { return v == 1; }));
  for (const auto& items : seen) EXPECT_TRUE(std::is_sorted(items.begin(), items.end()));
}

TEST(ParallelWork, NeverMoreThreadsThanItems) {
  std::mutex guard;
  std::set<unsigned> threads;
  lexdex::RunInParallel(3, 64, [&](unsigned thread, std::size_t) {
    std::lock_guard<std::mutex> lock(guard);
    threads.insert(thread);
  });
  EXPECT_LE(threads.size(), 3u);
  EXPECT_LT(*threads.rbegin(), 3u);
  bool called = false;
  lexdex::RunInParallel(0, 8, [&](unsigned, std::size_t) { called = true; });
  EXPECT_FALSE(called);
}

TEST(ParallelWork, AFailingItemStopsTheRestAndReachesTheCaller) {
  constexpr std::size_t kFailingItem = 50;
  std::atomic<int> done{0};
  std::atomic<bool> thrown{false};
  // The items after the failing one wait until it has thrown and its thread
  // has had time to tell the others, so that a thread of the failing item
  // that is put off by a busy machine cannot let the rest run to the end.
  const auto waitForTheFailure = [&] {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!thrown && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  };
  constexpr unsigned kThreads = 8;
  std::vector<char> waited(kThreads, 0);  // each thread writes only its own
  EXPECT_THROW(lexdex::RunInParallel(100000, kThreads,
                                     [&](unsigned thread, std::size_t item) {
                                       if (item == kFailingItem) {
                                         thrown = true;
                                         throw std::bad_alloc();
                                       }
                                       if (item > kFailingItem && !waited[thread]) {
                                         waitForTheFailure();
                                         waited[thread] = 1;
                                       }
                                       ++done;
                                     }),
               std::bad_alloc);
  EXPECT_LT(done.load(), 99999);
}

TEST(FolderKind, LocalDiskFileSystemsAreLocalAndEverythingElseNetwork) {
  using lexdex::FolderKind;
  using lexdex::KindOfFileSystemType;
  EXPECT_EQ(KindOfFileSystemType(0xEF53), FolderKind::Local);       // ext4
  EXPECT_EQ(KindOfFileSystemType(0x01021994), FolderKind::Local);   // tmpfs
  EXPECT_EQ(KindOfFileSystemType(0x794C7630), FolderKind::Local);   // overlayfs
  EXPECT_EQ(KindOfFileSystemType(static_cast<std::int32_t>(0x9123683E)), FolderKind::Local);  // btrfs, sign-extended
  EXPECT_EQ(KindOfFileSystemType(0x6969), FolderKind::Network);     // nfs
  EXPECT_EQ(KindOfFileSystemType(0xFF534D42), FolderKind::Network); // cifs
  EXPECT_EQ(KindOfFileSystemType(0xFE534D42), FolderKind::Network); // smb2
  EXPECT_EQ(KindOfFileSystemType(0x65735546), FolderKind::Network); // fuse
  EXPECT_EQ(KindOfFileSystemType(0x12345678), FolderKind::Network); // unknown
  EXPECT_EQ(lexdex::KindOfFolder("/no/such/folder/anywhere"), FolderKind::Network);
}

}  // namespace

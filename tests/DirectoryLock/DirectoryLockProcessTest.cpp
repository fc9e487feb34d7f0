// The lock between real processes: each holder or checker below is a separate
// dirlock_helper process working on the same folder.

#include <gtest/gtest.h>

#include <csignal>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "LockFileTesting.h"
#include "LxFilUtl.h"
#include "TempFolder.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 30s;
constexpr int kKilledBySigkill = 128 + SIGKILL;

class DirectoryLockProcesses : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string directory = folder.Path().string();
  std::string lockFile = folder.File("lock.dat");

  std::unique_ptr<TChildProcess> Helper(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), DIRLOCK_HELPER_PATH);
    return std::make_unique<TChildProcess>(arguments);
  }
  std::unique_ptr<TChildProcess> Hold(const char* mode, int interval) {
    return Helper({"hold", directory, mode, std::to_string(interval)});
  }
  // One check by a process of its own; its answer line.
  std::string Probe(const char* mode, int interval = 5000) {
    return Helper({"probe", directory, mode, std::to_string(interval)})->ReadLine();
  }
  // Waits until a holder has rewritten the file since it was aged.
  bool RewrittenRecently() {
    const auto giveUp = std::chrono::steady_clock::now() + kPatience;
    while (SecondsSinceWritten(lockFile) > 2) {
      if (std::chrono::steady_clock::now() > giveUp) return false;
      std::this_thread::sleep_for(20ms);
    }
    return true;
  }
};

TEST_F(DirectoryLockProcesses, TwoSharedHoldersCoexistAndKeepOutAnExclusiveRequest) {
  auto first = Hold("shared", 300);
  ASSERT_EQ(first->ReadLine(), "granted");
  auto second = Hold("shared", 300);
  ASSERT_EQ(second->ReadLine(), "granted");
  EXPECT_EQ(Probe("exclusive"), "refused " + ComputerName());
  EXPECT_EQ(Probe("shared"), "granted");

  first->CloseInput();
  second->CloseInput();
  EXPECT_EQ(first->ReadLine(), "released");
  EXPECT_EQ(second->ReadLine(), "released");
  EXPECT_EQ(first->Wait(), 0);
  EXPECT_EQ(second->Wait(), 0);
}

TEST_F(DirectoryLockProcesses, AnExclusiveRequestIsRefusedWhileASharedHolderRefreshes) {
  auto holder = Hold("shared", 200);
  ASSERT_EQ(holder->ReadLine(), "granted");
  // Without its refreshes this record would now be long stale.
  AgeFile(lockFile, 60);
  ASSERT_TRUE(RewrittenRecently());
  EXPECT_EQ(Probe("exclusive"), "refused " + ComputerName());
  holder->CloseInput();
  EXPECT_EQ(holder->ReadLine(), "released");
}

TEST_F(DirectoryLockProcesses, AnExclusiveHolderKeepsEveryoneOutUntilItLetsGo) {
  auto holder = Hold("exclusive", 200);
  ASSERT_EQ(holder->ReadLine(), "granted");
  auto refused = Hold("shared", 200);
  EXPECT_EQ(refused->ReadLine(), "refused " + ComputerName());
  EXPECT_EQ(refused->Wait(), 2);
  holder->CloseInput();
  EXPECT_EQ(holder->ReadLine(), "released");
  EXPECT_EQ(LockFileLine(lockFile, 1), "NONE");
  EXPECT_EQ(Probe("exclusive"), "granted");
}

TEST_F(DirectoryLockProcesses, AKilledHolderIsTakenOverOnceItsIntervalPlusThreeSecondsHavePassed) {
  auto holder = Hold("exclusive", 1000);
  ASSERT_EQ(holder->ReadLine(), "granted");
  holder->Kill(SIGKILL);
  EXPECT_EQ(holder->Wait(), kKilledBySigkill);
  ASSERT_EQ(LockFileLine(lockFile, 1), "EXCLUSIVE");

  // 2 to 4 s on the file's clock: at most the interval plus 3 s.
  AgeFile(lockFile, 2);
  EXPECT_EQ(Probe("exclusive"), "refused " + ComputerName());
  // Counted down to -1000 or -3000; 4 to 6 s more is past the grace.
  AgeFile(lockFile, 4);
  EXPECT_EQ(Probe("exclusive"), "granted");
}

TEST_F(DirectoryLockProcesses, ADayOldFileIsStaleWhateverItsCountdownSays) {
  auto holder = Hold("exclusive", 2000000000);  // announces some 23 days
  ASSERT_EQ(holder->ReadLine(), "granted");
  holder->Kill(SIGKILL);
  holder->Wait();

  AgeFile(lockFile, 2);
  EXPECT_EQ(Probe("shared"), "refused " + ComputerName());
  AgeFile(lockFile, 24 * 60 * 60 + 4);
  EXPECT_EQ(Probe("shared"), "granted");
}

TEST_F(DirectoryLockProcesses, ExclusiveHoldsOfManyProcessesNeverOverlap) {
  constexpr int kProcesses = 4;
  constexpr int kHoldsEach = 25;
  std::vector<std::unique_ptr<TChildProcess>> workers;
  for (int i = 0; i < kProcesses; ++i) {
    workers.push_back(Helper({"stress", directory, std::to_string(kHoldsEach), folder.File(std::to_string(i))}));
  }
  std::vector<std::pair<long long, long long>> holds;
  for (int i = 0; i < kProcesses; ++i) {
    ASSERT_EQ(workers[static_cast<size_t>(i)]->Wait(), 0);
    std::ifstream in(folder.File(std::to_string(i)));
    for (long long start, end; in >> start >> end;) holds.emplace_back(start, end);
  }
  ASSERT_EQ(holds.size(), static_cast<size_t>(kProcesses * kHoldsEach));
  std::sort(holds.begin(), holds.end());
  for (size_t i = 1; i < holds.size(); ++i) {
    EXPECT_LT(holds[i - 1].second, holds[i].first) << "holds " << i - 1 << " and " << i << " overlap";
  }
}

}  // namespace

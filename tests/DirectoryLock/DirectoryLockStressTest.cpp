// The lock under stress between real processes: workers take it shared and
// exclusive at random, some are killed mid-run and replaced, and the first
// holder is frozen with SIGSTOP past the stale limit. No hold may begin while
// an exclusive one lasts, the frozen holder's folder may be taken over only
// once its lease has run out, and the folder is left free and clean.
//
// An exclusive hold can begin while a shared one lasts: the file records one
// holder, so shared holders overwrite each other's record, and when the one
// recorded last lets go it writes "NONE" while the others still hold the
// folder, until their next refresh. That is the lock file's protocol, which other machines share;
// the run counts such overlaps and prints them rather than fail on them.
//
// The default is a short run for every build; tests/DirectoryLock/long-stress.sh
// runs it with more processes and cycles through these variables:
//   PANDECTA_LOCK_STRESS_PROCESSES  workers at once (default 4)
//   PANDECTA_LOCK_STRESS_CYCLES     holds per worker (default 100)
//   PANDECTA_LOCK_STRESS_KILLS      workers killed and replaced (default 2)

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "LockFileTesting.h"
#include "LxDirectoryLock.h"
#include "TempFolder.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kIntervalMilliseconds = 500;
constexpr std::int64_t kNanosecondsPerMillisecond = 1000000;
// Last-write times have two-second resolution in the lock's protocol, so a
// lease can be judged over up to this much earlier than its exact end.
constexpr std::int64_t kFileTimeResolutionMilliseconds = 2000;
constexpr auto kFreezeBeyondTheLease = 2s;
constexpr auto kPoll = 20ms;
constexpr auto kGiveUpAfter = 20min;

int EnvironmentOr(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

std::int64_t ClockNanoseconds(clockid_t clock) {
  timespec now{};
  ::clock_gettime(clock, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The file's last write on the monotonic clock the workers log with.
std::int64_t LastWriteMonotonic(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return 0;
  const std::int64_t written = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return written - (ClockNanoseconds(CLOCK_REALTIME) - ClockNanoseconds(CLOCK_MONOTONIC));
}

bool IsStopped(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string field;
  // pid (comm) state ...; the program's name has no blanks here.
  stat >> field >> field >> field;
  return field == "T" || field == "t";
}

struct THold {
  char Mode;  // 'E' exclusive, 'S' shared, 'U' not confirmed at its end
  std::int64_t Start, End;
};

std::vector<THold> ReadHolds(const std::string& logFile) {
  std::vector<THold> holds;
  std::ifstream in(logFile);
  THold hold{};
  while (in >> hold.Mode >> hold.Start >> hold.End) holds.push_back(hold);
  return holds;
}

class DirectoryLockStress : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string directory = folder.File("pasta");
  std::string lockFile = folder.File("pasta/lock.dat");
  const int processes = EnvironmentOr("PANDECTA_LOCK_STRESS_PROCESSES", 4);
  const int cycles = EnvironmentOr("PANDECTA_LOCK_STRESS_CYCLES", 100);
  const int kills = EnvironmentOr("PANDECTA_LOCK_STRESS_KILLS", 2);

  std::unique_ptr<TChildProcess> Helper(std::vector<std::string> arguments, bool ownProcessGroup = false) {
    arguments.insert(arguments.begin(), DIRLOCK_HELPER_PATH);
    return std::make_unique<TChildProcess>(arguments, ownProcessGroup);
  }
  std::string LogOf(int worker) const { return folder.File("registro-" + std::to_string(worker)); }
  std::unique_ptr<TChildProcess> Worker(int worker, int holds) {
    return Helper({"cycles", directory, std::to_string(holds), std::to_string(kIntervalMilliseconds), LogOf(worker)});
  }
};

TEST_F(DirectoryLockStress, ExclusiveHoldsNeverOverlapWhileWorkersAreKilledAndAHolderFreezes) {
  fs::create_directories(directory);
  // The first holder takes the folder, then freezes: as a machine that hangs.
  auto frozen = Helper({"hold", directory, "exclusive", std::to_string(kIntervalMilliseconds)}, true);
  ASSERT_EQ(frozen->ReadLine(), "granted");
  std::this_thread::sleep_for(std::chrono::milliseconds(3 * kIntervalMilliseconds));  // a few refreshes
  frozen->Kill(SIGSTOP);
  while (!IsStopped(frozen->Id())) std::this_thread::sleep_for(1ms);
  const std::int64_t lastRefresh = LastWriteMonotonic(lockFile);
  const auto thawAt = std::chrono::steady_clock::now() +
                      std::chrono::milliseconds(kIntervalMilliseconds + kLockGraceMilliseconds) + kFreezeBeyondTheLease;

  std::vector<std::unique_ptr<TChildProcess>> workers;
  for (int worker = 0; worker < processes; ++worker) workers.push_back(Worker(worker, cycles));

  std::mt19937 random(static_cast<unsigned>(std::time(nullptr)));
  std::uniform_int_distribution<int> pickWorker(0, processes - 1);
  // Short enough that the short run, a few seconds of holds, sees its kills.
  std::uniform_int_distribution<int> killPause(100, 600);
  int killsLeft = kills, killed = 0;
  auto nextKill = thawAt + std::chrono::milliseconds(killPause(random));
  bool thawed = false;
  const auto giveUp = std::chrono::steady_clock::now() + kGiveUpAfter;
  for (;;) {
    const auto now = std::chrono::steady_clock::now();
    ASSERT_LT(now, giveUp) << "the workers did not finish";
    if (!thawed && now >= thawAt) {
      frozen->Kill(SIGCONT);
      frozen->CloseInput();
      EXPECT_EQ(frozen->ReadLine(), "released");
      EXPECT_EQ(frozen->Wait(), 0);
      thawed = true;
    }
    if (thawed && killsLeft > 0 && now >= nextKill) {
      const int victim = pickWorker(random);
      if (!workers[static_cast<size_t>(victim)]->HasEnded()) {
        workers[static_cast<size_t>(victim)]->Kill(SIGKILL);
        workers[static_cast<size_t>(victim)]->Wait();
        const int done = static_cast<int>(ReadHolds(LogOf(victim)).size());
        workers[static_cast<size_t>(victim)] = Worker(victim, std::max(1, cycles - done));
        --killsLeft;
        ++killed;
      }
      nextKill = now + std::chrono::milliseconds(killPause(random));
    }
    const bool allEnded = std::all_of(workers.begin(), workers.end(), [](auto& w) { return w->HasEnded(); });
    if (allEnded && thawed) break;
    std::this_thread::sleep_for(kPoll);
  }
  for (auto& worker : workers) EXPECT_EQ(worker->Wait(), 0);

  std::vector<THold> holds;
  int cyclesDone = 0;
  std::int64_t firstGrant = INT64_MAX;
  for (int worker = 0; worker < processes; ++worker) {
    const std::vector<THold> own = ReadHolds(LogOf(worker));
    cyclesDone += static_cast<int>(own.size());
    for (const THold& hold : own) {
      firstGrant = std::min(firstGrant, hold.Start);
      if (hold.Mode != 'U') holds.push_back(hold);
    }
  }
  EXPECT_GE(cyclesDone, processes * cycles - killed);
  // Only a busy file keeps a hold from being confirmed; most are.
  ASSERT_GE(holds.size(), static_cast<size_t>(cyclesDone / 2));
  std::sort(holds.begin(), holds.end(), [](const THold& a, const THold& b) { return a.Start < b.Start; });

  // Sweeping by start: no hold may begin before an earlier exclusive one
  // ended. An exclusive hold that begins while an earlier shared one lasts is
  // only counted (see the top of this file).
  std::int64_t lastEndOfAny = 0, lastEndOfExclusive = 0;
  int overlaps = 0, sharedOverlaps = 0, exclusive = 0;
  for (const THold& hold : holds) {
    if (hold.Start <= lastEndOfExclusive) {
      ++overlaps;
    } else if (hold.Mode == 'E' && hold.Start <= lastEndOfAny) {
      ++sharedOverlaps;
    }
    lastEndOfAny = std::max(lastEndOfAny, hold.End);
    if (hold.Mode == 'E') {
      lastEndOfExclusive = std::max(lastEndOfExclusive, hold.End);
      ++exclusive;
    }
  }
  EXPECT_EQ(overlaps, 0);

  // The frozen holder's lease: its interval plus the grace, measured in the
  // protocol's two-second steps.
  const std::int64_t takeoverMilliseconds = (firstGrant - lastRefresh) / kNanosecondsPerMillisecond;
  EXPECT_GE(takeoverMilliseconds, kIntervalMilliseconds + kLockGraceMilliseconds - kFileTimeResolutionMilliseconds);
  RecordProperty("cycles", cyclesDone);
  RecordProperty("exclusive_holds", exclusive);
  RecordProperty("takeover_ms", static_cast<int>(takeoverMilliseconds));
  std::printf(
      "%d ciclos, %zu posses confirmadas (%d exclusivas, %d sobrepostas a uma compartilhada), %d processos, %d mortos; "
      "tomada após %lld ms\n",
      cyclesDone, holds.size(), exclusive, sharedOverlaps, processes, killed,
      static_cast<long long>(takeoverMilliseconds));

  // Nothing left behind: the folder holds only lock.dat, free at once.
  EXPECT_EQ(LockFileLine(lockFile, 1), "NONE");
  std::vector<std::string> left;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory)) left.push_back(entry.path().filename());
  EXPECT_EQ(left, std::vector<std::string>{"lock.dat"});
  TLxDirectoryLock next(directory, kIntervalMilliseconds);
  EXPECT_TRUE(next.LockExclusive());
}

}  // namespace

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "LockFileTesting.h"
#include "LxDirectoryLock.h"
#include "LxDirectoryLockThread.h"
#include "TempFolder.h"

namespace {

using TLines = std::vector<std::string>;
using namespace std::chrono_literals;

constexpr std::int32_t kShortInterval = 100;
// Only a guard against a hung test: every wait below ends as soon as its
// condition holds.
constexpr auto kPatience = 30s;

// Polls `condition`, letting `between` run between polls, until it holds or
// patience runs out.
bool Eventually(const std::function<bool()>& condition, const std::function<void()>& between) {
  const auto giveUp = std::chrono::steady_clock::now() + kPatience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    between();
  }
  return true;
}

void Nap() { std::this_thread::sleep_for(10ms); }

class RefreshThreadTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string directory = folder.Path().string();
  std::string lockFile = folder.File("lock.dat");

  // Leaves this holder's record but with its countdown nearly spent, as a
  // moment before its next refresh.
  void SpendCountdown(const TLxDirectoryLock& lock) {
    WriteLockFile(lockFile, {lock.HolderIdentity(), "EXCLUSIVE", "1"});
  }
  bool Refreshed(const TLxDirectoryLock& lock) {
    return LockFileLines(lockFile) == TLines{lock.HolderIdentity(), "EXCLUSIVE", std::to_string(kShortInterval)};
  }
};

TEST_F(RefreshThreadTest, WithoutAnApplicationTheThreadRefreshesByItself) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  TLxDirectoryLock lock(directory, kShortInterval);
  ASSERT_TRUE(lock.LockExclusive());
  SpendCountdown(lock);
  EXPECT_TRUE(Eventually([&] { return Refreshed(lock); }, Nap));
}

TEST_F(RefreshThreadTest, WithAnApplicationRefreshesRunWhenItsThreadProcessesEvents) {
  int argc = 1;
  char name[] = "lock_tests";
  char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);

  TLxDirectoryLock lock(directory, kShortInterval);
  ASSERT_TRUE(lock.LockExclusive());
  SpendCountdown(lock);
  // Several intervals pass without the main thread looking at its events: the
  // refresh waits for it.
  std::this_thread::sleep_for(std::chrono::milliseconds(5 * kShortInterval));
  EXPECT_EQ(LockFileLine(lockFile, 2), "1");
  EXPECT_TRUE(Eventually([&] { return Refreshed(lock); }, [] {
    QCoreApplication::processEvents();
    Nap();
  }));
  lock.Unlock();
  EXPECT_EQ(LockFileLine(lockFile, 1), "NONE");
}

TEST_F(RefreshThreadTest, AHolderOvertakenElsewhereKeepsTryingWithoutWritingOverTheNewHolder) {
  TLxDirectoryLock lock(directory, kShortInterval);
  ASSERT_TRUE(lock.LockExclusive());
  const TLines newHolder{"SERVIDOR.1234.9568256", "EXCLUSIVE", "60000"};
  WriteLockFile(lockFile, newHolder);
  // The refused refreshes count the new holder's time down and rewrite the
  // file; wait for one of them.
  EXPECT_TRUE(Eventually([&] { return LockFileLine(lockFile, 2) != "60000"; }, Nap));
  EXPECT_EQ(LockFileLine(lockFile, 0), newHolder[0]);
  EXPECT_EQ(lock.Mode(), lmExclusive);
  lock.Unlock();
  EXPECT_EQ(LockFileLine(lockFile, 0), newHolder[0]);
  EXPECT_EQ(LockFileLine(lockFile, 1), "EXCLUSIVE");
}

// Counts the times lock.dat is closed after being written. Openings are
// watched too, only because the system merges identical events that follow
// each other unread.
class TRewriteCounter {
 public:
  explicit TRewriteCounter(const std::string& path) : watch_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    ::inotify_add_watch(watch_, path.c_str(), IN_OPEN | IN_CLOSE_WRITE);
  }
  ~TRewriteCounter() { ::close(watch_); }
  int Count() {
    alignas(inotify_event) char buffer[4096];
    for (ssize_t length; (length = ::read(watch_, buffer, sizeof buffer)) > 0;) {
      for (ssize_t at = 0; at < length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->mask & IN_CLOSE_WRITE) ++count_;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return count_;
  }

 private:
  int watch_;
  int count_ = 0;
};

TEST_F(RefreshThreadTest, RefusedRefreshesArePacedInsteadOfRepeatedAtOnce) {
  TLxDirectoryLock lock(directory, kShortInterval);
  ASSERT_TRUE(lock.LockExclusive());
  WriteLockFile(lockFile, {"SERVIDOR.1234.9568256", "EXCLUSIVE", "60000"});
  TRewriteCounter rewrites(lockFile);
  constexpr auto kWatched = 1000ms;
  std::this_thread::sleep_for(kWatched);
  const int refused = rewrites.Count();
  lock.Unlock();
  // A slow machine only makes fewer; without the pause there would be thousands.
  EXPECT_LE(refused, kWatched / std::chrono::milliseconds(TLxDirectoryLockThread::kRetryPauseMilliseconds) + 2);
}

TEST_F(RefreshThreadTest, ManyLocksComeAndGoWithoutWaitingForTheirThreads) {
  for (int i = 0; i < 50; ++i) {
    TLxDirectoryLock lock(directory, 60 * 60 * 1000);
    ASSERT_TRUE(i % 2 ? lock.LockShared() : lock.LockExclusive());
  }
  EXPECT_EQ(LockFileLine(lockFile, 1), "NONE");
}

}  // namespace

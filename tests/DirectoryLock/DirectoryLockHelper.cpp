// A process that takes part in the directory lock protocol, for the tests:
//
//   dirlock_helper hold DIR shared|exclusive INTERVAL
//     Runs an event loop so that the refresh thread hands its refreshes to the
//     main thread. Prints "granted" or "refused MACHINE"; when granted, keeps
//     the lock until its standard input closes, then unlocks and prints
//     "released".
//   dirlock_helper probe DIR shared|exclusive INTERVAL
//     One check: prints "granted" or "refused MACHINE" and ends at once,
//     without unlocking, so the file stays as that check left it.
//   dirlock_helper stress DIR COUNT OUTFILE
//     Takes and releases the exclusive lock COUNT times, writing to OUTFILE one
//     line "START END" (monotonic nanoseconds) per hold.
//   dirlock_helper cycles DIR COUNT INTERVAL LOGFILE
//     COUNT holds, each shared or exclusive at random, each appended to
//     LOGFILE at once as "E START END" or "S START END" (or "U ..." when the
//     lock could not be confirmed as still this process's at its end), so a
//     process killed at any moment leaves every hold it made on record.

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "LxDirectoryLock.h"

namespace {

constexpr int kUsageExitCode = 64;
constexpr int kRefusedExitCode = 2;
constexpr std::int32_t kStressInterval = 5000;
constexpr auto kStressHold = std::chrono::microseconds(500);
// Between refused attempts: long enough to let the holder's release through.
constexpr auto kStressMinimumPause = std::chrono::milliseconds(2);
constexpr int kBusyAttempts = 100;
constexpr auto kBusyPause = std::chrono::milliseconds(20);

TLxLockMode ModeOf(const std::string& text) { return text == "exclusive" ? lmExclusive : lmWriteDenied; }

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// A refusal without a machine name means another process was checking the
// file at that moment; a caller tries again, as the word index does.
bool LockAndSay(TLxDirectoryLock& lock, TLxLockMode mode) {
  bool granted = lock.Lock(mode);
  for (int attempt = 1; !granted && lock.OwnerMachine().empty() && attempt < kBusyAttempts; ++attempt) {
    std::this_thread::sleep_for(kBusyPause);
    granted = lock.Lock(mode);
  }
  Say(granted ? "granted" : "refused " + lock.OwnerMachine());
  return granted;
}

int Hold(int argc, char** argv, const std::string& folder, TLxLockMode mode, std::int32_t interval) {
  QCoreApplication application(argc, argv);
  TLxDirectoryLock lock(folder, interval);
  if (!LockAndSay(lock, mode)) return kRefusedExitCode;
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[64];
    if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) application.quit();
  });
  application.exec();
  lock.Unlock();
  Say("released");
  return 0;
}

[[noreturn]] void Probe(const std::string& folder, TLxLockMode mode, std::int32_t interval) {
  TLxDirectoryLock lock(folder, interval);
  const bool granted = LockAndSay(lock, mode);
  // Leaving without unlocking: the check is all this process does.
  std::_Exit(granted ? 0 : kRefusedExitCode);
}

std::int64_t MonotonicNanoseconds() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int Stress(const std::string& folder, int count, const std::string& outFile) {
  TLxDirectoryLock lock(folder, kStressInterval);
  std::vector<std::pair<std::int64_t, std::int64_t>> holds;
  unsigned seed = static_cast<unsigned>(::getpid());
  for (int i = 0; i < count; ++i) {
    while (!lock.LockExclusive()) {
      std::this_thread::sleep_for(kStressMinimumPause + std::chrono::microseconds(rand_r(&seed) % 10000));
    }
    const std::int64_t start = MonotonicNanoseconds();
    std::this_thread::sleep_for(kStressHold);
    const std::int64_t end = MonotonicNanoseconds();
    lock.Unlock();
    holds.emplace_back(start, end);
  }
  std::ofstream out(outFile);
  for (const auto& [start, end] : holds) out << start << ' ' << end << '\n';
  return out ? 0 : 1;
}

// One line per write(2) on a file opened for appending: lines of processes
// killed mid-run are whole or missing, never torn.
class THoldLog {
 public:
  explicit THoldLog(const std::string& path) : handle_(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644)) {}
  ~THoldLog() {
    if (handle_ >= 0) ::close(handle_);
  }
  bool Add(char mode, std::int64_t start, std::int64_t end) {
    const std::string line = std::string(1, mode) + ' ' + std::to_string(start) + ' ' + std::to_string(end) + '\n';
    return handle_ >= 0 && ::write(handle_, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  }

 private:
  int handle_;
};

int Cycles(const std::string& folder, int count, std::int32_t interval, const std::string& logFile) {
  TLxDirectoryLock lock(folder, interval);
  THoldLog log(logFile);
  unsigned seed = static_cast<unsigned>(::getpid()) * 2654435761U;
  for (int i = 0; i < count; ++i) {
    const TLxLockMode mode = rand_r(&seed) % 2 == 0 ? lmExclusive : lmWriteDenied;
    while (!lock.Lock(mode)) {
      std::this_thread::sleep_for(kStressMinimumPause + std::chrono::microseconds(rand_r(&seed) % 10000));
    }
    const std::int64_t start = MonotonicNanoseconds();
    std::this_thread::sleep_for(std::chrono::microseconds(rand_r(&seed) % 1000));
    const std::int64_t end = MonotonicNanoseconds();
    // A holder frozen past its interval may have lost the folder meanwhile:
    // whatever it did counts only if the lock is still its own now. A check
    // that meets the file busy cannot tell: that hold is logged "U".
    const char kind = !lock.Refresh() ? 'U' : mode == lmExclusive ? 'E' : 'S';
    if (!log.Add(kind, start, end)) return 1;
    lock.Unlock();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) return kUsageExitCode;
  const std::string command = argv[1];
  const std::string folder = argv[2];
  if (command == "hold") return Hold(argc, argv, folder, ModeOf(argv[3]), std::atoi(argv[4]));
  if (command == "probe") Probe(folder, ModeOf(argv[3]), std::atoi(argv[4]));
  if (command == "stress") return Stress(folder, std::atoi(argv[3]), argv[4]);
  if (command == "cycles" && argc == 6) return Cycles(folder, std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
  return kUsageExitCode;
}

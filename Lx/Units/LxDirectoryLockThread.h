#pragma once

// The thread that keeps a held directory lock alive. It only sleeps: every
// Interval milliseconds it hands the lock's refresh to the program's main
// thread and waits for it to finish, so that all lock-file work happens in one
// place. A refresh that is refused (another holder has the folder) or that
// cannot be run is asked for again after kRetryPauseMilliseconds, until it is
// granted or the lock lets go.
//
// Handing over: with a QCoreApplication, the refresh is queued on the
// application's thread (BlockingQueuedConnection) and runs when that thread
// next processes events. Without one (the command-line tool, which runs no
// event loop), the refresh runs on this thread itself; every lock operation
// holds DirectoryLockMutex(), so the lock's fields are still only touched by
// one thread at a time.
//
// The thread owns itself: the lock keeps a shared reference while it holds,
// and the running thread keeps another, so the object lives until both have
// let go. Once its lock reference is cleared it never touches the lock again.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

class TLxDirectoryLock;

// Guards the process-wide list of locks, every lock's fields and every
// thread's lock reference. Recursive so that lock operations may call each
// other.
std::recursive_mutex& DirectoryLockMutex();

class TLxDirectoryLockThread : public std::enable_shared_from_this<TLxDirectoryLockThread> {
 public:
  static constexpr int kRetryPauseMilliseconds = 200;

  // Starts refreshing `lock` every `interval` milliseconds.
  static std::shared_ptr<TLxDirectoryLockThread> Start(TLxDirectoryLock* lock, std::int32_t interval);

  // Called by the lock when it lets go, under DirectoryLockMutex(): the thread
  // forgets the lock and ends without waiting out its sleep.
  void ReleaseLock();

  std::int32_t Interval() const { return interval_; }
  // The result of the last refresh request.
  bool Done() const;

  TLxDirectoryLockThread(TLxDirectoryLock* lock, std::int32_t interval);

 private:
  void Execute();
  // Waits the given time; true when asked to terminate meanwhile.
  bool SleepOrTerminate(std::int32_t milliseconds);
  // Runs on the main thread (or under the mutex, without one).
  void RunRefreshRequest();

  const std::int32_t interval_;
  TLxDirectoryLock* lock_;  // guarded by DirectoryLockMutex()
  bool done_ = false;       // guarded by DirectoryLockMutex()

  mutable std::mutex wakeMutex_;
  std::condition_variable wake_;
  bool terminated_ = false;  // guarded by wakeMutex_
};

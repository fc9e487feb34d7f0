#include "LxDirectoryLockThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <chrono>
#include <exception>
#include <thread>

#include "LxDirectoryLock.h"

namespace {

// Runs `work` on the application's thread and waits for it; false when it
// could not be delivered.
template <typename Work>
bool RunOnMainThread(Work work) {
  QCoreApplication* application = QCoreApplication::instance();
  if (!application || QThread::currentThread() == application->thread()) {
    work();
    return true;
  }
  return QMetaObject::invokeMethod(application, work, Qt::BlockingQueuedConnection);
}

}  // namespace

std::recursive_mutex& DirectoryLockMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

std::shared_ptr<TLxDirectoryLockThread> TLxDirectoryLockThread::Start(TLxDirectoryLock* lock, std::int32_t interval) {
  auto thread = std::make_shared<TLxDirectoryLockThread>(lock, interval);
  std::thread([self = thread] { self->Execute(); }).detach();
  return thread;
}

TLxDirectoryLockThread::TLxDirectoryLockThread(TLxDirectoryLock* lock, std::int32_t interval)
    : interval_(interval), lock_(lock) {}

void TLxDirectoryLockThread::ReleaseLock() {
  {
    const std::lock_guard guard(DirectoryLockMutex());
    lock_ = nullptr;
  }
  {
    const std::lock_guard guard(wakeMutex_);
    terminated_ = true;
  }
  wake_.notify_all();
}

bool TLxDirectoryLockThread::Done() const {
  const std::lock_guard guard(DirectoryLockMutex());
  return done_;
}

void TLxDirectoryLockThread::Execute() {
  while (!SleepOrTerminate(interval_)) {
    bool done = false;
    while (!done) {
      bool delivered = false;
      try {
        delivered = RunOnMainThread([this] { RunRefreshRequest(); });
      } catch (const std::exception&) {
        delivered = false;
      }
      done = delivered && Done();
      // Asking again at once while another holder keeps the folder would
      // hammer the file server and the main thread: pause after a refusal
      // just as after a failed request.
      if (!done && SleepOrTerminate(kRetryPauseMilliseconds)) return;
    }
  }
}

bool TLxDirectoryLockThread::SleepOrTerminate(std::int32_t milliseconds) {
  std::unique_lock guard(wakeMutex_);
  return wake_.wait_for(guard, std::chrono::milliseconds(milliseconds), [this] { return terminated_; });
}

void TLxDirectoryLockThread::RunRefreshRequest() {
  const std::lock_guard guard(DirectoryLockMutex());
  if (!lock_) {
    done_ = true;  // the lock has let go: nothing left to keep alive
    return;
  }
  done_ = lock_->Mode() != lmNone && lock_->Refresh();
}

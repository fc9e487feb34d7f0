#pragma once

#include <memory>
#include <string>

class TLxDirectoryLock;
class TWordIndex;

// An open word index: the directory lock of the index folder (shared for
// searching, exclusive for writing) and the engine opened in the matching
// mode. At most one is open per process; TWordIndex opens them.
class TWordIndexLock {
 public:
  explicit TWordIndexLock(TWordIndex& owner);
  virtual ~TWordIndexLock();
  TWordIndexLock(const TWordIndexLock&) = delete;
  TWordIndexLock& operator=(const TWordIndexLock&) = delete;

  // True while the engine is open through this lock.
  bool Opened() const { return opened_; }

 protected:
  // Takes the directory lock and opens the engine folder `path`; false when
  // the engine cannot open it.
  virtual bool Open(const std::string& path) = 0;
  // Makes room for indexing `group`; false skips the group. Only write locks
  // index groups.
  virtual bool PrepareGroup(int group);
  // Ends whatever engine work a subclass still has open, before the engine
  // is closed.
  virtual void EndEngineWork() {}

  TWordIndex& Owner() { return *owner_; }
  TLxDirectoryLock& DirectoryLock() { return *directoryLock_; }

  enum class TLockMode { Shared, Exclusive };
  // One attempt at the directory lock, returning at once.
  bool TryLock(TLockMode mode);
  // The pause between two attempts.
  void PauseBeforeRetry();
  // Tries the lock until it is granted, pausing between tries; after every
  // fourth failure asks `questionFormat` (%s: the holder's machine) and gives
  // up with "Operação cancelada. Índice em uso." when the answer is No.
  void RetryUntilLocked(TLockMode mode, const char* questionFormat);
  // Closes the engine and lets the folder go; the object stays, unopened.
  void Release();

 private:
  friend class TWordIndex;

  // Takes the directory lock, opens the engine and registers with the owner;
  // raises EWordIndexError, leaving nothing held, when that fails.
  void Acquire();

  TWordIndex* owner_;
  std::unique_ptr<TLxDirectoryLock> directoryLock_;
  bool opened_ = false;
};

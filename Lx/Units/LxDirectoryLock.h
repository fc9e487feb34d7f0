#pragma once

// A lock on a folder that several processes, usually on several machines
// reaching one network share, use at once. No lock service is needed: the
// processes cooperate through the small file lock.dat in the folder (format in
// LxDirectoryLockFile.h) and through the last-write times that the file server
// records for it, so no machine's own clock matters.
//
// Shared ("WRITE DENIED") admits any number of shared holders; exclusive
// ("EXCLUSIVE") admits one holder and nobody else. A holder keeps its lock
// alive by rewriting the file every Interval milliseconds from a background
// thread (LxDirectoryLockThread.h); a holder that stops (crashed, disconnected)
// loses the lock once its interval plus 3 s have passed on the file's clock,
// or once the file is a day old.
//
//   TLxDirectoryLock lock("/srv/pandecta/Extra", 5000);
//   if (!lock.LockExclusive())
//     Inform("Em uso por " + lock.OwnerMachine());
//   ...
//   lock.Unlock();   // also done by the destructor
//
// Every live lock of the process is on one list; when the program ends, the
// locks still on it are released, last first.

#include <cstdint>
#include <memory>
#include <string>

#include "LxDirectoryLockFile.h"

class TLxDirectoryLockThread;

class TLxDirectoryLock {
 public:
  // Takes no lock and touches no file.
  TLxDirectoryLock(std::string directory, std::int32_t interval);
  // Leaves the process-wide list, then unlocks.
  ~TLxDirectoryLock();
  TLxDirectoryLock(const TLxDirectoryLock&) = delete;
  TLxDirectoryLock& operator=(const TLxDirectoryLock&) = delete;

  // Takes the lock in `mode`; true when granted, and then a thread keeps it
  // alive. When refused the mode stays requested until Unlock and no thread
  // runs: read OwnerMachine to say who holds the folder and try again later.
  // Raises ELxException when the folder does not exist:
  //   Não foi possível bloquear o uso do diretório. O caminho "/x" não existe
  // Locking an object that already holds releases that hold first.
  bool Lock(TLxLockMode mode);
  bool LockShared() { return Lock(lmWriteDenied); }
  bool LockExclusive() { return Lock(lmExclusive); }
  // Lets go: stops the refresh thread without waiting for it and records
  // "NONE" in the file if this object is still its recorded writer (trying
  // again briefly while another process is checking the file). Nothing when
  // not locked.
  void Unlock();

  // The one check-and-write step on lock.dat, used to acquire, to keep alive
  // and to release; true when the lock is granted for the current Mode. Never
  // raises: a file that cannot be opened, read or written is not granted.
  bool Refresh();

  // The machine of whoever last wrote the file, as seen at the last check;
  // "" until a check has read a file of three lines.
  std::string OwnerMachine() const;
  const std::string& Directory() const { return directory_; }
  std::int32_t Interval() const { return interval_; }
  TLxLockMode Mode() const;
  std::uint32_t ProcessId() const { return processId_; }
  // "machine.process.object", telling this object apart from every other
  // holder, in this process or elsewhere.
  std::string HolderIdentity() const;

 private:
  enum class TRefreshOutcome { Granted, Refused, FileBusy };
  TRefreshOutcome RefreshOnce();
  void StopThread();

  const std::string directory_;
  const std::int32_t interval_;
  TLxLockMode mode_ = lmNone;
  std::shared_ptr<TLxDirectoryLockThread> thread_;
  const std::uint32_t processId_;
  // Random per object: tells it apart from every other holder, here or on a
  // machine with the same name and process id.
  const std::int32_t objectNumber_;
  std::string ownerMachine_;
};

// Releases every live lock, last first, as at the end of the program.
void ReleaseAllDirectoryLocks();

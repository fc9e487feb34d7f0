#include "LxDirectoryLock.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>
#include <limits>
#include <mutex>
#include <random>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "LxDirectoryLockThread.h"
#include "LxExcept.h"
#include "LxFilUtl.h"
#include "LxFileOperations.h"

namespace {

// lock.dat opened so that no other process can check the lock meanwhile: an
// exclusive flock taken without waiting. Another checker that fails to get it
// fails to open, exactly as with a file opened with sharing denied.
class TLockFileHandle {
 public:
  TLockFileHandle() = default;
  ~TLockFileHandle() { Close(); }
  TLockFileHandle(const TLockFileHandle&) = delete;
  TLockFileHandle& operator=(const TLockFileHandle&) = delete;

  // Creates the file if missing. A symbolic link or anything but a plain file
  // is refused: the folder is shared, and rewriting whatever a link points to
  // would destroy another file.
  bool Open(const std::string& path) {
    busy_ = false;
    fd_ = FileOperations().OpenForWriting(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK,
                                         kCreateMode);
    if (fd_ < 0) return false;
    struct stat status {};
    if (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) {
      Close();
      return false;
    }
    // Unknown until read: the cut in Rewrite is then always made.
    fileSize_ = std::numeric_limits<off_t>::max();
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      busy_ = errno == EWOULDBLOCK;
      Close();
      return false;
    }
    return true;
  }

  // Whether the last Open failed only because another process was checking.
  bool Busy() const { return busy_; }

  // The whole file, or nothing when it is larger than any lock file: a damaged
  // file is not read into memory. A read that does not fill the buffer ends
  // the file, so a lock file of a few lines costs one call (one round trip on
  // a network folder).
  bool ReadAll(std::string& bytes) {
    bytes.clear();
    char buffer[4096];
    for (;;) {
      const ssize_t count = ::pread(fd_, buffer, sizeof buffer, static_cast<off_t>(bytes.size()));
      if (count < 0) return false;
      bytes.append(buffer, static_cast<size_t>(count));
      fileSize_ = static_cast<off_t>(bytes.size());
      if (static_cast<size_t>(count) < sizeof buffer || bytes.size() > kMaxLockFileBytes) return true;
    }
  }

  // The write reaches the file server and so stamps the file with the
  // server's current time.
  bool AppendAndFlush(char byte) {
    const off_t end = ::lseek(fd_, 0, SEEK_END);
    if (end < 0 || FileOperations().WriteAt(fd_, &byte, 1, end) != 1 || FileOperations().Sync(fd_) != 0) {
      return false;
    }
    fileSize_ = std::max(fileSize_, end + 1);
    return true;
  }

  // The new record over the old one, then the file cut to its length: a
  // writer that dies in between leaves the new record followed by a tail of
  // the old, which readers ignore after the third line. Cutting first would
  // leave an empty file, and a held folder would look free to everyone.
  // Every checker holds the file's flock while it writes, so the size read
  // is the size now: a file no longer than the new record needs no cut.
  bool Rewrite(const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t count =
          FileOperations().WriteAt(fd_, bytes.data() + written, bytes.size() - written, static_cast<off_t>(written));
      if (count <= 0) return false;
      written += static_cast<size_t>(count);
    }
    if (fileSize_ <= static_cast<off_t>(bytes.size())) return true;
    return FileOperations().Truncate(fd_, static_cast<off_t>(bytes.size())) == 0;
  }

  // A network file system may report a failed write only when closing.
  bool Close() {
    if (fd_ < 0) return true;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed;
  }

 private:
  // Every machine's user writes the shared file; the umask narrows it as the site wants.
  static constexpr mode_t kCreateMode = 0666;
  int fd_ = -1;
  bool busy_ = false;
  off_t fileSize_ = 0;  // as read and appended to under the flock
};

// Another process checking the lock holds the file for a moment only; a
// release that met it tries again rather than leave the folder looking held
// for a whole interval.
constexpr int kReleaseAttempts = 10;
constexpr auto kReleaseRetryPause = std::chrono::milliseconds(20);

// The number that tells lock objects apart. Cloned machines and containers
// share names (cut to 15 characters) and process ids (1 in a container), so a
// counter would give two holders the same identity and each would take the
// other's lock for its own; a random number, like the address it stands for,
// does not repeat. Positive, so that the text stays as every writer made it.
std::int32_t NewObjectNumber() {
  static std::mutex mutex;
  static std::mt19937 generator{std::random_device{}()};
  const std::lock_guard guard(mutex);
  return std::uniform_int_distribution<std::int32_t>(1, std::numeric_limits<std::int32_t>::max())(generator);
}

// The live locks, oldest first. Created with the first lock and freed with the
// last, and held by a plain pointer: locks owned by other program-wide objects
// may be destroyed after this file's static objects are gone.
std::vector<TLxDirectoryLock*>* liveLocks = nullptr;

void JoinLiveLocks(TLxDirectoryLock* lock) {
  if (!liveLocks) liveLocks = std::make_unique<std::vector<TLxDirectoryLock*>>().release();
  liveLocks->push_back(lock);
}

void LeaveLiveLocks(TLxDirectoryLock* lock) {
  if (!liveLocks) return;
  std::erase(*liveLocks, lock);
  if (liveLocks->empty()) {
    std::unique_ptr<std::vector<TLxDirectoryLock*>> freed(liveLocks);
    liveLocks = nullptr;
  }
}

// Releases the locks still held when the program ends. Unlocking rather than
// destroying: each lock belongs to whoever created it.
struct TReleaseAtProgramEnd {
  // Constructing the mutex first makes it outlive this object.
  TReleaseAtProgramEnd() { DirectoryLockMutex(); }
  ~TReleaseAtProgramEnd() { ReleaseAllDirectoryLocks(); }
} releaseAtProgramEnd;

}  // namespace

TLxDirectoryLock::TLxDirectoryLock(std::string directory, std::int32_t interval)
    : directory_(std::move(directory)),
      interval_(interval),
      processId_(static_cast<std::uint32_t>(::getpid())),
      objectNumber_(NewObjectNumber()) {
  const std::lock_guard guard(DirectoryLockMutex());
  JoinLiveLocks(this);
}

TLxDirectoryLock::~TLxDirectoryLock() {
  const std::lock_guard guard(DirectoryLockMutex());
  LeaveLiveLocks(this);
  Unlock();
}

bool TLxDirectoryLock::Lock(TLxLockMode mode) {
  const std::lock_guard guard(DirectoryLockMutex());
  // One refresh thread per object: a held lock is let go before the new one.
  if (thread_) Unlock();
  mode_ = mode;
  if (!Refresh()) {
    // Only a refusal asks whether the folder is there: in a missing folder
    // lock.dat can be neither opened nor made, and a granted lock proves the
    // folder without another round trip to the server.
    if (!DirectoryExists(directory_)) {
      mode_ = lmNone;
      throw ELxException(FormatMessage(
          "Não foi possível bloquear o uso do diretório. O caminho \"%s\" não existe", directory_.c_str()));
    }
    return false;
  }
  thread_ = TLxDirectoryLockThread::Start(this, interval_);
  return true;
}

void TLxDirectoryLock::Unlock() {
  const std::lock_guard guard(DirectoryLockMutex());
  if (mode_ == lmNone) return;
  mode_ = lmNone;
  StopThread();
  for (int attempt = 1; RefreshOnce() == TRefreshOutcome::FileBusy && attempt < kReleaseAttempts; ++attempt) {
    std::this_thread::sleep_for(kReleaseRetryPause);
  }
}

void TLxDirectoryLock::StopThread() {
  if (!thread_) return;
  thread_->ReleaseLock();
  thread_.reset();
}

std::string TLxDirectoryLock::OwnerMachine() const {
  const std::lock_guard guard(DirectoryLockMutex());
  return ownerMachine_;
}

TLxLockMode TLxDirectoryLock::Mode() const {
  const std::lock_guard guard(DirectoryLockMutex());
  return mode_;
}

std::string TLxDirectoryLock::HolderIdentity() const { return LockIdentity(ComputerName(), processId_, objectNumber_); }

bool TLxDirectoryLock::Refresh() { return RefreshOnce() == TRefreshOutcome::Granted; }

TLxDirectoryLock::TRefreshOutcome TLxDirectoryLock::RefreshOnce() {
  const std::lock_guard guard(DirectoryLockMutex());
  const std::string path = PathJoin(directory_, kLockFileName);
  const std::string me = HolderIdentity();

  TLockFileHandle file;
  std::string bytes;
  if (!file.Open(path)) return file.Busy() ? TRefreshOutcome::FileBusy : TRefreshOutcome::Refused;
  if (!file.ReadAll(bytes)) return TRefreshOutcome::Refused;
  std::vector<std::string> lines = ParseLockLines(bytes);

  TLxLockMode found = lmNone;
  if (lines.size() >= 3) {
    ownerMachine_ = MachineOfIdentity(lines[0]);
    // A foreign record of no lock is free however old it is: its age, which
    // costs a write, a flush and two looks at the file, decides nothing.
    if (!SameIdentity(lines[0], me) && LockModeFromText(lines[1]) != lmNone) {
      // Both times come from the same file on the same server, so the age is
      // measured on one clock whatever the machines' own clocks say. The
      // first is taken under the flock: no checker can write in between.
      const TDateTime writtenBefore = FileDateTime(path);
      if (!file.AppendAndFlush('.')) return TRefreshOutcome::Refused;
      const TDateTime writtenNow = FileDateTime(path);
      found = CountDownForeignLock(lines, interval_, writtenNow - writtenBefore);
    }
  }

  const bool granted = found == lmNone || (mode_ == lmWriteDenied && found == lmWriteDenied);
  if (granted) lines = {me, LockModeText(mode_), std::to_string(interval_)};
  // The rewrite also drops the byte appended above.
  if (!file.Rewrite(FormatLockLines(lines))) return TRefreshOutcome::Refused;
  return file.Close() && granted ? TRefreshOutcome::Granted : TRefreshOutcome::Refused;
}

void ReleaseAllDirectoryLocks() {
  const std::lock_guard guard(DirectoryLockMutex());
  if (!liveLocks) return;
  // Copied: nothing leaves the list while unlocking, but stay safe if it did.
  const std::vector<TLxDirectoryLock*> locks = *liveLocks;
  std::for_each(locks.rbegin(), locks.rend(), [](TLxDirectoryLock* lock) { lock->Unlock(); });
}

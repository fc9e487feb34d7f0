#include "GroupFileReading.h"

#include <algorithm>
#include <array>

#include "GroupReader.h"
#include "IndexPaths.h"

#if !defined(_WIN32) && __has_include(<unistd.h>)
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#define LEXDEX_POSIX_READS 1
#endif

#if LEXDEX_HAVE_URING
#include <liburing.h>
#endif

namespace lexdex {
namespace {

#if LEXDEX_POSIX_READS

constexpr std::size_t kFirstBufferSize = 65536;

// Reads an open file to its end into `bytes`, which keeps its capacity for
// the next file. No fstat: a read that fills the buffer grows it and reads on,
// and a short read is the end, as with the C streams. False on a read error
// or past kMaxGroupFileBytes.
bool ReadUntilEnd(int fd, FileBuffer& bytes) {
  if (bytes.capacity() < kFirstBufferSize) bytes.reserve(kFirstBufferSize);
  bytes.resize(bytes.capacity());
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    filled += static_cast<std::size_t>(got);
    if (got == 0 || filled < bytes.size()) break;
    if (filled > kMaxGroupFileBytes) {
      FileBuffer().swap(bytes);  // keep no gigabyte for the next file
      return false;
    }
  }
  bytes.resize(filled);
  return true;
}

#endif

}  // namespace

#if LEXDEX_POSIX_READS

void ReadGroupFilesInOrder(const GroupFolders& folders, const std::vector<int>& groups, std::size_t begin,
                           std::size_t end, const GroupFileVisit& visit) {
  FileBuffer bytes;
  for (std::size_t item = begin; item < end; ++item) {
    const int folderFd = folders.Of(groups[item]);
    if (folderFd < 0) continue;
    const int fd = ::openat(folderFd, GroupFileName(groups[item]).data(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    const bool read = ReadUntilEnd(fd, bytes);
    ::close(fd);
    if (read) visit(item, bytes.data(), bytes.size());
  }
}

bool ReadGroupFileByPath(const std::string& folder, int group, FileBuffer& bytes) {
  const int fd = ::open(GroupFilePath(folder, group).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool read = ReadUntilEnd(fd, bytes);
  ::close(fd);
  return read;
}

#else

void ReadGroupFilesInOrder(const GroupFolders& folders, const std::vector<int>& groups, std::size_t begin,
                           std::size_t end, const GroupFileVisit& visit) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t item = begin; item < end; ++item) {
    if (ReadWholeFile(GroupFilePath(folders.IndexFolder(), groups[item]), bytes)) visit(item, bytes.data(), bytes.size());
  }
}

bool ReadGroupFileByPath(const std::string& folder, int group, FileBuffer& bytes) {
  std::vector<std::uint8_t> whole;
  if (!ReadWholeFile(GroupFilePath(folder, group), whole)) return false;
  bytes.assign(whole.begin(), whole.end());
  return true;
}

#endif

#if LEXDEX_HAVE_URING && LEXDEX_POSIX_READS

namespace {

// Files read by one submission. Each has a registered file slot: opening a
// file into a slot replaces (and closes) the previous one, so no close is
// ever submitted; the ring's end closes the last ones.
constexpr unsigned kUringBatchFiles = 64;
// Each file is an open linked to a read.
constexpr unsigned kUringRequestsPerFile = 2;
// A slot's buffer; a file that fills it is read again the plain way.
constexpr std::size_t kUringSlotBytes = 65536;

class UringBatchReader {
 public:
  explicit UringBatchReader(const GroupFolders& folders) : folder_(folders.IndexFolder()), folders_(folders) {}
  ~UringBatchReader() {
    if (started_) io_uring_queue_exit(&ring_);
  }
  UringBatchReader(const UringBatchReader&) = delete;
  UringBatchReader& operator=(const UringBatchReader&) = delete;

  // A ring, slots and buffers for `files` files at most (up to one batch):
  // a search of a few files sets up no more than it uses.
  bool Start(std::size_t files) {
    const auto slots = static_cast<unsigned>(std::clamp<std::size_t>(files, 1, kUringBatchFiles));
    io_uring_params params{};
    if (io_uring_queue_init_params(slots * kUringRequestsPerFile, &ring_, &params) < 0) return false;
    started_ = true;
    if (io_uring_register_files_sparse(&ring_, slots) < 0) return false;
    slots_ = slots;
    buffers_.resize(std::size_t{slots} * kUringSlotBytes);  // not cleared: the kernel fills it
    return true;
  }

  // False when the ring failed under way; the files of [begin, end) not yet
  // visited are then left to the caller.
  bool Read(const std::vector<int>& groups, std::size_t begin, std::size_t end, const GroupFileVisit& visit,
            std::size_t& done) {
    for (done = begin; done < end;) {
      const std::size_t batch = std::min<std::size_t>(end - done, slots_);
      if (!ReadBatch(groups, done, batch)) return false;
      VisitBatch(groups, done, batch, visit);
      done += batch;
    }
    return true;
  }

 private:
  static constexpr int kNotSubmitted = -ENOENT;

  std::uint8_t* Buffer(std::size_t slot) { return buffers_.data() + slot * kUringSlotBytes; }

  bool ReadBatch(const std::vector<int>& groups, std::size_t first, std::size_t count) {
    unsigned expected = 0;
    for (std::size_t slot = 0; slot < count; ++slot) {
      const int group = groups[first + slot];
      openResults_[slot] = kNotSubmitted;
      readResults_[slot] = kNotSubmitted;
      names_[slot] = GroupFileName(group);
      const int folderFd = folders_.Of(group);
      if (folderFd < 0) continue;
      io_uring_sqe* open = io_uring_get_sqe(&ring_);
      io_uring_sqe* read = io_uring_get_sqe(&ring_);
      if (open == nullptr || read == nullptr) return false;
      io_uring_prep_openat_direct(open, folderFd, names_[slot].data(), O_RDONLY, 0, static_cast<unsigned>(slot));
      open->flags |= IOSQE_IO_LINK;  // the read runs only after its open succeeded
      open->user_data = kOpenRequest | slot;
      io_uring_prep_read(read, static_cast<int>(slot), Buffer(slot), kUringSlotBytes, 0);
      read->flags |= IOSQE_FIXED_FILE;
      read->user_data = slot;
      expected += kUringRequestsPerFile;
    }
    for (unsigned seen = 0; seen < expected;) {
      const int submitted = io_uring_submit_and_wait(&ring_, 1);
      if (submitted < 0 && submitted != -EINTR) return false;
      io_uring_cqe* completion = nullptr;
      unsigned head = 0;
      unsigned harvested = 0;
      io_uring_for_each_cqe(&ring_, head, completion) {
        const std::uint64_t slot = completion->user_data & ~kOpenRequest;
        if ((completion->user_data & kOpenRequest) != 0) {
          openResults_[slot] = completion->res;
        } else {
          readResults_[slot] = completion->res;
        }
        ++harvested;
      }
      io_uring_cq_advance(&ring_, harvested);
      seen += harvested;
    }
    return !KernelRefusedDirectOpens(count);
  }

  // Kernels that know io_uring but not its opens into registered slots
  // (before 5.15) refuse every open as invalid. Each file would then look
  // missing, so the ring is given up and the plain reading serves.
  bool KernelRefusedDirectOpens(std::size_t count) const {
    return std::any_of(openResults_.begin(), openResults_.begin() + static_cast<std::ptrdiff_t>(count),
                       [](int result) { return result == -EINVAL || result == -EOPNOTSUPP; });
  }

  // A file whose open failed for another reason than not being there (too
  // many open files, memory, a signal) is read again the plain way, so that
  // this reading never finds less than the plain one.
  bool OpenFailedOtherThanMissing(std::size_t slot) const {
    const int result = openResults_[slot];
    return result < 0 && result != -ENOENT;
  }

  void VisitBatch(const std::vector<int>& groups, std::size_t first, std::size_t count, const GroupFileVisit& visit) {
    for (std::size_t slot = 0; slot < count; ++slot) {
      const int result = readResults_[slot];
      if (OpenFailedOtherThanMissing(slot)) {
        if (ReadGroupFileByPath(folder_, groups[first + slot], retried_)) {
          visit(first + slot, retried_.data(), retried_.size());
        }
        continue;
      }
      if (result < 0) continue;  // missing or unreadable
      if (static_cast<std::size_t>(result) < kUringSlotBytes) {
        visit(first + slot, Buffer(slot), static_cast<std::size_t>(result));
      } else if (ReadWholeFile(GroupFilePath(folder_, groups[first + slot]), large_)) {
        visit(first + slot, large_.data(), large_.size());
      }
    }
  }

  // Marks an open's request; the rest of its user data is its slot.
  static constexpr std::uint64_t kOpenRequest = std::uint64_t{1} << 63;

  std::string folder_;
  const GroupFolders& folders_;
  io_uring ring_{};
  bool started_ = false;
  unsigned slots_ = 0;
  FileBuffer buffers_;
  std::array<GroupFileNameText, kUringBatchFiles> names_;
  std::array<int, kUringBatchFiles> openResults_{};
  std::array<int, kUringBatchFiles> readResults_{};
  std::vector<std::uint8_t> large_;
  FileBuffer retried_;
};

}  // namespace

bool ReadGroupFilesWithUring(const GroupFolders& folders, const std::vector<int>& groups, std::size_t begin,
                             std::size_t end, const GroupFileVisit& visit) {
  UringBatchReader reader(folders);
  if (!reader.Start(end - begin)) return false;
  std::size_t done = begin;
  // A ring that fails under way leaves the rest to the plain reading.
  if (!reader.Read(groups, begin, end, visit, done)) ReadGroupFilesInOrder(folders, groups, done, end, visit);
  return true;
}

#else

bool ReadGroupFilesWithUring(const GroupFolders&, const std::vector<int>&, std::size_t, std::size_t,
                             const GroupFileVisit&) {
  return false;
}

#endif

}  // namespace lexdex

#pragma once

// The ways a search reads the group files it needs, each handing over the
// bytes of every file that could be read (missing and unreadable files are
// skipped) together with its place in the list of groups:
//  - in order through each group folder opened once, a file costing an
//    openat of its short name, one read into a reused buffer and a close;
//  - the same through io_uring, where the kernel offers it: each file's open
//    and read go in together with those of many others, with no descriptor
//    to close, so that a batch of files costs one system call;
//  - for network folders, by many threads at once, each blocked on its own
//    round trips to the server while the others proceed.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "GroupFolders.h"

namespace lexdex {

// Allocates like std::allocator but leaves new elements uninitialised, so
// that a buffer made ready for a read is not first cleared byte by byte.
template <typename T>
struct UninitializedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitializedAllocator<U>;
  };
  UninitializedAllocator() = default;
  template <typename U>
  UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* place) noexcept {
    ::new (static_cast<void*>(place)) U;
  }
  template <typename U, typename... Args>
  void construct(U* place, Args&&... args) {
    ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
  }
};

// The bytes of a file being read; reused from file to file.
using FileBuffer = std::vector<std::uint8_t, UninitializedAllocator<std::uint8_t>>;

// Receives the bytes of the file of groups[item]; they are valid during the
// call only.
using GroupFileVisit = std::function<void(std::size_t item, const std::uint8_t* data, std::size_t size)>;

// Reads the files of groups[begin, end) one after the other, in order, each
// inside its group folder, which must have been opened in `folders`.
void ReadGroupFilesInOrder(const GroupFolders& folders, const std::vector<int>& groups, std::size_t begin,
                           std::size_t end, const GroupFileVisit& visit);

// The same through io_uring, in order. False, with nothing visited, when
// io_uring cannot be used here (not built in, refused by the kernel or by the
// system's policy); the caller then reads the plain way.
bool ReadGroupFilesWithUring(const GroupFolders& folders, const std::vector<int>& groups, std::size_t begin,
                             std::size_t end, const GroupFileVisit& visit);

// Reads one group file by its full path with as few calls as possible (open,
// one read, close): the way of network folders, where each call is a round
// trip. False when it cannot be opened or read.
bool ReadGroupFileByPath(const std::string& folder, int group, FileBuffer& bytes);

}  // namespace lexdex

#pragma once

// One search's reading of all its group files at once, as done in
// search-only mode: each file is read once for all the words of a phrase, and
// only the words' pairs are kept. How the files are read depends on where
// they lie: on a local disk by as many threads as there are cores to spare
// (through io_uring where the kernel offers it); on a network folder by many
// threads at once, since each open, read and close waits for the server.

#include <string>
#include <vector>

#include "FolderKind.h"
#include "GroupFolders.h"
#include "SearchResultCache.h"

namespace lexdex {

// Below this many files a second thread costs more than it saves: its start,
// and on a busy machine the wait for a core to run it.
inline constexpr std::size_t kParallelScanMinFiles = 1024;
// Below this many files io_uring rings (one per reading thread) cost more
// than the calls they save: their setup, slots and buffers, and the kernel's
// worker threads that perform the opens, which on a busy machine wait for a
// core (a search of a few hundred files took 3 times as long as with plain
// calls).
inline constexpr std::size_t kUringMinFiles = 1024;
// Local disks: the engine shares the cores with the program.
inline constexpr unsigned kMaxLocalScanThreads = 2;
// Network folders: requests under way at once. Each costs an idle thread;
// with 1 ms per round trip and three per file this reads 40,000 files a
// second.
inline constexpr unsigned kNetworkReadsInFlight = 128;

// A word to look up: a length byte, then the bytes.
using LengthPrefixedWord = const std::uint8_t*;

enum class GroupReadMethod {
  InOrder,      // each local thread through its share of the files, plain calls
  Uring,        // the same through io_uring, else plain
  ManyInFlight  // network folders: many threads taking files one at a time
};

// For each of `words`, its triples in the files of `groups` (ascending), in
// group order and, within a group, in file order; each file is read once for
// all the words. Missing, unreadable or damaged files, and files without the
// word, give nothing. The group folders the reading needs are opened in
// `folders` where not open yet (local folders only).
std::vector<std::vector<FoundTriple>> FindInGroupFiles(GroupFolders& folders, const std::vector<int>& groups,
                                                       const std::vector<LengthPrefixedWord>& words,
                                                       FolderKind kind);
// The same with folders opened for this reading only.
std::vector<std::vector<FoundTriple>> FindInGroupFiles(const std::string& folder, const std::vector<int>& groups,
                                                       const std::vector<LengthPrefixedWord>& words,
                                                       FolderKind kind);

// The same with a chosen way of reading; every way gives the same triples.
std::vector<std::vector<FoundTriple>> FindInGroupFilesBy(GroupReadMethod method, GroupFolders& folders,
                                                         const std::vector<int>& groups,
                                                         const std::vector<LengthPrefixedWord>& words);
std::vector<std::vector<FoundTriple>> FindInGroupFilesBy(GroupReadMethod method, const std::string& folder,
                                                         const std::vector<int>& groups,
                                                         const std::vector<LengthPrefixedWord>& words);

}  // namespace lexdex

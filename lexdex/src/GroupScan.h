#pragma once

// One search's reading of all its group files at once, as done in
// search-only mode: each file is read into a buffer the reading thread
// reuses, and only the word's pairs are kept. A common word sets its hint bit
// in thousands of independent groups: they are shared between two threads.

#include <string>
#include <vector>

#include "SearchResultCache.h"

namespace lexdex {

// Below this many files a second thread costs more than it saves.
inline constexpr std::size_t kParallelScanMinFiles = 64;
inline constexpr unsigned kMaxScanThreads = 2;

// A word to look up: a length byte, then the bytes.
using LengthPrefixedWord = const std::uint8_t*;

// For each of `words`, its triples in the files of `groups` (ascending), in
// group order and, within a group, in file order; each file is read once for
// all the words (the words of a phrase). Missing, unreadable or damaged
// files, and files without the word, give nothing.
std::vector<std::vector<FoundTriple>> FindInGroupFiles(const std::string& folder, const std::vector<int>& groups,
                                                       const std::vector<LengthPrefixedWord>& words);

}  // namespace lexdex

#pragma once

// Reading many group files at once. A common word sets its hint bit in
// thousands of groups whose files are independent: reading them on two
// threads roughly halves the time when both cores are free.

#include <string>
#include <vector>

#include "GroupFileCache.h"

namespace lexdex {

// Below this many files a second thread costs more than it saves.
inline constexpr std::size_t kParallelReadMinFiles = 64;
inline constexpr unsigned kMaxReadThreads = 2;

// The files of `groups` in the same order (null for missing or unreadable).
std::vector<GroupBytes> ReadGroupFiles(const std::string& folder, const std::vector<int>& groups);

}  // namespace lexdex

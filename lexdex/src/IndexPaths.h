#pragma once

// Names of the files inside an index folder. Group g lives in the subfolder
// grp<g div 256> as <g mod 256>.sl, both as two lower-case hex digits:
// group 30000 (0x7530) is grp75/30.sl, group 65535 grpff/ff.sl.

#include <array>
#include <string>

namespace lexdex {

#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

inline constexpr int kGroupCount = 65536;
inline constexpr int kGroupsPerFolder = 256;

inline bool IsValidGroup(long long group) { return group >= 0 && group < kGroupCount; }

std::string HintFilePath(const std::string& folder);       // folder/hint.il
std::string GroupFolderPath(const std::string& folder, int group);  // folder/grp75
std::string GroupFilePath(const std::string& folder, int group);    // folder/grp75/30.sl

// "30.sl", the group file's name inside its group folder, NUL-ended, with no
// allocation: a search opens hundreds of them.
using GroupFileNameText = std::array<char, 6>;
GroupFileNameText GroupFileName(int group);

}  // namespace lexdex

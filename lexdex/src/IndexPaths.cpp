#include "IndexPaths.h"

#include <cstdio>

namespace lexdex {
namespace {

// Two lower-case hexadecimal digits.
std::string Hex2(int value) {
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02x", value & 0xFF);
  return digits;
}

}  // namespace

std::string HintFilePath(const std::string& folder) {
  return folder + kPathSeparator + "hint.il";
}

std::string GroupFolderPath(const std::string& folder, int group) {
  return folder + kPathSeparator + "grp" + Hex2(group / kGroupsPerFolder);
}

std::string GroupFilePath(const std::string& folder, int group) {
  return GroupFolderPath(folder, group) + kPathSeparator + Hex2(group % kGroupsPerFolder) + ".sl";
}

}  // namespace lexdex

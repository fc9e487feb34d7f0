#include "IndexPaths.h"

namespace lexdex {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// Two lower-case hexadecimal digits.
std::string Hex2(int value) { return {kHexDigits[(value >> 4) & 0xF], kHexDigits[value & 0xF]}; }

}  // namespace

std::string HintFilePath(const std::string& folder) {
  return folder + kPathSeparator + "hint.il";
}

std::string GroupFolderPath(const std::string& folder, int group) {
  return folder + kPathSeparator + "grp" + Hex2(group / kGroupsPerFolder);
}

std::string GroupFilePath(const std::string& folder, int group) {
  return GroupFolderPath(folder, group) + kPathSeparator + GroupFileName(group).data();
}

GroupFileNameText GroupFileName(int group) {
  const int low = group % kGroupsPerFolder;
  return {kHexDigits[low >> 4], kHexDigits[low & 0xF], '.', 's', 'l', '\0'};
}

}  // namespace lexdex

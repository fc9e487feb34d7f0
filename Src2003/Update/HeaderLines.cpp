#include "HeaderLines.h"

namespace {

constexpr char kNameEnd = ':';

}  // namespace

int FindHeaderLine(const TLxStringList& lines, std::string_view name) {
  for (int index = static_cast<int>(lines.size()) - 1; index >= 0; --index) {
    const std::string& line = lines[static_cast<size_t>(index)];
    const size_t colon = line.find(kNameEnd);
    if (colon != std::string::npos && LxSameText(std::string_view(line).substr(0, colon), name)) return index;
  }
  return -1;
}

std::string HeaderValue(const TLxStringList& lines, std::string_view name) {
  const int index = FindHeaderLine(lines, name);
  if (index < 0) return {};
  const std::string& line = lines[static_cast<size_t>(index)];
  return LxTrim(std::string_view(line).substr(line.find(kNameEnd) + 1));
}

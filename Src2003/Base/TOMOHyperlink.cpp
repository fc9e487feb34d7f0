#include "TOMOHyperlink.h"

#include <limits>
#include <vector>

#include "CommaList.h"

namespace {

enum HyperlinkItem { kItemTag, kItemLine, kItemPosition, kItemLength, kItemTarget, kItemURL };
constexpr size_t kRequiredItems = kItemTarget + 1;

std::int32_t ParseNumber(std::string_view item) {
  std::int64_t value = 0;
  if (item.empty()) return 0;
  for (char c : item) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) return 0;
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<TTOMOHyperlinkRecord> ParseHyperlinkLine(std::string_view line) {
  const std::vector<std::string> items = SplitCommaList(line);
  if (items.size() < kRequiredItems) return std::nullopt;
  if (items[kItemTag] != kHyperlinkVersion1 && items[kItemTag] != kHyperlinkVersion2) return std::nullopt;
  TTOMOHyperlinkRecord link;
  link.Line = ParseNumber(items[kItemLine]);
  link.Position = ParseNumber(items[kItemPosition]);
  link.Length = ParseNumber(items[kItemLength]);
  link.Target = ParseNumber(items[kItemTarget]);
  if (items.size() > kItemURL) link.URL = items[kItemURL];
  return link;
}

std::string FormatHyperlinkLine(const TTOMOHyperlinkRecord& link, const char* version) {
  std::vector<std::string> items = {version, std::to_string(link.Line), std::to_string(link.Position),
                                    std::to_string(link.Length), std::to_string(link.Target)};
  if (!link.URL.empty()) items.push_back(link.URL);
  return JoinCommaList(items);
}

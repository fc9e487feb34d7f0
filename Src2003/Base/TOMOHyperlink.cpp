#include "TOMOHyperlink.h"

#include <charconv>
#include <vector>

#include "CommaList.h"
#include "LxExcept.h"

namespace {

enum HyperlinkItem { kItemTag, kItemLine, kItemPosition, kItemLength, kItemTarget, kItemURL };
constexpr size_t kRequiredItems = kItemTarget + 1;

std::int32_t ParseNumber(const std::string& item) {
  std::int32_t value = 0;
  const char* end = item.data() + item.size();
  const auto [at, error] = std::from_chars(item.data(), end, value);
  if (item.empty() || error != std::errc() || at != end) {
    throw ELxException(FormatMessage("'%s' não é um valor inteiro válido", item.c_str()));
  }
  return value;
}

}  // namespace

std::optional<TBodyLink> ParseHyperlinkLine(std::string_view line) {
  const std::vector<std::string> items = SplitCommaList(line);
  if (items.empty()) return std::nullopt;
  const bool version1 = items[kItemTag] == kHyperlinkVersion1;
  if (!version1 && items[kItemTag] != kHyperlinkVersion2) return std::nullopt;
  if (items.size() < kRequiredItems) {
    throw ELxException(FormatMessage("Atalho incompleto: '%s'", std::string(line).c_str()));
  }
  TBodyLink link;
  link.Version1 = version1;
  link.Record.Line = ParseNumber(items[kItemLine]);
  link.Record.Position = ParseNumber(items[kItemPosition]);
  link.Record.Length = ParseNumber(items[kItemLength]);
  link.Record.Target = ParseNumber(items[kItemTarget]);
  if (items.size() > kItemURL) link.Record.URL = items[kItemURL];
  return link;
}

std::string FormatHyperlinkLine(const TBodyLink& link) {
  const TTOMOHyperlinkRecord& record = link.Record;
  std::vector<std::string> items = {link.Version1 ? kHyperlinkVersion1 : kHyperlinkVersion2,
                                    std::to_string(record.Line), std::to_string(record.Position),
                                    std::to_string(record.Length), std::to_string(record.Target)};
  if (!record.URL.empty()) items.push_back(record.URL);
  return JoinCommaList(items);
}

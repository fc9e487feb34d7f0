#include "TextBody.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "CommaList.h"
#include "LxExcept.h"
#include "TOMODocumentBody.h"

namespace {

enum TLinkItem { kItemTag, kItemLine, kItemPosition, kItemLength, kItemTarget, kItemURL };
constexpr size_t kRequiredLinkItems = kItemTarget + 1;
constexpr std::int32_t kContentChunk = 64 * 1024;

std::int32_t StrictInteger(const std::string& text) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || at != end) {
    throw ELxException(FormatMessage("'%s' não é um valor inteiro válido", text.c_str()));
  }
  return value;
}

std::string ReadBytes(TLxStream& stream, std::int32_t count) {
  std::string bytes;
  while (static_cast<std::int32_t>(bytes.size()) < count) {
    const std::int32_t wanted = std::min(kContentChunk, count - static_cast<std::int32_t>(bytes.size()));
    const size_t at = bytes.size();
    bytes.resize(at + static_cast<size_t>(wanted));
    const std::int32_t got = stream.Read(bytes.data() + at, wanted);
    if (got <= 0) throw ELxReadError();
    bytes.resize(at + static_cast<size_t>(got));
  }
  return bytes;
}

std::optional<TBodyLink> ParseLinkLine(const std::string& line) {
  const std::vector<std::string> items = SplitCommaList(line);
  if (items.empty()) return std::nullopt;
  const bool version1 = items[kItemTag] == kHyperlinkVersion1;
  if (!version1 && items[kItemTag] != kHyperlinkVersion2) return std::nullopt;
  if (items.size() < kRequiredLinkItems) {
    throw ELxException(FormatMessage("Atalho incompleto: '%s'", line.c_str()));
  }
  TBodyLink link;
  link.Version1 = version1;
  link.Record.Line = StrictInteger(items[kItemLine]);
  link.Record.Position = StrictInteger(items[kItemPosition]);
  link.Record.Length = StrictInteger(items[kItemLength]);
  link.Record.Target = StrictInteger(items[kItemTarget]);
  if (items.size() > kItemURL) link.Record.URL = items[kItemURL];
  return link;
}

void ReadLinks(TLxStream& body, std::vector<TBodyLink>& links) {
  std::string line;
  ReadLine(body, line);  // what is left of the content's last line
  if (!ReadLine(body, line) || !LxSameText(line, kHyperlinkSectionLine)) return;
  while (ReadLine(body, line) && !line.empty()) {
    // lines before the first empty one describe the section, not links
  }
  while (ReadLine(body, line) && !line.empty()) {
    if (auto link = ParseLinkLine(line)) links.push_back(std::move(*link));
  }
}

}  // namespace

TTextBody ReadTextBody(TLxStream& body) {
  TTextBody result;
  ReadHeaderValues(body, result.Values);
  if (result.Values.Count() == 0) {
    result.Content = ReadBytes(body, body.Size() - body.Position());
    return result;
  }
  const std::string size = result.Values.Values(kBodySizeValue);
  std::int32_t contentSize = 0;
  try {
    contentSize = StrictInteger(size);
  } catch (const ELxException&) {
    throw ELxException(FormatMessage("Tamanho de documento inválido: '%s'", size.c_str()));
  }
  if (contentSize < 0) throw ELxException(FormatMessage("Tamanho de documento inválido: '%s'", size.c_str()));
  result.Content = ReadBytes(body, contentSize);
  if (body.Position() < body.Size()) ReadLinks(body, result.Links);
  return result;
}

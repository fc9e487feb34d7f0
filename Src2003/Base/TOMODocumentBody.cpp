#include "TOMODocumentBody.h"

#include <algorithm>
#include <limits>

#include "LxExcept.h"
#include "LxLineIO.h"
#include "LxText.h"

namespace {

constexpr std::int32_t kContentChunkSize = 64 * 1024;
// The line that ends a property block, CR LF included.
constexpr std::int32_t kEmptyLineBytes = 2;
// No document of the collection comes near this many links; a section of
// millions of short link lines is damage, and would cost many times its size.
constexpr size_t kMaxHyperlinks = 100'000;

std::int32_t ParseContentSize(const std::string& text) {
  std::int64_t value = 0;
  bool valid = !text.empty();
  for (char c : text) {
    if (c < '0' || c > '9' || value > std::numeric_limits<std::int32_t>::max()) {
      valid = false;
      break;
    }
    value = value * 10 + (c - '0');
  }
  if (!valid || value > std::numeric_limits<std::int32_t>::max()) {
    throw ELxException(FormatMessage("Tamanho de documento inválido: '%s'", text.c_str()));
  }
  return static_cast<std::int32_t>(value);
}

// Reads `size` bytes in chunks, so that a hostile size costs nothing until the
// bytes are really there.
std::string ReadContent(TLxStream& body, std::int32_t size) {
  std::string content;
  while (static_cast<std::int32_t>(content.size()) < size) {
    const std::int32_t wanted = std::min(kContentChunkSize, size - static_cast<std::int32_t>(content.size()));
    const size_t at = content.size();
    content.resize(at + static_cast<size_t>(wanted));
    const std::int32_t got = body.Read(content.data() + at, wanted);
    if (got <= 0) throw ELxReadError();
    content.resize(at + static_cast<size_t>(got));
  }
  return content;
}

std::string ReadRest(TLxStream& body) { return ReadContent(body, body.Size() - body.Position()); }

void ReadHyperlinks(TLxStream& body, std::vector<TBodyLink>& links) {
  std::string line;
  ReadLine(body, line);  // the rest of the content's last line
  if (!ReadLine(body, line) || !LxSameText(line, kHyperlinkSectionLine)) return;
  while (ReadLine(body, line) && !line.empty()) {
    // lines before the first empty one describe the section, not links
  }
  while (ReadLine(body, line) && !line.empty()) {
    if (links.size() >= kMaxHyperlinks) {
      throw ELxException(FormatMessage("Corpo de documento danificado: mais de %zu links", kMaxHyperlinks));
    }
    if (auto link = ParseHyperlinkLine(line)) links.push_back(std::move(*link));
  }
}

}  // namespace

TTOMODocumentBody ReadDocumentBody(TLxStream& body) {
  TTOMODocumentBody result;
  const std::int32_t start = body.Position();
  ReadHeaderValues(body, result.Values);
  // Lines of which not one is "name: value" are no property block: a body
  // decoded with the wrong key, or not a body at all. Taking them as an empty
  // block would show an empty document as if nothing were wrong.
  if (result.Values.Count() == 0 && body.Position() - start > kEmptyLineBytes) {
    throw ELxException("Corpo de documento danificado: o cabeçalho não tem nenhuma propriedade");
  }
  if (result.Values.Count() == 0) {
    result.Content = ReadRest(body);
    return result;
  }
  result.Content = ReadContent(body, ParseContentSize(result.Values.Values(kBodySizeValue)));
  ReadHyperlinks(body, result.Hyperlinks);
  return result;
}

void WriteDocumentBody(TLxStream& body, TDateTime date, std::string_view content,
                       const std::vector<TBodyLink>& hyperlinks, std::string_view sectionNote) {
  WriteLine(body, std::string(kBodyDateValue) + ": " + DateTimeToStr(date));
  WriteLine(body, std::string(kBodySizeValue) + ": " + std::to_string(content.size()));
  WriteLine(body, "");
  body.WriteBuffer(content.data(), static_cast<std::int32_t>(content.size()));
  if (hyperlinks.empty()) return;
  WriteLine(body, "");  // ends the content's last line
  WriteLine(body, kHyperlinkSectionLine);
  if (!sectionNote.empty()) WriteLine(body, sectionNote);
  WriteLine(body, "");
  for (const TBodyLink& link : hyperlinks) WriteLine(body, FormatHyperlinkLine(link));
  WriteLine(body, "");
}

// An update's header block as an operation reads it (ReadLines up to the
// empty line) and the lookups of its lines by name. The first input byte
// sets how many of the following bytes form a name of its own to look up;
// the rest is the stream. Whatever comes, the answers must agree with the
// lines: an index in range whose line is named so, and a value that is that
// line's text after its first colon, trimmed.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "HeaderLines.h"
#include "LxExcept.h"
#include "LxLineIO.h"
#include "LxMemoryStream.h"
#include "LxText.h"

namespace {

// Names the update steps look for, in Windows-1252.
const char* const kKnownNames[] = {"T\xEDtulo", "Seq\xFC\xEAncia", "Tamanho", "URL", "Data", ""};

void CheckLookup(const TLxStringList& lines, std::string_view name) {
  const int index = FindHeaderLine(lines, name);
  const std::string value = HeaderValue(lines, name);
  if (index < 0) {
    if (index != -1 || !value.empty()) std::abort();
    return;
  }
  if (static_cast<size_t>(index) >= lines.size()) std::abort();
  const std::string& line = lines[static_cast<size_t>(index)];
  const size_t colon = line.find(':');
  if (colon == std::string::npos || !LxSameText(std::string_view(line).substr(0, colon), name)) std::abort();
  if (value != LxTrim(std::string_view(line).substr(colon + 1))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = AsText(data, size);
  const size_t nameLength = input.empty() ? 0 : std::min<size_t>(static_cast<std::uint8_t>(input[0]) % 32, size - 1);
  const std::string_view ownName = input.substr(input.empty() ? 0 : 1, nameLength);
  const std::string_view header = input.substr(input.empty() ? 0 : 1 + nameLength);

  TLxMemoryStream stream(std::string{header});
  TLxStringList lines;
  try {
    ReadLines(stream, lines);
  } catch (const ELxException&) {
    return 0;  // a line too long: damage, reported as such
  }
  if (stream.Position() > stream.Size()) std::abort();
  // Lines end at LF, CRs are dropped and the empty line ends the block.
  for (const std::string& line : lines) {
    if (line.empty() || line.find_first_of("\r\n") != std::string::npos) std::abort();
  }
  for (const char* name : kKnownNames) CheckLookup(lines, name);
  CheckLookup(lines, ownName);
  return 0;
}

#include "LxLineIO.h"
#include "LxText.h"

#include <algorithm>

void WriteLine(TLxStream& stream, std::string_view text) {
  if (text.size() > static_cast<std::size_t>(kLxMaxStreamSize) - 2) throw ELxWriteError();
  std::string line;
  line.reserve(text.size() + 2);
  line.append(text);
  line.append("\r\n");
  stream.WriteBuffer(line.data(), static_cast<std::int32_t>(line.size()));
}

bool ReadLine(TLxStream& stream, std::string& line) {
  line.clear();
  const bool endedByLineFeed = stream.ReadUntil('\n', line, kLxMaxLineBytes);
  if (!endedByLineFeed && line.size() >= kLxMaxLineBytes) {
    throw ELxReadError(FormatMessage("Linha longa demais (mais de %zu bytes)", kLxMaxLineBytes));
  }
  const bool readSomething = endedByLineFeed || !line.empty();
  std::erase(line, '\r');
  return readSomething;
}

std::string ReadLine(TLxStream& stream) {
  std::string line;
  ReadLine(stream, line);
  return line;
}

namespace {

// Counts the lines and bytes of one header block and raises past its bounds.
class THeaderBudget {
 public:
  void Take(const std::string& line) {
    ++lines_;
    bytes_ += line.size();
    if (lines_ > kLxMaxHeaderLines || bytes_ > kLxMaxHeaderBytes) {
      throw ELxReadError(FormatMessage("Cabeçalho longo demais (mais de %zu linhas ou %zu bytes)", kLxMaxHeaderLines,
                                       kLxMaxHeaderBytes));
    }
  }

 private:
  std::size_t lines_ = 0;
  std::size_t bytes_ = 0;
};

}  // namespace

void ReadLines(TLxStream& stream, TLxStringList& list) {
  std::string line;
  THeaderBudget budget;
  while (ReadLine(stream, line) && !line.empty()) {
    budget.Take(line);
    list.push_back(line);
  }
}

void ReadHeaderValues(TLxStream& stream, TLxNameValueList& list) {
  std::string line;
  THeaderBudget budget;
  for (;;) {
    ReadLine(stream, line);
    const std::string trimmed = LxTrim(line);
    if (trimmed.empty()) return;  // the empty line ends the block (and is consumed)
    budget.Take(line);
    const std::size_t colon = trimmed.find(':');
    if (colon == std::string::npos) {
      list.SetValue(trimmed, std::string());
    } else {
      list.SetValue(LxTrim(std::string_view(trimmed).substr(0, colon)),
                    LxTrim(std::string_view(trimmed).substr(colon + 1)));
    }
  }
}

TLxNameValueList ReadHeaderValues(TLxStream& stream) {
  TLxNameValueList list;
  ReadHeaderValues(stream, list);
  return list;
}

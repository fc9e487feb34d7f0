#include "RichTextTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <QChar>

#include "LxCodePage.h"
#include "TempFolder.h"

namespace {

// PANDECTA_TEST_DATA when the test runner sets it; else the source tree's
// folder, compiled in, so that the tests also run straight from the shell.
std::filesystem::path FixtureFolder() {
  if (const char* data = std::getenv("PANDECTA_TEST_DATA")) {
    return std::filesystem::path(data) / "rtf";
  }
  return RICHTEXT_FIXTURE_FOLDER;
}

enum class TCharClass { Letter, Digit, Other };

TCharClass ClassOf(char byte) {
  const QChar character(static_cast<char16_t>(Win1252ToUnicode(static_cast<unsigned char>(byte))));
  if (character.isLetter()) return TCharClass::Letter;
  if (character.isDigit()) return TCharClass::Digit;
  return TCharClass::Other;
}

constexpr size_t kShortestWord = 3;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::vector<std::string> RtfFixtureNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(FixtureFolder())) {
    if (entry.path().extension() == ".rtf") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadRtfFixture(const std::string& name) {
  return ReadWholeFile(FixtureFolder() / (name + ".rtf"));
}

std::string ReadExpectedText(const std::string& name) {
  std::string text = ReadWholeFile(FixtureFolder() / (name + ".txt"));
  if (text.starts_with(kUtf8ByteOrderMark)) text.erase(0, kUtf8ByteOrderMark.size());
  return Utf8ToWin1252(text);
}

std::vector<std::string> WordsOf(std::string_view win1252) {
  std::vector<std::string> words;
  size_t pos = 0;
  while (pos < win1252.size()) {
    const TCharClass kind = ClassOf(win1252[pos]);
    size_t end = pos + 1;
    while (end < win1252.size() && ClassOf(win1252[end]) == kind) ++end;
    if (kind != TCharClass::Other && end - pos >= kShortestWord) {
      words.emplace_back(win1252.substr(pos, end - pos));
    }
    pos = end;
  }
  return words;
}

std::string CollapseLineBreaks(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  return out;
}

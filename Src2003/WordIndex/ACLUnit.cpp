#include "ACLUnit.h"

#include <mutex>

#include <QChar>

#include "LxCodePage.h"

TCharTable FoldTable{};
TCharTable ClassTable{};

namespace {

constexpr std::uint8_t kCaseDistance = 0x20;

// Windows-1252 upper-case letters outside the Latin-1 blocks and their
// lower-case partners.
constexpr std::pair<std::uint8_t, std::uint8_t> kExtraCasePairs[] = {
    {0x8A, 0x9A},  // Š š
    {0x8C, 0x9C},  // Œ œ
    {0x8E, 0x9E},  // Ž ž
    {0x9F, 0xFF},  // Ÿ ÿ
};

// Accented lower-case vowels and ç to their plain letter. The Portuguese
// accents are folded; letters that are distinct in other languages (å æ ð ñ
// ø ý þ ÿ ß) keep their identity.
struct TAccentRange {
  std::uint8_t First;
  std::uint8_t Last;
  char Plain;
};
constexpr TAccentRange kAccentRanges[] = {
    {0xE0, 0xE4, 'a'}, {0xE7, 0xE7, 'c'}, {0xE8, 0xEB, 'e'},
    {0xEC, 0xEF, 'i'}, {0xF2, 0xF6, 'o'}, {0xF9, 0xFC, 'u'},
};

std::uint8_t LowerCase(std::uint8_t code) {
  const bool asciiUpper = code >= 'A' && code <= 'Z';
  const bool latinUpper = (code >= 0xC0 && code <= 0xD6) || (code >= 0xD8 && code <= 0xDE);
  if (asciiUpper || latinUpper) return code + kCaseDistance;
  for (const auto& [upper, lower] : kExtraCasePairs) {
    if (code == upper) return lower;
  }
  return code;
}

std::uint8_t WithoutAccent(std::uint8_t code) {
  for (const TAccentRange& range : kAccentRanges) {
    if (code >= range.First && code <= range.Last) return static_cast<std::uint8_t>(range.Plain);
  }
  return code;
}

// The class follows the Unicode character the code stands for. Only decimal
// digits count as digits: superscripts and fractions (¹ ² ³ ¼ ½ ¾) separate
// words, as they do in "m²" or "art. 5º"; ª º µ are letters.
std::uint8_t CharClass(std::uint8_t code) {
  if (code == 0) return kEndClass;
  const char32_t character = Win1252ToUnicode(code);
  if (QChar::isLetter(character)) return kLetterClass;
  if (QChar::isDigit(character)) return kDigitClass;
  return kSeparatorClass;
}

void FillTables() {
  for (int code = 0; code < 256; ++code) {
    const auto byte = static_cast<std::uint8_t>(code);
    FoldTable[code] = WithoutAccent(LowerCase(byte));
    ClassTable[code] = CharClass(byte);
  }
}

}  // namespace

void BuildCharTables() {
  static std::once_flag built;
  std::call_once(built, FillTables);
}

bool NextQueryWord(char*& cursor, int& length) {
  auto* p = reinterpret_cast<std::uint8_t*>(cursor);
  for (;;) {
    const std::uint8_t runClass = ClassTable[*p];
    if (runClass == kEndClass) break;
    std::uint8_t* const runStart = p;
    if (runClass == kSeparatorClass) {
      while (ClassTable[*p] == kSeparatorClass) ++p;
      continue;
    }
    for (; ClassTable[*p] == runClass; ++p) *p = FoldTable[*p];
    if (IsWordLength(p - runStart)) {
      cursor = reinterpret_cast<char*>(runStart);
      length = static_cast<int>(p - runStart);
      return true;
    }
  }
  cursor = reinterpret_cast<char*>(p);
  length = 0;
  return false;
}

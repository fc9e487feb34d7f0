#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Word extraction: the one set of rules that turns Windows-1252 text into
// index words, shared by indexing and by the search phrase so that a search
// finds words regardless of case and accents.
//
// A word is a maximal run of letters, or of digits, of 3 to 255 characters,
// folded to lower case without accents. Letters and digits never mix:
//   "Decreto 1.090-R, de 2002: ICMS e IPI" gives decreto, 090, 2002, icms, ipi
//   "ABC123def" gives abc, 123, def.
// Shorter runs ("de", "1", "R") are skipped and get no ordinal, so they never
// break the adjacency of the words around them.

using TCharTable = std::array<std::uint8_t, 256>;

// Classes of ClassTable.
constexpr std::uint8_t kLetterClass = 0;
constexpr std::uint8_t kDigitClass = 1;
constexpr std::uint8_t kSeparatorClass = 2;
constexpr std::uint8_t kEndClass = 3;

// Shorter letter or digit runs are noise (articles, initials, list numbers).
constexpr int kMinWordLength = 3;
// The engine stores a word's length in one byte; longer runs are skipped
// rather than handed over truncated or overflowing.
constexpr int kMaxWordLength = 255;

// FoldTable[c]: the character a word keeps for c (lower case, accents off).
// ClassTable[c]: the class of the unfolded character c.
extern TCharTable FoldTable;
extern TCharTable ClassTable;

// Fills both tables; safe to call more than once. TWordIndex calls it, so the
// tables are ready before any index is opened.
void BuildCharTables();

inline bool IsWordLength(std::ptrdiff_t length) {
  return length >= kMinWordLength && length <= kMaxWordLength;
}

// Splits the zero-terminated `text`, folding every letter run in place, and
// calls visit(word, length, position, ordinal) for each word. The position is
// the character offset with every CR LF counted as one character (the text
// view counts a line break so): in "abc\r\ndef", def has position 4. Ordinals
// start at 0 and count words only. Returns the number of words.
template <class TVisit>
int SplitTextWords(char* text, TVisit&& visit) {
  auto* cursor = reinterpret_cast<std::uint8_t*>(text);
  const auto* const start = cursor;
  int ordinal = 0;
  int lineBreaks = 0;
  for (;;) {
    const std::uint8_t runClass = ClassTable[*cursor];
    if (runClass == kEndClass) return ordinal;
    std::uint8_t* const runStart = cursor;
    if (runClass == kSeparatorClass) {
      // CR and LF are both separators, so a CR LF pair never spans two runs;
      // cursor[1] is at worst the terminating zero.
      for (; ClassTable[*cursor] == kSeparatorClass; ++cursor) {
        if (cursor[0] == '\r' && cursor[1] == '\n') ++lineBreaks;
      }
      continue;
    }
    for (; ClassTable[*cursor] == runClass; ++cursor) *cursor = FoldTable[*cursor];
    const std::ptrdiff_t length = cursor - runStart;
    if (IsWordLength(length)) {
      const auto position = static_cast<int>(runStart - start) - lineBreaks;
      visit(reinterpret_cast<char*>(runStart), static_cast<int>(length), position, ordinal);
      ++ordinal;
    }
  }
}

// Adds the words of `text` (folded in place) to the engine's current group,
// with a = position and b = ordinal. Returns the number of words passed.
int AddTextWords(char* text);

// Adds the words of one entry's title text to the title group, with a =
// `group` (the entry's Id) and b = `ordinal`, which counts over all titles
// and is advanced by one per word.
void AddTitleWords(int group, int& ordinal, char* text);

// Finds the next word at or after `cursor`, folds it in place, and returns
// true with `cursor` on its first character and `length` its length; returns
// false with `cursor` on the terminating zero when no word is left.
//   "IMPOSTO de Renda": imposto (0, 7), then renda (11, 5), then false.
bool NextQueryWord(char*& cursor, int& length);

#include "TextSnippet.h"

#include <algorithm>
#include <cstdint>

#include "ACLUnit.h"

namespace {

constexpr char kEllipsis = '\x85';  // "…" in Windows-1252
constexpr char kBlank = ' ';

bool IsLineBreakAt(std::string_view text, std::size_t at) {
  return text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n';
}

// Bytes of one text position at `at`: two for a CR LF, one otherwise.
std::size_t PositionBytes(std::string_view text, std::size_t at) { return IsLineBreakAt(text, at) ? 2 : 1; }

bool IsWordChar(char c) {
  const std::uint8_t charClass = ClassTable[static_cast<std::uint8_t>(c)];
  return charClass == kLetterClass || charClass == kDigitClass;
}

// A window of the text: byte offsets and the position of its first byte.
struct TWindow {
  std::size_t Begin = 0;
  std::size_t End = 0;
  std::int32_t BeginPosition = 0;
};

// The bytes from position `from` to position `to` (at most the text's end).
TWindow WindowOf(std::string_view text, std::int32_t from, std::int32_t to) {
  TWindow window;
  std::size_t at = 0;
  std::int32_t position = 0;
  for (; at < text.size() && position < from; ++position) at += PositionBytes(text, at);
  window.Begin = at;
  window.BeginPosition = position;
  for (; at < text.size() && position < to; ++position) at += PositionBytes(text, at);
  window.End = at;
  return window;
}

// Moves a cut edge off the middle of a word: the start forward past the
// word it splits and the punctuation after it, the end back before the word
// it splits; never across the hit (`keepBegin` to `keepEnd`).
void CutAtWords(std::string_view text, TWindow& window, std::size_t keepBegin, std::size_t keepEnd) {
  if (window.Begin > 0) {
    std::size_t at = window.Begin;
    std::int32_t position = window.BeginPosition;
    if (IsWordChar(text[at - 1])) {
      for (; at < keepBegin && IsWordChar(text[at]); ++position) ++at;
    }
    for (; at < keepBegin && !IsWordChar(text[at]); ++position) at += PositionBytes(text, at);
    if (at <= keepBegin) {
      window.Begin = at;
      window.BeginPosition = position;
    }
  }
  if (window.End < text.size() && IsWordChar(text[window.End])) {
    std::size_t at = window.End;
    while (at > keepEnd && IsWordChar(text[at - 1])) --at;
    if (at > keepEnd) window.End = at;
  }
}

}  // namespace

TTextSnippet MakeTextSnippet(std::string_view text, const std::vector<TSearchRange>& ranges) {
  TTextSnippet snippet;
  if (ranges.empty() || ranges.front().Start < 0) return snippet;
  BuildCharTables();
  const TSearchRange& first = ranges.front();
  const TWindow hit = WindowOf(text, first.Start, first.End());
  if (hit.BeginPosition != first.Start || hit.Begin >= text.size()) return snippet;
  TWindow window = WindowOf(text, std::max(0, first.Start - kSnippetContextBefore),
                            first.Start + kSnippetContextAfter);
  CutAtWords(text, window, hit.Begin, hit.End);

  // Positions of the window's bytes, and where each lands in the snippet.
  std::vector<std::int32_t> offsetOfPosition;
  const bool cutBefore = window.Begin > 0;
  if (cutBefore) snippet.Text += {kEllipsis, kBlank};
  const std::int32_t windowPosition = window.BeginPosition;
  std::int32_t position = windowPosition;
  for (std::size_t at = window.Begin; at < window.End; at += PositionBytes(text, at), ++position) {
    offsetOfPosition.push_back(static_cast<std::int32_t>(snippet.Text.size()));
    const auto c = static_cast<unsigned char>(text[at]);
    if (c > static_cast<unsigned char>(kBlank)) {
      snippet.Text += text[at];
    } else if (!snippet.Text.empty() && snippet.Text.back() != kBlank) {
      // Blanks, line breaks, table cells and other controls read as one blank.
      snippet.Text += kBlank;
    }
  }
  offsetOfPosition.push_back(static_cast<std::int32_t>(snippet.Text.size()));
  const std::int32_t endPosition = position;
  for (const TSearchRange& range : ranges) {
    if (range.Start >= endPosition) break;
    if (range.End() <= windowPosition) continue;
    const std::int32_t start = offsetOfPosition[static_cast<std::size_t>(std::max(range.Start, windowPosition) - windowPosition)];
    const std::int32_t end = offsetOfPosition[static_cast<std::size_t>(std::min(range.End(), endPosition) - windowPosition)];
    if (end > start) snippet.Hits.push_back({start, end - start});
  }
  while (!snippet.Text.empty() && snippet.Text.back() == kBlank) snippet.Text.pop_back();
  if (window.End < text.size()) snippet.Text += {kBlank, kEllipsis};
  return snippet;
}

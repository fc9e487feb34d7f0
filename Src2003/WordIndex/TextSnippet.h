#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "SearchResult.h"

// A line of a document's text around its first hit, as a result row shows it
// under the title: Windows-1252, line breaks, tabs (table cells) and other
// control characters turned into single blanks, cut at word boundaries with
// "…" where text was left out, and the hits that fall in it.
struct TTextSnippet {
  std::string Text;
  // Hit ranges as offsets into Text (not text positions), ascending.
  std::vector<TSearchRange> Hits;

  bool Empty() const { return Text.empty(); }
};

// Characters of context kept before and after the first hit's start.
inline constexpr int kSnippetContextBefore = 40;
inline constexpr int kSnippetContextAfter = 160;

// The snippet of `text` (the plain text the word index reads, CR LF counting
// one position) around the first of `ranges`, marking every range that falls
// in it. Empty when there is no range or the first lies beyond the text (an
// index older than the document).
//   "O imposto de renda devido" with (13, 5) gives the whole line, hit (13, 5).
TTextSnippet MakeTextSnippet(std::string_view text, const std::vector<TSearchRange>& ranges);

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TextSnippet.h"

namespace {

// The snippet's hit words, as they read in its text.
std::vector<std::string> HitWords(const TTextSnippet& snippet) {
  std::vector<std::string> words;
  for (const TSearchRange& hit : snippet.Hits) {
    EXPECT_LE(hit.End(), static_cast<int>(snippet.Text.size()));
    words.push_back(snippet.Text.substr(static_cast<size_t>(hit.Start), static_cast<size_t>(hit.Length)));
  }
  return words;
}

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(TextSnippet, HitAtTheStartKeepsTheLineWhole) {
  const TTextSnippet snippet = MakeTextSnippet("Imposto de renda devido\r\n", {{0, 7}, {11, 5}});
  EXPECT_EQ(snippet.Text, "Imposto de renda devido");
  EXPECT_EQ(snippet.Hits, (std::vector<TSearchRange>{{0, 7}, {11, 5}}));
}

TEST(TextSnippet, HitAtTheEndOfALongTextIsCutBeforeAtAWord) {
  const std::string text = Repeat("palavra ", 40) + "final imposto";
  const int at = static_cast<int>(text.size()) - 7;
  const TTextSnippet snippet = MakeTextSnippet(text, {{at, 7}});
  EXPECT_EQ(snippet.Text.substr(0, 2), "\x85 ");  // "… "
  EXPECT_EQ(snippet.Text.substr(2, 8), "palavra ");
  // A cut start skips the punctuation left at the edge.
  const TTextSnippet punctuation = MakeTextSnippet(Repeat("x", 39) + ", ; renda", {{43, 5}});
  EXPECT_EQ(punctuation.Text, "\x85 renda");
  EXPECT_EQ(snippet.Text.substr(snippet.Text.size() - 13), "final imposto");
  EXPECT_EQ(HitWords(snippet), (std::vector<std::string>{"imposto"}));
  EXPECT_LE(snippet.Text.size(), static_cast<size_t>(kSnippetContextBefore + 7 + 2));

  // Text left out after the hit is marked too, and no word is split.
  const TTextSnippet early = MakeTextSnippet("imposto " + Repeat("palavra ", 40), {{0, 7}});
  EXPECT_EQ(early.Text.substr(early.Text.size() - 9), "palavra \x85");
}

TEST(TextSnippet, LineBreaksCountOnePositionAndReadAsBlanks) {
  // Positions: imposto 9, CR LF 16, de 17, renda 20.
  const std::string text = "Trata do imposto\r\nde renda\r\nsobre a renda";
  const TTextSnippet phrase = MakeTextSnippet(text, {{9, 16}, {34, 5}});
  EXPECT_EQ(phrase.Text, "Trata do imposto de renda sobre a renda");
  EXPECT_EQ(HitWords(phrase), (std::vector<std::string>{"imposto de renda", "renda"}));
  const TTextSnippet second = MakeTextSnippet(text, {{20, 5}});
  EXPECT_EQ(HitWords(second), (std::vector<std::string>{"renda"}));
}

TEST(TextSnippet, TableCellsReadAsBlanks) {
  // A table row as the plain text holds it: cells split by tabs, Windows-1252.
  const std::string text = "Tabela\r\nICMS\t17%\tAl\xEDquota interna\r\nIPI\t5%\r\n";
  const TTextSnippet snippet = MakeTextSnippet(text, {{16, 8}});
  EXPECT_EQ(snippet.Text, "Tabela ICMS 17% Al\xEDquota interna IPI 5%");
  EXPECT_EQ(HitWords(snippet), (std::vector<std::string>{"Al\xEDquota"}));
}

TEST(TextSnippet, RangesOutsideTheTextGiveNothingOrAreCut) {
  EXPECT_TRUE(MakeTextSnippet("imposto", {}).Empty());
  EXPECT_TRUE(MakeTextSnippet("", {{0, 5}}).Empty());
  // An index older than the document: the hit lies beyond its end.
  EXPECT_TRUE(MakeTextSnippet("imposto", {{50, 5}}).Empty());
  EXPECT_TRUE(MakeTextSnippet("imposto", {{-3, 5}}).Empty());
  const TTextSnippet cut = MakeTextSnippet("o imposto", {{2, 40}});
  EXPECT_EQ(HitWords(cut), (std::vector<std::string>{"imposto"}));
  // Ranges far after the first are not in the snippet.
  const TTextSnippet far = MakeTextSnippet("renda " + Repeat("palavra ", 60) + "renda", {{0, 5}, {486, 5}});
  EXPECT_EQ(HitWords(far), (std::vector<std::string>{"renda"}));
}

}  // namespace

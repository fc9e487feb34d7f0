#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ACLUnit.h"
#include "LxCodePage.h"

namespace {

struct TWord {
  std::string Text;
  int Position;
  int Ordinal;
  bool operator==(const TWord&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TWord& word) {
  return out << "{" << word.Text << ", " << word.Position << ", " << word.Ordinal << "}";
}

// Splits UTF-8 test text as the indexer splits Windows-1252 document text.
std::vector<TWord> Split(const std::string& utf8) {
  BuildCharTables();
  std::string text = Utf8ToWin1252(utf8);
  std::vector<TWord> words;
  SplitTextWords(text.data(), [&](char* word, int length, int position, int ordinal) {
    words.push_back({Win1252ToUtf8(std::string(word, length)), position, ordinal});
  });
  return words;
}

std::vector<std::string> QueryWords(const std::string& utf8) {
  BuildCharTables();
  std::string text = Utf8ToWin1252(utf8);
  std::vector<std::string> words;
  char* cursor = text.data();
  int length = 0;
  while (NextQueryWord(cursor, length)) {
    words.push_back(Win1252ToUtf8(std::string(cursor, length)));
    cursor += length;
  }
  EXPECT_EQ(*cursor, '\0');
  return words;
}

TEST(WordSplit, SkipsShortRunsAndSplitsAtPunctuation) {
  EXPECT_EQ(Split("Decreto 1.090-R, de 2002: ICMS e IPI"),
            (std::vector<TWord>{{"decreto", 0, 0}, {"090", 10, 1}, {"2002", 20, 2},
                                {"icms", 26, 3}, {"ipi", 33, 4}}));
}

TEST(WordSplit, CountsLineBreakAsOneCharacter) {
  EXPECT_EQ(Split("AÇÃO fiscal\r\nÍndice"),
            (std::vector<TWord>{{"acao", 0, 0}, {"fiscal", 5, 1}, {"indice", 12, 2}}));
  EXPECT_EQ(Split("abc\r\ndef"), (std::vector<TWord>{{"abc", 0, 0}, {"def", 4, 1}}));
  // Only a CR directly followed by LF is one break; lone CRs and LFs count.
  EXPECT_EQ(Split("abc\r\r\n\ndef"), (std::vector<TWord>{{"abc", 0, 0}, {"def", 6, 1}}));
  EXPECT_EQ(Split("abc\r\n\r\ndef\r\nghi"),
            (std::vector<TWord>{{"abc", 0, 0}, {"def", 5, 1}, {"ghi", 9, 2}}));
}

TEST(WordSplit, LettersAndDigitsNeverMix) {
  EXPECT_EQ(Split("ABC123def"),
            (std::vector<TWord>{{"abc", 0, 0}, {"123", 3, 1}, {"def", 6, 2}}));
}

TEST(WordSplit, ShortWordsDoNotBreakAdjacency) {
  EXPECT_EQ(Split("imposto de renda"),
            (std::vector<TWord>{{"imposto", 0, 0}, {"renda", 11, 1}}));
}

TEST(WordSplit, RunsLongerThanTheEngineTakesAreSkipped) {
  const std::string longest(255, 'a');
  const std::string tooLong(256, 'b');
  EXPECT_EQ(Split("abc " + longest + " " + tooLong + " xyz"),
            (std::vector<TWord>{{"abc", 0, 0}, {longest, 4, 1}, {"xyz", 517, 2}}));
  EXPECT_EQ(QueryWords(tooLong + " xyz"), (std::vector<std::string>{"xyz"}));
}

TEST(WordSplit, EmptyAndSeparatorOnlyTextsHaveNoWords) {
  EXPECT_TRUE(Split("").empty());
  EXPECT_TRUE(Split(" , ; \r\n - 1 2 ab").empty());
}

TEST(CharTables, FoldsCaseAndPortugueseAccents) {
  EXPECT_EQ(Split("ÁÀÂÃÄ ÉÈÊË ÍÌÎÏ ÓÒÔÕÖ ÚÙÛÜ Çç").front().Text, "aaaaa");
  const std::vector<std::string> folded = QueryWords("ÁÀÂÃÄ ÉÈÊË ÍÌÎÏ ÓÒÔÕÖ ÚÙÛÜ ÇÇÇ");
  EXPECT_EQ(folded, (std::vector<std::string>{"aaaaa", "eeee", "iiii", "ooooo", "uuuu", "ccc"}));
  EXPECT_EQ(QueryWords("ŠŒŽŸ"), (std::vector<std::string>{"šœžÿ"}));
  // Letters that are not Portuguese accents keep their identity.
  EXPECT_EQ(QueryWords("ÅÆÐÑØÝÞß"), (std::vector<std::string>{"åæðñøýþß"}));
}

TEST(CharTables, ClassifiesByUnicode) {
  BuildCharTables();
  const auto classOf = [](const char* utf8) {
    return ClassTable[static_cast<unsigned char>(Utf8ToWin1252(utf8)[0])];
  };
  EXPECT_EQ(classOf("a"), kLetterClass);
  EXPECT_EQ(classOf("ª"), kLetterClass);
  EXPECT_EQ(classOf("µ"), kLetterClass);
  EXPECT_EQ(classOf("ƒ"), kLetterClass);
  EXPECT_EQ(classOf("7"), kDigitClass);
  EXPECT_EQ(classOf("²"), kSeparatorClass);
  EXPECT_EQ(classOf("½"), kSeparatorClass);
  EXPECT_EQ(classOf("×"), kSeparatorClass);
  EXPECT_EQ(classOf("÷"), kSeparatorClass);
  EXPECT_EQ(classOf("€"), kSeparatorClass);
  EXPECT_EQ(ClassTable[0], kEndClass);
  EXPECT_EQ(FoldTable[static_cast<unsigned char>('\xD7')], 0xD7);  // × has no lower case
}

TEST(NextQueryWord, FindsWordsInPlaceAndStopsAtTheEnd) {
  BuildCharTables();
  std::string phrase = "IMPOSTO de Renda";
  char* cursor = phrase.data();
  int length = 0;
  ASSERT_TRUE(NextQueryWord(cursor, length));
  EXPECT_EQ(cursor - phrase.data(), 0);
  EXPECT_EQ(length, 7);
  cursor += length;
  ASSERT_TRUE(NextQueryWord(cursor, length));
  EXPECT_EQ(cursor - phrase.data(), 11);
  EXPECT_EQ(length, 5);
  cursor += length;
  EXPECT_FALSE(NextQueryWord(cursor, length));
  EXPECT_EQ(cursor, phrase.data() + phrase.size());
  EXPECT_EQ(phrase, "imposto de renda");
}

}  // namespace

#include <string>

#include <gtest/gtest.h>

#include "Prompts.h"
#include "TempFolder.h"
#include "WordIndexLockSearch.h"
#include "WordIndexLockWrite.h"
#include "WordIndexTestSupport.h"

namespace {

class WordIndexSearch : public ::testing::Test {
 protected:
  TempFolder folder;
  TWordIndex index{folder.File("Extra")};
  TScriptedPrompts prompts;
  TScopedPrompts scopedPrompts{prompts};

  std::string Find(const std::string& phrase) { return Describe(SearchUtf8(index, phrase)); }
};

TEST_F(WordIndexSearch, OneWordMatchesEveryOccurrence) {
  const std::string text = "abcdefghi renda" + std::string(185, ' ') + "renda final";
  BuildTestIndex(index, {{7, text}, {9, "nada aqui"}});
  EXPECT_EQ(Find("renda"), "7,10:5,200:5");
  EXPECT_EQ(Find("ausente"), "");
}

TEST_F(WordIndexSearch, PhraseSkipsShortWordsAndSpansFromFirstToLastWord) {
  BuildTestIndex(index, {{1, "O imposto de renda devido"}, {2, "renda e imposto"}});
  EXPECT_EQ(Find("imposto renda"), "1,2:16");
  EXPECT_EQ(Find("imposto de renda devido"), "1,2:23");
  EXPECT_EQ(Find("renda imposto"), "2,0:15");
}

TEST_F(WordIndexSearch, IgnoresCaseAndAccents) {
  BuildTestIndex(index, {{1, "imposto"}, {2, "Imposto"}, {3, "indice"}, {4, "Índice"}});
  EXPECT_EQ(Find("IMPOSTO"), "1,0:7;2,0:7");
  EXPECT_EQ(Find("ÍNDICE"), "3,0:6;4,0:6");
}

TEST_F(WordIndexSearch, PhraseWithoutWordsFindsNothing) {
  BuildTestIndex(index, {{1, "de a o 1 2"}});
  EXPECT_EQ(Find("de a, 1"), "");
  EXPECT_EQ(Find(""), "");
}

TEST_F(WordIndexSearch, RepeatedWordMatchesOnlyRepeatedOccurrences) {
  BuildTestIndex(index, {{1, "renda renda"}, {2, "renda imposto renda"}, {3, "renda"}});
  EXPECT_EQ(Find("renda renda"), "1,0:11");
  EXPECT_EQ(Find("renda imposto renda"), "2,0:19");
}

TEST_F(WordIndexSearch, LongPhrasesNeedOneEngineSearchPerWord) {
  std::string text;
  for (int word = 0; word < 24; ++word) text += "palavra" + std::string(1, static_cast<char>('a' + word)) + " ";
  std::string phrase;
  for (int word = 2; word < 22; ++word) phrase += "palavra" + std::string(1, static_cast<char>('a' + word)) + " ";
  BuildTestIndex(index, {{5, text}});
  EXPECT_EQ(Find(phrase), "5,18:179");
}

TEST_F(WordIndexSearch, TitleMatchesFlagTheirEntryInIdOrder) {
  BuildTestIndex(index, {{5, "o imposto"}, {50, "mais imposto"}, {40000, "imposto alto"}},
                 {TitledEntry(42, "Imposto sobre a renda", "Resumo da lei"),
                  TitledEntry(5, "Outro título"), TitledEntry(35000, "Tabela", "imposto")});
  // Entries 42 and 35000 have only their title; they stand in Id order.
  EXPECT_EQ(Find("imposto"), "5,2:7;42:T;50,5:7;35000:T;40000,0:7");
  EXPECT_EQ(Find("imposto renda"), "");  // "sobre" lies between them
  EXPECT_EQ(Find("imposto sobre renda"), "42:T");
  EXPECT_EQ(Find("renda resumo"), "42:T");  // title and summary are one text
}

TEST_F(WordIndexSearch, PhraseAcrossTwoEntriesTitlesIsNoTitleMatch) {
  BuildTestIndex(index, {}, {TitledEntry(10, "alpha beta"), TitledEntry(11, "gamma delta")});
  EXPECT_EQ(Find("beta gamma"), "");
  EXPECT_EQ(Find("gamma delta"), "11:T");
}

TEST_F(WordIndexSearch, TitleEntriesAreSortedAndFoldersSkipped) {
  TTOMORecordH folderEntry = TitledEntry(3, "pasta tributaria");
  folderEntry.DocumentNumber = 0;
  TTOMORecordH bitmap = TitledEntry(4, "tabela tributaria");
  bitmap.Kind = kKindBitmap;
  BuildTestIndex(index, {}, {TitledEntry(9, "lei tributaria"), folderEntry, bitmap, TitledEntry(1, "decreto")});
  EXPECT_EQ(Find("tributaria"), "4:T;9:T");
}

TEST_F(WordIndexSearch, CombinesTwoSearches) {
  BuildTestIndex(index, {{3, "imposto"}, {7, "imposto renda"}, {9, "renda"}});
  TSearchResultList both = SearchUtf8(index, "imposto");
  both.IntersectWith(SearchUtf8(index, "renda"));
  EXPECT_EQ(Describe(both), "7,0:7,8:5");
  TSearchResultList either = SearchUtf8(index, "imposto");
  either.UnionWith(SearchUtf8(index, "renda"));
  EXPECT_EQ(Describe(either), "3,0:7;7,0:7,8:5;9,0:5");
}

TEST_F(WordIndexSearch, UpdateReplacesTheWordsOfADocument) {
  BuildTestIndex(index, {{1, "texto antigo"}, {2, "texto mantido"}});
  {
    auto update = index.OpenUpdate();
    EXPECT_EQ(update->IndexText(1, "texto novo"), 2);
  }
  EXPECT_EQ(Find("antigo"), "");
  EXPECT_EQ(Find("novo"), "1,6:4");
  EXPECT_EQ(Find("texto"), "1,0:5;2,0:5");
}

TEST_F(WordIndexSearch, DocumentGroupsOutsideTheirRangeAreNotIndexed) {
  BuildTestIndex(index, {}, {TitledEntry(8, "titulo protegido")});
  {
    auto update = index.OpenUpdate();
    EXPECT_EQ(update->IndexText(TWordIndex::TitleGroup, "invasor"), 0);
    EXPECT_EQ(update->IndexText(70000, "invasor"), 0);
    EXPECT_EQ(update->IndexText(-1, "invasor"), 0);
  }
  EXPECT_EQ(Find("invasor"), "");
  EXPECT_EQ(Find("protegido"), "8:T");
}

TEST_F(WordIndexSearch, EmbeddedZeroDoesNotCutTheTextOff) {
  {
    auto lock = index.OpenCreate();
    EXPECT_EQ(lock->IndexText(1, std::string("antes\0depois", 12)), 2);
  }
  EXPECT_EQ(Find("depois"), "1,6:6");
}

TEST_F(WordIndexSearch, SearchLockStepsThroughMatches) {
  BuildTestIndex(index, {{2, "alfa beta alfa beta"}, {6, "alfa beta"}});
  auto search = index.OpenSearch("alfa beta");
  std::string matches;
  for (; !search->Finished(); search->Advance()) {
    matches += std::to_string(search->MatchGroup()) + ":" + std::to_string(search->MatchStart()) + ":" +
               std::to_string(search->MatchLength()) + " ";
  }
  EXPECT_EQ(matches, "2:0:9 2:10:9 6:0:9 ");
  EXPECT_EQ(search->LastWordLength(), 4);
}

}  // namespace

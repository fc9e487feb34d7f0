// Search against a brute-force scan: a generated base is indexed, then many
// phrases drawn from its texts and titles (and some that do not occur) are
// searched both through the index and by comparing word lists directly.

#include <array>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ACLUnit.h"
#include "BaseGenerator.h"
#include "DocumentText.h"
#include "IndexBuildSequence.h"
#include "Prompts.h"
#include "TOMODocumentSet.h"
#include "TOMOTree.h"
#include "TempFolder.h"
#include "WordIndexTestSupport.h"

namespace {

constexpr int kEntries = 160;
constexpr int kDocuments = 110;
constexpr int kPhrases = 250;
constexpr int kCombinations = 20;

struct TTextWord {
  std::string Folded;
  std::string Original;
  int Position;
};

// The words of a Windows-1252 text by the index's rules, unfolded as well.
std::vector<TTextWord> WordsOf(const std::string& text) {
  std::string folded = text;
  std::vector<TTextWord> words;
  SplitTextWords(folded.data(), [&](char* word, int length, int position, int) {
    const auto offset = static_cast<size_t>(word - folded.data());
    words.push_back({std::string(word, length), text.substr(offset, length), position});
  });
  return words;
}

std::vector<std::string> QueryWordsOf(const std::string& phrase) {
  std::string copy = phrase;
  std::vector<std::string> words;
  char* cursor = copy.data();
  int length = 0;
  while (NextQueryWord(cursor, length)) {
    words.emplace_back(cursor, length);
    cursor += length;
  }
  return words;
}

bool MatchesAt(const std::vector<TTextWord>& words, size_t at, const std::vector<std::string>& phrase) {
  if (at + phrase.size() > words.size()) return false;
  for (size_t k = 0; k < phrase.size(); ++k) {
    if (words[at + k].Folded != phrase[k]) return false;
  }
  return true;
}

class NullReport : public TIndexBuildReport {
 public:
  void AddLog(TLineKind, const std::string&) override {}
  void ResetProgress(int) override {}
  void SetProgress(int) override {}
};

class SearchProperty : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildCharTables();
    GenerateBase(dataFolder, {kEntries, kDocuments, 20261207});
    const TTOMOTree tree(dataFolder);
    TTOMODocumentFolder documents(dataFolder);
    for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
      const TTOMORecordH& record = it.Current()->Record();
      if (record.Kind == kKindRichText) texts[record.Id] = WordsOf(ReadDocumentText(documents, record.DocumentNumber));
      if (record.DocumentNumber != 0) titles[record.Id] = WordsOf(record.Title + "\r\n" + record.Summary);
    }
    NullReport report;
    TIndexBuildSequence build(index, tree, documents, report);
    while (build.Step()) {
    }
  }

  // The search result as the brute-force scan sees it.
  TSearchResultList Expected(const std::string& phrase) {
    const std::vector<std::string> words = QueryWordsOf(phrase);
    TSearchResultList expected;
    if (words.empty()) return expected;
    for (const auto& [id, titleWords] : titles) {
      for (size_t at = 0; at < titleWords.size(); ++at) {
        if (MatchesAt(titleWords, at, words)) expected.FindOrInsert(id).SetTitleMatch(true);
      }
    }
    for (const auto& [id, textWords] : texts) {
      for (size_t at = 0; at < textWords.size(); ++at) {
        if (!MatchesAt(textWords, at, words)) continue;
        const TTextWord& last = textWords[at + words.size() - 1];
        const int start = textWords[at].Position;
        expected.FindOrInsert(id).AddRange(start, last.Position + static_cast<int>(last.Folded.size()) - start);
      }
    }
    return expected;
  }

  // Words i..i+k-1 of a list, as the user might type them: the original
  // letters, joined by blanks or by whatever stood between them.
  std::string PhraseFrom(const std::vector<TTextWord>& words) {
    if (words.empty()) return "";
    const size_t count = std::uniform_int_distribution<size_t>(1, 3)(random);
    const size_t at = std::uniform_int_distribution<size_t>(0, words.size() - 1)(random);
    std::string phrase;
    for (size_t k = at; k < std::min(words.size(), at + count); ++k) phrase += words[k].Original + " ";
    return phrase;
  }

  template <class TMap>
  const std::vector<TTextWord>& AnyOf(const TMap& map) {
    auto it = map.begin();
    std::advance(it, std::uniform_int_distribution<size_t>(0, map.size() - 1)(random));
    return it->second;
  }

  std::string RandomPhrase() {
    switch (std::uniform_int_distribution<int>(0, 9)(random)) {
      case 0:
      case 1:
        return PhraseFrom(AnyOf(titles));
      case 2:  // two words that rarely stand together
        return PhraseFrom(AnyOf(texts)) + " " + PhraseFrom(AnyOf(texts));
      case 3:  // a word that does not occur
        return PhraseFrom(AnyOf(texts)) + "xyzq";
      case 4: {  // a repeated word
        const std::string word = PhraseFrom(AnyOf(texts));
        return word + word;
      }
      default:
        return PhraseFrom(AnyOf(texts));
    }
  }

  TempFolder folder;
  std::string dataFolder = folder.File("Dados");
  TWordIndex index{folder.File("Extra")};
  TScriptedPrompts prompts;
  TScopedPrompts scopedPrompts{prompts};
  std::map<std::int32_t, std::vector<TTextWord>> texts;
  std::map<std::int32_t, std::vector<TTextWord>> titles;
  std::mt19937 random{42};
};

TEST_F(SearchProperty, SearchAgreesWithABruteForceScan) {
  ASSERT_GT(texts.size(), 50u);
  int phrasesFound = 0;
  for (int i = 0; i < kPhrases; ++i) {
    const std::string phrase = RandomPhrase();
    const std::string expected = Describe(Expected(phrase));
    ASSERT_EQ(Describe(index.Search(phrase)), expected) << "phrase: " << phrase;
    if (!expected.empty()) ++phrasesFound;
  }
  EXPECT_GT(phrasesFound, kPhrases / 2);  // the draw really exercises matches
}

TSearchResultList KeptByTitles(TSearchResultList list) {
  list.Filter([](const TSearchResult& result) { return result.TitleMatch(); });
  return list;
}

TEST_F(SearchProperty, ATitlesOnlySearchIsTheSearchLessEntriesWithoutTitleMatch) {
  int titledFound = 0;
  for (int i = 0; i < kPhrases; ++i) {
    const std::string phrase = RandomPhrase();
    const std::string expected = Describe(KeptByTitles(Expected(phrase)));
    ASSERT_EQ(Describe(index.Search(phrase, TWordIndex::TSearchScope::Titles)), expected) << "phrase: " << phrase;
    if (!expected.empty()) ++titledFound;
  }
  EXPECT_GT(titledFound, kPhrases / 10);
}

TEST_F(SearchProperty, TitlesOnlySearchesCombineWithEAsTheFilteredSearches) {
  for (int i = 0; i < kCombinations; ++i) {
    const std::string first = PhraseFrom(AnyOf(titles));
    const std::string second = PhraseFrom(AnyOf(i % 2 ? titles : texts));
    TSearchResultList filtered = index.Search(first);
    filtered.IntersectWith(index.Search(second));
    TSearchResultList scoped = index.Search(first, TWordIndex::TSearchScope::Titles);
    scoped.IntersectWith(index.Search(second, TWordIndex::TSearchScope::Titles));
    EXPECT_EQ(Describe(scoped), Describe(KeptByTitles(std::move(filtered)))) << first << " E " << second;
  }
}

// Entry Ids of a list with the title flag: "3 7T 9".
std::string IdsOf(const TSearchResultList& list) {
  std::string ids;
  for (int k = 0; k < list.Count(); ++k) {
    ids += std::to_string(list.Items(k).DocumentId()) + (list.Items(k).TitleMatch() ? "T " : " ");
  }
  return ids;
}

TEST_F(SearchProperty, CombinationsAgreeWithTheScan) {
  for (int i = 0; i < kCombinations; ++i) {
    const std::string first = PhraseFrom(AnyOf(i % 2 ? titles : texts));
    const std::string second = PhraseFrom(AnyOf(texts));
    // Entry -> (in first, title of first, in second, title of second).
    std::map<std::int32_t, std::array<bool, 4>> sides;
    const TSearchResultList firstExpected = Expected(first), secondExpected = Expected(second);
    for (int k = 0; k < firstExpected.Count(); ++k) {
      auto& side = sides[firstExpected.Items(k).DocumentId()];
      side[0] = true;
      side[1] = firstExpected.Items(k).TitleMatch();
    }
    for (int k = 0; k < secondExpected.Count(); ++k) {
      auto& side = sides[secondExpected.Items(k).DocumentId()];
      side[2] = true;
      side[3] = secondExpected.Items(k).TitleMatch();
    }
    std::string expectedBoth, expectedEither;
    for (const auto& [id, side] : sides) {
      expectedEither += std::to_string(id) + (side[1] || side[3] ? "T " : " ");
      if (side[0] && side[2]) expectedBoth += std::to_string(id) + (side[1] && side[3] ? "T " : " ");
    }

    TSearchResultList both = index.Search(first);
    both.IntersectWith(index.Search(second));
    TSearchResultList either = index.Search(first);
    either.UnionWith(index.Search(second));
    EXPECT_EQ(IdsOf(both), expectedBoth) << first << " E " << second;
    EXPECT_EQ(IdsOf(either), expectedEither) << first << " Ou " << second;
  }
}

}  // namespace

#include "QueryChoice.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <unordered_map>

#include "Corpus.h"

namespace engines {
namespace {

constexpr unsigned kSeed = 20261207;
// Words longer than this are left out: Xapian refuses them as terms.
constexpr std::size_t kMaxQueryWordBytes = 200;
// Very common words: the most frequent ones, fewer than the other classes.
constexpr int kCommonWords = 10;
// Medium words lie in this share of the documents.
constexpr double kMediumMinShare = 0.01;
constexpr double kMediumMaxShare = 0.10;
// Rare words are drawn from this share of the vocabulary with the lowest counts.
constexpr double kRareVocabularyShare = 0.05;

Query MakeQuery(const std::vector<std::string>& tokens) {
  Query query;
  query.tokens = tokens;
  for (const std::string& token : tokens) query.text += (query.text.empty() ? "" : " ") + token;
  return query;
}

bool Usable(const std::string& word) { return word.size() <= kMaxQueryWordBytes; }

// `count` entries of `pool`, drawn without repetition.
template <typename T>
std::vector<T> Draw(std::vector<T> pool, std::size_t count, std::mt19937& random) {
  std::shuffle(pool.begin(), pool.end(), random);
  if (pool.size() > count) pool.resize(count);
  return pool;
}

}  // namespace

std::vector<ClassedQuery> ChooseQueries(const std::string& corpusFile, int perClass) {
  std::mt19937 random(kSeed);
  std::unordered_map<std::string, int> documentCounts;
  std::vector<std::vector<std::string>> phraseSources;  // tokens of a few sampled documents
  int documents = 0;
  ForEachDocument(corpusFile, [&](Document& document) {
    ++documents;
    std::vector<std::string> tokens = TokensOf(std::move(document.text));
    for (const std::string& word : std::set<std::string>(tokens.begin(), tokens.end())) ++documentCounts[word];
    // Every 97th document is a phrase source: spread over the whole corpus.
    if (documents % 97 == 1 && tokens.size() >= 3) phraseSources.push_back(std::move(tokens));
  });

  std::vector<std::pair<int, std::string>> byCount;
  for (const auto& [word, count] : documentCounts) {
    if (Usable(word)) byCount.emplace_back(count, word);
  }
  std::sort(byCount.begin(), byCount.end());
  std::vector<ClassedQuery> queries;
  auto add = [&](const std::string& queryClass, const std::vector<std::string>& tokens) {
    queries.push_back({queryClass, MakeQuery(tokens)});
  };

  const auto rareEnd = byCount.begin() + static_cast<std::ptrdiff_t>(
                                             std::max<double>(perClass, byCount.size() * kRareVocabularyShare));
  for (const auto& [count, word] : Draw(std::vector(byCount.begin(), std::min(rareEnd, byCount.end())),
                                        static_cast<std::size_t>(perClass), random)) {
    add("rare", {word});
  }
  std::vector<std::pair<int, std::string>> medium;
  for (const auto& entry : byCount) {
    if (entry.first >= documents * kMediumMinShare && entry.first <= documents * kMediumMaxShare) {
      medium.push_back(entry);
    }
  }
  for (const auto& [count, word] : Draw(medium, static_cast<std::size_t>(perClass), random)) add("medium", {word});
  for (int i = 0; i < kCommonWords && i < static_cast<int>(byCount.size()); ++i) {
    add("common", {byCount[byCount.size() - 1 - static_cast<std::size_t>(i)].second});
  }
  for (std::size_t words : {2u, 3u}) {
    for (int i = 0; i < perClass && !phraseSources.empty(); ++i) {
      const auto& tokens = phraseSources[random() % phraseSources.size()];
      const std::size_t start = random() % (tokens.size() - words + 1);
      std::vector<std::string> phrase(tokens.begin() + static_cast<std::ptrdiff_t>(start),
                                      tokens.begin() + static_cast<std::ptrdiff_t>(start + words));
      if (std::all_of(phrase.begin(), phrase.end(), Usable)) add("phrase" + std::to_string(words), phrase);
    }
  }
  return queries;
}

void WriteQueries(const std::vector<ClassedQuery>& queries, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  for (const ClassedQuery& q : queries) out << q.queryClass << '\t' << q.query.text << '\n';
}

std::vector<ClassedQuery> ReadQueries(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<ClassedQuery> queries;
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    std::vector<std::string> tokens;
    std::istringstream words(line.substr(tab + 1));
    for (std::string word; words >> word;) tokens.push_back(word);
    queries.push_back({line.substr(0, tab), MakeQuery(tokens)});
  }
  return queries;
}

}  // namespace engines

#include "QueryPasses.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "Corpus.h"
#include "Engine.h"
#include "QueryChoice.h"

namespace engines {
namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned long long kFnvOffset = 1469598103934665603ull;
constexpr unsigned long long kFnvPrime = 1099511628211ull;
// Warms a fresh process: a word in no document and in no query.
const char* const kWarmUpWord = "qqzzqqzzxx";

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void PrintAnswer(std::size_t index, const std::vector<int>& documents, const std::vector<double>& times) {
  std::printf("%zu %zu %llu", index, documents.size(), HashOfDocuments(documents));
  for (double t : times) std::printf(" %.4f", t);
  std::printf("\n");
}

std::vector<int> TimedSearch(Engine& engine, const Query& query, std::vector<double>& times) {
  const auto start = Clock::now();
  std::vector<int> documents = engine.Search(query);
  times.push_back(Ms(Clock::now() - start));
  return documents;
}

}  // namespace

unsigned long long HashOfDocuments(const std::vector<int>& documents) {
  unsigned long long hash = kFnvOffset;
  for (int number : documents) {
    hash ^= static_cast<std::uint32_t>(number);
    hash *= kFnvPrime;
  }
  return hash;
}

int RunBuild(const std::string& engine, const std::string& corpus, const std::string& folder) {
  MakeEngine(engine)->Build(corpus, folder);
  return 0;
}

int RunWarm(const std::string& name, const std::string& folder, const std::string& queryFile) {
  const std::vector<ClassedQuery> queries = ReadQueries(queryFile);
  const std::unique_ptr<Engine> engine = MakeEngine(name);
  engine->Open(folder);
  engine->Search(Query{kWarmUpWord, {kWarmUpWord}});
  std::vector<std::vector<double>> times(queries.size());
  std::vector<std::vector<int>> documents(queries.size());
  for (std::size_t i = 0; i < queries.size(); ++i) documents[i] = TimedSearch(*engine, queries[i].query, times[i]);
  for (int run = 0; run < kRepeatedRuns; ++run) {
    for (std::size_t i = 0; i < queries.size(); ++i) {
      if (TimedSearch(*engine, queries[i].query, times[i]) != documents[i]) documents[i] = {-1};  // unstable
    }
  }
  for (std::size_t i = 0; i < queries.size(); ++i) PrintAnswer(i, documents[i], times[i]);
  return 0;
}

int RunCold(const std::string& name, const std::string& folder, const std::string& queryFile, std::size_t index) {
  const std::vector<ClassedQuery> queries = ReadQueries(queryFile);
  const std::unique_ptr<Engine> engine = MakeEngine(name);
  const auto start = Clock::now();
  engine->Open(folder);
  const std::vector<int> documents = engine->Search(queries.at(index).query);
  PrintAnswer(index, documents, {Ms(Clock::now() - start)});
  return 0;
}

Answers ReadAnswers(const std::string& path) {
  Answers answers;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::size_t index;
    Answer answer;
    if (!(fields >> index >> answer.count >> answer.hash)) continue;
    for (double ms; fields >> ms;) answer.ms.push_back(ms);
    answers[index] = answer;
  }
  return answers;
}

}  // namespace engines

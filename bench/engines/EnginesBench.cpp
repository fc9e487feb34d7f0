// bench_engines: lexdex against SQLite FTS5 and Xapian on the same documents,
// tokenized by the word index's own tokenizer, with word positions in all
// three. See README.md for the corpus and the one command that runs it all.
//
//   bench_engines run WORK (--pages FOLDER | --base DATA) --documents N
//                 [--per-class K] [--engines lexdex,lexdex-engine,sqlite,xapian]
//
// Every build and every query pass runs in a process of its own, started by
// the driver, which reads its wall time, CPU time and peak memory:
//   build ENGINE CORPUS FOLDER           builds one index
//   warm ENGINE FOLDER QUERIES           each query once untimed, then timed
//   cold ENGINE FOLDER QUERIES INDEX     one query, the first of the process
// The driver checks that the engines return the same documents per query.

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "ChildProcess.h"
#include "Corpus.h"
#include "Engine.h"
#include "QueryChoice.h"

namespace engines {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kWarmRuns = 3;
constexpr int kDefaultPerClass = 20;
constexpr double kBytesPerMiB = 1024.0 * 1024.0;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// FNV-1a over the document numbers: equal answers give equal hashes.
std::uint64_t HashOf(const std::vector<int>& documents) {
  std::uint64_t hash = 1469598103934665603ull;
  for (int number : documents) {
    hash ^= static_cast<std::uint32_t>(number);
    hash *= 1099511628211ull;
  }
  return hash;
}

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(share * static_cast<double>(values.size()) + 0.999999);
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

std::uint64_t FolderBytes(const fs::path& folder) {
  std::uint64_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) bytes += entry.file_size();
  }
  return bytes;
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

// --- child processes --------------------------------------------------------

int RunBuild(const std::string& name, const std::string& corpus, const std::string& folder) {
  MakeEngine(name)->Build(corpus, folder);
  return 0;
}

void PrintAnswer(std::size_t index, const std::vector<int>& documents) {
  std::printf("%zu %zu %llu", index, documents.size(), static_cast<unsigned long long>(HashOf(documents)));
}

int RunWarm(const std::string& name, const std::string& folder, const std::string& queryFile) {
  const std::vector<ClassedQuery> queries = ReadQueries(queryFile);
  const std::unique_ptr<Engine> engine = MakeEngine(name);
  engine->Open(folder);
  for (const ClassedQuery& q : queries) engine->Search(q.query);  // warm-up, untimed
  for (std::size_t i = 0; i < queries.size(); ++i) {
    std::vector<int> documents;
    std::vector<double> times;
    for (int run = 0; run < kWarmRuns; ++run) {
      const auto start = Clock::now();
      documents = engine->Search(queries[i].query);
      times.push_back(Ms(Clock::now() - start));
    }
    PrintAnswer(i, documents);
    for (double t : times) std::printf(" %.4f", t);
    std::printf("\n");
  }
  return 0;
}

int RunCold(const std::string& name, const std::string& folder, const std::string& queryFile, std::size_t index) {
  const std::vector<ClassedQuery> queries = ReadQueries(queryFile);
  const std::unique_ptr<Engine> engine = MakeEngine(name);
  const auto start = Clock::now();
  engine->Open(folder);
  const std::vector<int> documents = engine->Search(queries.at(index).query);
  const double ms = Ms(Clock::now() - start);
  PrintAnswer(index, documents);
  std::printf(" %.4f\n", ms);
  return 0;
}

// --- the driver -------------------------------------------------------------

struct Answer {
  std::size_t count = 0;
  unsigned long long hash = 0;
  std::vector<double> ms;
};

// Lines "index count hash ms..." of a child's output.
std::map<std::size_t, Answer> ReadAnswers(const std::string& path) {
  std::map<std::size_t, Answer> answers;
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

struct EngineRun {
  std::string name;
  ChildCost build;
  std::uint64_t indexBytes = 0;
  ChildCost warm;
  double coldCpuSeconds = 0;
  std::map<std::size_t, Answer> warmAnswers;
  std::map<std::size_t, Answer> coldAnswers;
};

EngineRun MeasureEngine(const std::string& name, const fs::path& work, const std::string& corpus,
                        const std::string& queryFile, std::size_t queryCount) {
  EngineRun run;
  run.name = name;
  const fs::path folder = work / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string out = (work / (name + ".out")).string();
  std::fprintf(stderr, "%s: building (load %s)\n", name.c_str(), LoadAverage().c_str());
  run.build = RunSelf({"build", name, corpus, folder.string()}, out);
  if (run.build.exitCode != 0) throw std::runtime_error(name + " build failed");
  run.indexBytes = FolderBytes(folder);
  std::fprintf(stderr, "%s: warm queries\n", name.c_str());
  run.warm = RunSelf({"warm", name, folder.string(), queryFile}, out);
  run.warmAnswers = ReadAnswers(out);
  std::fprintf(stderr, "%s: cold queries\n", name.c_str());
  for (std::size_t i = 0; i < queryCount; ++i) {
    const ChildCost cost = RunSelf({"cold", name, folder.string(), queryFile, std::to_string(i)}, out);
    run.coldCpuSeconds += cost.cpuSeconds;
    for (const auto& [index, answer] : ReadAnswers(out)) run.coldAnswers[index] = answer;
  }
  return run;
}

// Queries whose answers differ between the engines (warm and cold passes).
int CountDisagreements(const std::vector<EngineRun>& runs, const std::vector<ClassedQuery>& queries) {
  int disagreements = 0;
  for (std::size_t i = 0; i < queries.size(); ++i) {
    const auto referenceFound = runs.front().warmAnswers.find(i);
    const Answer reference = referenceFound == runs.front().warmAnswers.end() ? Answer{} : referenceFound->second;
    bool agree = true;
    for (const EngineRun& run : runs) {
      for (const auto* answers : {&run.warmAnswers, &run.coldAnswers}) {
        auto found = answers->find(i);
        agree = agree && found != answers->end() && found->second.hash == reference.hash &&
                found->second.count == reference.count;
      }
    }
    if (!agree) {
      ++disagreements;
      std::printf("DIFFERENT ANSWERS for %s \"%s\":", queries[i].queryClass.c_str(), queries[i].query.text.c_str());
      for (const EngineRun& run : runs) {
        auto found = run.warmAnswers.find(i);
        std::printf(" %s %zu", run.name.c_str(), found == run.warmAnswers.end() ? 0 : found->second.count);
      }
      std::printf("\n");
    }
  }
  return disagreements;
}

void PrintTable(const std::vector<EngineRun>& runs, const std::vector<ClassedQuery>& queries) {
  std::printf("\n| engine | build s | build CPU s | peak RSS MB | index MB | warm pass CPU s | cold pass CPU s |\n");
  std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
  for (const EngineRun& run : runs) {
    std::printf("| %s | %.2f | %.2f | %.1f | %.1f | %.2f | %.2f |\n", run.name.c_str(), run.build.wallSeconds,
                run.build.cpuSeconds, run.build.peakRssMb, static_cast<double>(run.indexBytes) / kBytesPerMiB,
                run.warm.cpuSeconds, run.coldCpuSeconds);
  }
  std::printf("\n| engine | class | queries | hits median | warm p50 ms | warm p95 ms | cold p50 ms | cold p95 ms |\n");
  std::printf("|---|---|---:|---:|---:|---:|---:|---:|\n");
  for (const EngineRun& run : runs) {
    for (const std::string& queryClass : kQueryClasses) {
      std::vector<double> warm, cold, hits;
      for (std::size_t i = 0; i < queries.size(); ++i) {
        if (queries[i].queryClass != queryClass) continue;
        auto w = run.warmAnswers.find(i);
        if (w != run.warmAnswers.end()) {
          warm.insert(warm.end(), w->second.ms.begin(), w->second.ms.end());
          hits.push_back(static_cast<double>(w->second.count));
        }
        auto c = run.coldAnswers.find(i);
        if (c != run.coldAnswers.end()) cold.insert(cold.end(), c->second.ms.begin(), c->second.ms.end());
      }
      std::printf("| %s | %s | %zu | %.0f | %.3f | %.3f | %.3f | %.3f |\n", run.name.c_str(), queryClass.c_str(),
                  hits.size(), Percentile(hits, 0.5), Percentile(warm, 0.5), Percentile(warm, 0.95),
                  Percentile(cold, 0.5), Percentile(cold, 0.95));
    }
  }
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, ',');) parts.push_back(part);
  return parts;
}

int RunDriver(const std::vector<std::string>& args) {
  if (args.empty()) throw std::runtime_error("run WORK (--pages FOLDER | --base DATA) --documents N");
  const fs::path work = args[0];
  std::string pages, base, engineList = "lexdex,lexdex-engine,sqlite,xapian";
  int documents = 25000, perClass = kDefaultPerClass;
  for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
    if (args[i] == "--pages") pages = args[i + 1];
    else if (args[i] == "--base") base = args[i + 1];
    else if (args[i] == "--documents") documents = std::stoi(args[i + 1]);
    else if (args[i] == "--per-class") perClass = std::stoi(args[i + 1]);
    else if (args[i] == "--engines") engineList = args[i + 1];
    else throw std::runtime_error("unknown option " + args[i]);
  }
  fs::create_directories(work);
  const std::string corpus = (work / "corpus.bin").string();
  const int written = pages.empty() ? WriteCorpusFromBase(base, documents, corpus)
                                    : WriteCorpusFromPages(pages, documents, corpus);
  const std::vector<ClassedQuery> queries = ChooseQueries(corpus, perClass);
  const std::string queryFile = (work / "queries.txt").string();
  WriteQueries(queries, queryFile);
  std::printf("corpus: %d documents, %.1f MB of text (%s); %zu queries; load average %s\n", written,
              static_cast<double>(fs::file_size(corpus)) / kBytesPerMiB, pages.empty() ? base.c_str() : pages.c_str(),
              queries.size(), LoadAverage().c_str());
  std::vector<EngineRun> runs;
  for (const std::string& name : SplitCommas(engineList)) {
    runs.push_back(MeasureEngine(name, work, corpus, queryFile, queries.size()));
  }
  PrintTable(runs, queries);
  const int disagreements = CountDisagreements(runs, queries);
  std::printf("\nanswers: %s; load average at the end %s\n",
              disagreements == 0 ? "all engines agree on every query" : "ENGINES DISAGREE", LoadAverage().c_str());
  return disagreements == 0 ? 0 : 1;
}

}  // namespace
}  // namespace engines

int main(int argc, char** argv) {
  using namespace engines;
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 4 && args[0] == "build") return RunBuild(args[1], args[2], args[3]);
    if (args.size() == 4 && args[0] == "warm") return RunWarm(args[1], args[2], args[3]);
    if (args.size() == 5 && args[0] == "cold") return RunCold(args[1], args[2], args[3], std::stoul(args[4]));
    if (!args.empty() && args[0] == "run") return RunDriver({args.begin() + 1, args.end()});
    std::fprintf(stderr, "usage: bench_engines run WORK (--pages FOLDER | --base DATA) --documents N "
                         "[--per-class K] [--engines lexdex,lexdex-engine,sqlite,xapian]\n");
    return 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_engines: %s\n", error.what());
    return 1;
  }
}

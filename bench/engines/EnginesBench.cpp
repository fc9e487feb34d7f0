// bench_engines: lexdex against SQLite FTS5 and Xapian on the same documents,
// tokenized by the word index's own tokenizer, with word positions in all
// three, on the local disk and on a simulated network folder. See README.md
// for the corpus and the one command that runs it all.
//
//   bench_engines run WORK (--pages FOLDER | --base DATA) --documents N
//                 [--per-class K] [--engines lexdex,lexdex-engine,sqlite,xapian]
//                 [--delays 0,0.2,1] [--reuse]
//
// Every build and every query pass runs in a process of its own, started by
// the driver, which reads its wall time, CPU time and peak memory:
//   build ENGINE CORPUS FOLDER           builds one index
//   warm ENGINE FOLDER QUERIES           each query once (distinct), then
//                                        three more times (repeated)
//   cold ENGINE FOLDER QUERIES INDEX     one query, the first of the process
// With a delay above 0 the query processes see the engine's folder as a
// network folder: libnetwork_folder_shim.so (built beside this program) adds
// that many milliseconds to every open, read, write, stat and close under it.
// pandecta-tool search runs once per query as a user would, at each delay.
// The driver checks that all of them return the same documents per query.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "ChildProcess.h"
#include "Corpus.h"
#include "Engine.h"
#include "LxCodePage.h"
#include "QueryChoice.h"
#include "QueryPasses.h"
#include "Report.h"

namespace engines {
namespace {

namespace fs = std::filesystem;

constexpr int kDefaultPerClass = 20;
constexpr double kBytesPerMiB = 1024.0 * 1024.0;
constexpr double kMicrosecondsPerMs = 1000.0;
constexpr const char* kShimName = "libnetwork_folder_shim.so";
constexpr const char* kToolName = "pandecta-tool";
// The engine whose index pandecta-tool searches: the one built as the
// program builds it.
constexpr const char* kProgramEngine = "lexdex";
// Written into an engine's folder once its build has finished.
constexpr const char* kBuiltMarker = "built.ok";

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

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, ',');) parts.push_back(part);
  return parts;
}

// The environment that makes `folder` a network folder with `delayMs` per
// call; none for the local disk.
std::vector<std::string> NetworkFolderEnvironment(const fs::path& folder, double delayMs) {
  if (delayMs <= 0) return {};
  const fs::path shim = fs::path(OwnFolder()) / kShimName;
  if (!fs::exists(shim)) throw std::runtime_error(shim.string() + " missing: build network_folder_shim");
  char delay[32];
  std::snprintf(delay, sizeof delay, "%g", delayMs * kMicrosecondsPerMs);
  return {"LD_PRELOAD=" + shim.string(), "NETFOLDER_PATH=" + fs::absolute(folder).string(),
          std::string("NETFOLDER_DELAY_US=") + delay};
}

struct Settings {
  fs::path work;
  std::string pages, base;
  int documents = 25000;
  int perClass = kDefaultPerClass;
  std::vector<std::string> engines = {"lexdex", "lexdex-engine", "sqlite", "xapian"};
  std::vector<double> delaysMs = {0, 0.2, 1};
  bool reuse = false;
};

Settings ParseSettings(const std::vector<std::string>& args) {
  if (args.empty()) throw std::runtime_error("run WORK (--pages FOLDER | --base DATA) --documents N");
  Settings settings;
  settings.work = args[0];
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--reuse") {
      settings.reuse = true;
      continue;
    }
    if (i + 1 >= args.size()) throw std::runtime_error("missing value of " + args[i]);
    const std::string& value = args[++i];
    if (args[i - 1] == "--pages") settings.pages = value;
    else if (args[i - 1] == "--base") settings.base = value;
    else if (args[i - 1] == "--documents") settings.documents = std::stoi(value);
    else if (args[i - 1] == "--per-class") settings.perClass = std::stoi(value);
    else if (args[i - 1] == "--engines") settings.engines = SplitCommas(value);
    else if (args[i - 1] == "--delays") {
      settings.delaysMs.clear();
      for (const std::string& delay : SplitCommas(value)) settings.delaysMs.push_back(std::stod(delay));
    } else {
      throw std::runtime_error("unknown option " + args[i - 1]);
    }
  }
  return settings;
}

BuildRun BuildEngine(const std::string& name, const fs::path& work, const std::string& corpus, bool reuse) {
  BuildRun build;
  build.engine = name;
  const fs::path folder = work / name;
  if (reuse && fs::exists(folder / kBuiltMarker)) {
    build.reused = true;
    build.indexBytes = FolderBytes(folder);
    return build;
  }
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::fprintf(stderr, "%s: building (load %s)\n", name.c_str(), LoadAverage().c_str());
  build.cost = RunSelf({"build", name, corpus, folder.string()}, (work / (name + ".out")).string());
  if (build.cost.exitCode != 0) throw std::runtime_error(name + " build failed");
  build.indexBytes = FolderBytes(folder);
  std::ofstream(folder / kBuiltMarker) << "built\n";
  return build;
}

QueryRun MeasureQueries(const std::string& name, double delayMs, const fs::path& work, const std::string& queryFile,
                        std::size_t queryCount) {
  QueryRun run;
  run.engine = name;
  run.delayMs = delayMs;
  const fs::path folder = work / name;
  const std::vector<std::string> environment = NetworkFolderEnvironment(folder, delayMs);
  const std::string out = (work / (name + ".out")).string();
  std::fprintf(stderr, "%s at %g ms per call: warm queries (load %s)\n", name.c_str(), delayMs, LoadAverage().c_str());
  run.warm = RunSelf({"warm", name, folder.string(), queryFile}, out, environment);
  run.warmAnswers = ReadAnswers(out);
  std::fprintf(stderr, "%s at %g ms per call: cold queries\n", name.c_str(), delayMs);
  for (std::size_t i = 0; i < queryCount; ++i) {
    const ChildCost cost = RunSelf({"cold", name, folder.string(), queryFile, std::to_string(i)}, out, environment);
    run.coldCpuSeconds += cost.cpuSeconds;
    for (const auto& [index, answer] : ReadAnswers(out)) run.coldAnswers[index] = answer;
  }
  return run;
}

// The documents of pandecta-tool's output: the first field of each line.
std::vector<int> DocumentsOfToolOutput(const std::string& path) {
  std::vector<int> documents;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty()) documents.push_back(std::stoi(line.substr(0, line.find('\t'))));
  }
  return documents;
}

ToolRun MeasureTool(double delayMs, const fs::path& work, const std::vector<ClassedQuery>& queries) {
  ToolRun run;
  run.delayMs = delayMs;
  const fs::path tool = fs::path(OwnFolder()) / kToolName;
  const fs::path folder = work / kProgramEngine;
  const std::vector<std::string> environment = NetworkFolderEnvironment(folder, delayMs);
  const std::string out = (work / "tool.out").string();
  std::fprintf(stderr, "pandecta-tool at %g ms per call\n", delayMs);
  for (std::size_t i = 0; i < queries.size(); ++i) {
    const ChildCost cost =
        RunProgram(tool.string(), {"search", folder.string(), Win1252ToUtf8(queries[i].query.text)}, out, environment);
    run.cpuSeconds += cost.cpuSeconds;
    if (cost.exitCode != 0) continue;
    const std::vector<int> documents = DocumentsOfToolOutput(out);
    run.answers[i] = Answer{documents.size(), HashOfDocuments(documents), {cost.wallSeconds * kMicrosecondsPerMs}};
  }
  return run;
}

int RunDriver(const std::vector<std::string>& args) {
  const Settings settings = ParseSettings(args);
  fs::create_directories(settings.work);
  const std::string corpus = (settings.work / "corpus.bin").string();
  const std::string queryFile = (settings.work / "queries.txt").string();
  int written = 0;
  if (!settings.reuse || !fs::exists(corpus) || !fs::exists(queryFile)) {
    written = settings.pages.empty() ? WriteCorpusFromBase(settings.base, settings.documents, corpus)
                                     : WriteCorpusFromPages(settings.pages, settings.documents, corpus);
    WriteQueries(ChooseQueries(corpus, settings.perClass), queryFile);
  }
  const std::vector<ClassedQuery> queries = ReadQueries(queryFile);
  std::printf("corpus: %s%.1f MB of text (%s); %zu queries; load average %s\n",
              written > 0 ? (std::to_string(written) + " documents, ").c_str() : "",
              static_cast<double>(fs::file_size(corpus)) / kBytesPerMiB,
              settings.pages.empty() ? settings.base.c_str() : settings.pages.c_str(), queries.size(),
              LoadAverage().c_str());
  std::vector<BuildRun> builds;
  for (const std::string& name : settings.engines) builds.push_back(BuildEngine(name, settings.work, corpus, settings.reuse));
  std::vector<QueryRun> runs;
  std::vector<ToolRun> tools;
  const bool programEngineMeasured =
      std::find(settings.engines.begin(), settings.engines.end(), kProgramEngine) != settings.engines.end();
  for (double delayMs : settings.delaysMs) {
    for (const std::string& name : settings.engines) {
      runs.push_back(MeasureQueries(name, delayMs, settings.work, queryFile, queries.size()));
    }
    if (programEngineMeasured) tools.push_back(MeasureTool(delayMs, settings.work, queries));
  }
  PrintBuilds(builds);
  PrintQueryRuns(runs, queries);
  PrintToolRuns(tools, queries);
  const int disagreements = CountDisagreements(runs, tools, queries);
  std::printf("\nanswers: %s; load average at the end %s\n",
              disagreements == 0 ? "all engines, passes and delays agree on every query" : "ENGINES DISAGREE",
              LoadAverage().c_str());
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
                         "[--per-class K] [--engines lexdex,lexdex-engine,sqlite,xapian] [--delays 0,0.2,1] "
                         "[--reuse]\n");
    return 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_engines: %s\n", error.what());
    return 1;
  }
}

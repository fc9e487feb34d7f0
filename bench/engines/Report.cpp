#include "Report.h"

#include <algorithm>
#include <cstdio>

namespace engines {
namespace {

constexpr double kBytesPerMiB = 1024.0 * 1024.0;
constexpr double kMedian = 0.5;
constexpr double kHigh = 0.95;

// The value at `share` of the sorted values (nearest rank).
double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(share * static_cast<double>(values.size()) + 0.999999);
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

struct ClassTimes {
  std::vector<double> hits, cold, distinct, repeated;
};

ClassTimes TimesOfClass(const QueryRun& run, const std::vector<ClassedQuery>& queries, const std::string& queryClass) {
  ClassTimes times;
  for (std::size_t i = 0; i < queries.size(); ++i) {
    if (queries[i].queryClass != queryClass) continue;
    const auto warm = run.warmAnswers.find(i);
    if (warm != run.warmAnswers.end() && !warm->second.ms.empty()) {
      times.hits.push_back(static_cast<double>(warm->second.count));
      times.distinct.push_back(warm->second.ms.front());
      times.repeated.insert(times.repeated.end(), warm->second.ms.begin() + 1, warm->second.ms.end());
    }
    const auto cold = run.coldAnswers.find(i);
    if (cold != run.coldAnswers.end()) times.cold.insert(times.cold.end(), cold->second.ms.begin(), cold->second.ms.end());
  }
  return times;
}

bool SameAnswer(const Answers& answers, std::size_t index, const Answer& reference) {
  const auto found = answers.find(index);
  return found != answers.end() && found->second.hash == reference.hash && found->second.count == reference.count;
}

}  // namespace

void PrintBuilds(const std::vector<BuildRun>& builds) {
  std::printf("\n| engine | build s | build CPU s | peak RSS MB | index MB |\n|---|---:|---:|---:|---:|\n");
  for (const BuildRun& build : builds) {
    if (build.reused) {
      std::printf("| %s | (built before) | | | %.1f |\n", build.engine.c_str(),
                  static_cast<double>(build.indexBytes) / kBytesPerMiB);
      continue;
    }
    std::printf("| %s | %.2f | %.2f | %.1f | %.1f |\n", build.engine.c_str(), build.cost.wallSeconds,
                build.cost.cpuSeconds, build.cost.peakRssMb, static_cast<double>(build.indexBytes) / kBytesPerMiB);
  }
}

void PrintQueryRuns(const std::vector<QueryRun>& runs, const std::vector<ClassedQuery>& queries) {
  std::printf("\n| delay ms | engine | warm process CPU s | cold processes CPU s |\n|---:|---|---:|---:|\n");
  for (const QueryRun& run : runs) {
    std::printf("| %g | %s | %.2f | %.2f |\n", run.delayMs, run.engine.c_str(), run.warm.cpuSeconds,
                run.coldCpuSeconds);
  }
  std::printf("\n| delay ms | engine | class | queries | hits median | cold p50 | cold p95 | warm-distinct p50 | "
              "warm-distinct p95 | warm-repeated p50 | warm-repeated p95 |\n");
  std::printf("|---:|---|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (const QueryRun& run : runs) {
    for (const std::string& queryClass : kQueryClasses) {
      const ClassTimes t = TimesOfClass(run, queries, queryClass);
      std::printf("| %g | %s | %s | %zu | %.0f | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f |\n", run.delayMs,
                  run.engine.c_str(), queryClass.c_str(), t.hits.size(), Percentile(t.hits, kMedian),
                  Percentile(t.cold, kMedian), Percentile(t.cold, kHigh), Percentile(t.distinct, kMedian),
                  Percentile(t.distinct, kHigh), Percentile(t.repeated, kMedian), Percentile(t.repeated, kHigh));
    }
  }
}

void PrintToolRuns(const std::vector<ToolRun>& runs, const std::vector<ClassedQuery>& queries) {
  if (runs.empty()) return;
  std::printf("\n| delay ms | pandecta-tool search, class | queries | process p50 ms | process p95 ms | max ms | "
              "CPU s (all) |\n|---:|---|---:|---:|---:|---:|---:|\n");
  for (const ToolRun& run : runs) {
    for (const std::string& queryClass : kQueryClasses) {
      std::vector<double> ms;
      for (std::size_t i = 0; i < queries.size(); ++i) {
        const auto answer = run.answers.find(i);
        if (queries[i].queryClass == queryClass && answer != run.answers.end()) ms.push_back(answer->second.ms.at(0));
      }
      std::printf("| %g | %s | %zu | %.1f | %.1f | %.1f | %.2f |\n", run.delayMs, queryClass.c_str(), ms.size(),
                  Percentile(ms, kMedian), Percentile(ms, kHigh), Percentile(ms, 1.0), run.cpuSeconds);
    }
  }
}

int CountDisagreements(const std::vector<QueryRun>& runs, const std::vector<ToolRun>& tools,
                       const std::vector<ClassedQuery>& queries) {
  int disagreements = 0;
  for (std::size_t i = 0; i < queries.size(); ++i) {
    const auto first = runs.empty() ? Answers::const_iterator{} : runs.front().warmAnswers.find(i);
    if (runs.empty() || first == runs.front().warmAnswers.end()) {
      ++disagreements;
      continue;
    }
    const Answer& reference = first->second;
    bool agree = true;
    std::string differing;
    for (const QueryRun& run : runs) {
      for (const Answers* answers : {&run.warmAnswers, &run.coldAnswers}) {
        if (SameAnswer(*answers, i, reference)) continue;
        agree = false;
        char where[128];
        std::snprintf(where, sizeof where, " %s at %g ms (%s)", run.engine.c_str(), run.delayMs,
                      answers == &run.warmAnswers ? "warm" : "cold");
        differing += where;
      }
    }
    for (const ToolRun& tool : tools) {
      if (SameAnswer(tool.answers, i, reference)) continue;
      agree = false;
      char where[96];
      std::snprintf(where, sizeof where, " pandecta-tool at %g ms", tool.delayMs);
      differing += where;
    }
    if (!agree) {
      ++disagreements;
      std::printf("DIFFERENT ANSWERS for %s \"%s\" (%zu documents by %s):%s\n", queries[i].queryClass.c_str(),
                  queries[i].query.text.c_str(), reference.count, runs.front().engine.c_str(), differing.c_str());
    }
  }
  return disagreements;
}

}  // namespace engines

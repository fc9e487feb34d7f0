#pragma once

// The tables bench_engines prints (Markdown), and the check that every
// engine, pass and delay found the same documents for every query.

#include <cstdint>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "QueryChoice.h"
#include "QueryPasses.h"

namespace engines {

struct BuildRun {
  std::string engine;
  ChildCost cost;
  std::uint64_t indexBytes = 0;
  bool reused = false;  // built by an earlier run
};

// One engine's query passes at one network delay.
struct QueryRun {
  double delayMs = 0;
  std::string engine;
  ChildCost warm;
  double coldCpuSeconds = 0;
  Answers warmAnswers;  // ms[0]: distinct pass; ms[1..]: repeated
  Answers coldAnswers;
};

// pandecta-tool search, one process per query, at one delay.
struct ToolRun {
  double delayMs = 0;
  double cpuSeconds = 0;
  Answers answers;  // ms[0]: the process's wall time
};

void PrintBuilds(const std::vector<BuildRun>& builds);
void PrintQueryRuns(const std::vector<QueryRun>& runs, const std::vector<ClassedQuery>& queries);
void PrintToolRuns(const std::vector<ToolRun>& runs, const std::vector<ClassedQuery>& queries);

// Queries on which some answer differs from the first engine's warm answer;
// each is printed.
int CountDisagreements(const std::vector<QueryRun>& runs, const std::vector<ToolRun>& tools,
                       const std::vector<ClassedQuery>& queries);

}  // namespace engines

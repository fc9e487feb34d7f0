#pragma once

// What the child processes of bench_engines do, and the answers they print:
// one line per query, "index count hash ms...", where hash identifies the
// documents found (equal answers give equal hashes).

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace engines {

// Each query once in a process already warm (one untimed search of a word
// that is in no query), then kRepeatedRuns times more: ms[0] is the distinct
// pass, ms[1..] the repeated one.
inline constexpr int kRepeatedRuns = 3;

int RunBuild(const std::string& engine, const std::string& corpus, const std::string& folder);
int RunWarm(const std::string& engine, const std::string& folder, const std::string& queryFile);
// One query, the first of the process, timed from opening the index.
int RunCold(const std::string& engine, const std::string& folder, const std::string& queryFile, std::size_t index);

struct Answer {
  std::size_t count = 0;
  unsigned long long hash = 0;
  std::vector<double> ms;
};
using Answers = std::map<std::size_t, Answer>;

// The lines of a child's output.
Answers ReadAnswers(const std::string& path);

// FNV-1a over the document numbers.
unsigned long long HashOfDocuments(const std::vector<int>& documents);

}  // namespace engines

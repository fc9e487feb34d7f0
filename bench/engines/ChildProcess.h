#pragma once

// Runs this same program again with other arguments in a fresh process and
// reports what it cost: wall time, CPU time (user + system) and peak memory.

#include <string>
#include <vector>

namespace engines {

struct ChildCost {
  double wallSeconds = 0;
  double cpuSeconds = 0;
  double peakRssMb = 0;
  int exitCode = -1;
};

// Standard output of the child goes to `outputFile`.
ChildCost RunSelf(const std::vector<std::string>& arguments, const std::string& outputFile);

}  // namespace engines

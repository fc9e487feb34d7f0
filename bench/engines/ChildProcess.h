#pragma once

// Runs a program (this same one by default) with other arguments in a fresh
// process and reports what it cost: wall time, CPU time (user + system) and
// peak memory.

#include <string>
#include <vector>

namespace engines {

struct ChildCost {
  double wallSeconds = 0;
  double cpuSeconds = 0;
  double peakRssMb = 0;
  int exitCode = -1;
};

// Standard output of the child goes to `outputFile`; `environment` holds
// NAME=value settings added to the child's environment.
ChildCost RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& outputFile, const std::vector<std::string>& environment = {});

// RunProgram on this very executable.
ChildCost RunSelf(const std::vector<std::string>& arguments, const std::string& outputFile,
                  const std::vector<std::string>& environment = {});

// The folder of this executable (programs built beside it live there).
std::string OwnFolder();

}  // namespace engines

#include "ChildProcess.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace engines {
namespace {

constexpr double kKiBPerMiB = 1024.0;

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

}  // namespace

ChildCost RunSelf(const std::vector<std::string>& arguments, const std::string& outputFile) {
  std::vector<char*> argv;
  std::string self = "/proc/self/exe";
  argv.push_back(self.data());
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int out = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) ::dup2(out, STDOUT_FILENO);
    ::execv(argv[0], argv.data());
    _exit(127);
  }
  ChildCost cost;
  int status = 0;
  rusage usage{};
  if (child > 0 && ::wait4(child, &status, 0, &usage) == child) {
    cost.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cost.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    cost.peakRssMb = static_cast<double>(usage.ru_maxrss) / kKiBPerMiB;
    cost.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  return cost;
}

}  // namespace engines

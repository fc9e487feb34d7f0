#include "ChildProcess.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace engines {
namespace {

constexpr double kKiBPerMiB = 1024.0;
constexpr double kMicrosecondsPerSecond = 1e6;
constexpr int kExecFailed = 127;
constexpr int kSignalExitBase = 128;

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / kMicrosecondsPerSecond; }

}  // namespace

ChildCost RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& outputFile, const std::vector<std::string>& environment) {
  std::vector<std::string> copies = arguments;
  copies.insert(copies.begin(), program);
  std::vector<char*> argv;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<std::string> settings = environment;

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int out = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) ::dup2(out, STDOUT_FILENO);
    for (std::string& setting : settings) ::putenv(setting.data());
    ::execv(argv[0], argv.data());
    _exit(kExecFailed);
  }
  ChildCost cost;
  int status = 0;
  rusage usage{};
  if (child > 0 && ::wait4(child, &status, 0, &usage) == child) {
    cost.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cost.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    cost.peakRssMb = static_cast<double>(usage.ru_maxrss) / kKiBPerMiB;
    cost.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : kSignalExitBase + WTERMSIG(status);
  }
  return cost;
}

ChildCost RunSelf(const std::vector<std::string>& arguments, const std::string& outputFile,
                  const std::vector<std::string>& environment) {
  return RunProgram("/proc/self/exe", arguments, outputFile, environment);
}

std::string OwnFolder() { return std::filesystem::read_symlink("/proc/self/exe").parent_path().string(); }

}  // namespace engines

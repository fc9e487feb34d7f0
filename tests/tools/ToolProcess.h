#pragma once

// Runs pandecta-tool (the binary named by PANDECTA_TOOL, which each test
// target defines) as a separate process, the way a script or a scheduled job
// does, and collects what it prints.

#include <sys/wait.h>

#include <cstdio>
#include <memory>
#include <string>

struct TRun {
  int ExitCode = -1;   // -1: ended by a signal
  std::string Output;  // standard output (and error when asked)
};

inline std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// Standard input is empty, so a question the tool asks gets no answer.
inline TRun RunTool(const std::string& arguments, bool withErrors = true, const std::string& environment = {}) {
  TRun run;
  const std::string command = environment + " " + Quoted(PANDECTA_TOOL) + " " + arguments +
                              (withErrors ? " 2>&1" : " 2>/dev/null") + " </dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return run;
  char buffer[4096];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) run.Output.append(buffer, count);
  const int status = pclose(pipe.release());
  // The shell reports a child killed by signal n as exit code 128 + n.
  run.ExitCode = WIFEXITED(status) && WEXITSTATUS(status) < 128 ? WEXITSTATUS(status) : -1;
  return run;
}

#pragma once

// Another process for a test: started with its own arguments and additions
// to its environment, fed lines on its standard input, answering lines on its
// standard output, every wait bounded in time.

#include <chrono>
#include <string>
#include <vector>

class ChildSession {
 public:
  ChildSession(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment = {});
  ~ChildSession();
  ChildSession(const ChildSession&) = delete;
  ChildSession& operator=(const ChildSession&) = delete;

  bool Started() const { return pid_ > 0; }
  // Sends `line` and returns the answer line, or "(no answer)" when none
  // came within `timeout`.
  std::string Ask(const std::string& line, std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // Closes its input and waits for its exit code (-1 on timeout, after which
  // it is killed).
  int Finish(std::chrono::milliseconds timeout = std::chrono::seconds(20));

 private:
  int pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  std::string pending_;
};

// Runs `program` to its end; its exit code, or -1 when it did not end in time.
int RunToEnd(const std::string& program, const std::vector<std::string>& arguments,
             const std::vector<std::string>& environment = {},
             std::chrono::milliseconds timeout = std::chrono::seconds(20));

#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// A helper program run by a test, with a pipe to its standard input and one
// from its standard output. A child still running when the object goes away
// is killed, so a failing test leaves no process behind.
class TChildProcess {
 public:
  // `ownProcessGroup`: for a child the test stops with SIGSTOP. In the group
  // it would share with the test and its siblings, a sibling's exit can leave
  // that group orphaned with a stopped member, and the kernel then hangs the
  // whole group up (SIGHUP); a group of its own keeps its parent, the test.
  explicit TChildProcess(const std::vector<std::string>& arguments, bool ownProcessGroup = false);
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  // The next line of output without its end; "" at the end of the output, or
  // when nothing comes for a minute (a hung child fails the test, not the run).
  std::string ReadLine();
  // Closes the child's standard input: the helper's signal to let go.
  void CloseInput();
  void Kill(int signal);
  // The exit code, or 128 + the signal that ended the child.
  int Wait();
  // True once the child has ended (then Wait returns at once); never blocks.
  bool HasEnded();
  pid_t Id() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string pending_;
  bool waited_ = false;
  int status_ = 0;
};

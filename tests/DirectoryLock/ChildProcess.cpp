#include "ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kReadTimeoutMilliseconds = 60 * 1000;

}  // namespace

TChildProcess::TChildProcess(const std::vector<std::string>& arguments, bool ownProcessGroup) {
  int toChild[2];
  int fromChild[2];
  if (::pipe2(toChild, O_CLOEXEC) != 0) return;
  if (::pipe2(fromChild, O_CLOEXEC) != 0) {
    ::close(toChild[0]);
    ::close(toChild[1]);
    return;
  }
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  pid_ = ::fork();
  if (pid_ == 0) {
    if (ownProcessGroup) ::setpgid(0, 0);
    ::dup2(toChild[0], STDIN_FILENO);
    ::dup2(fromChild[1], STDOUT_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(toChild[0]);
  ::close(fromChild[1]);
  input_ = toChild[1];
  output_ = fromChild[0];
}

TChildProcess::~TChildProcess() {
  if (pid_ > 0 && !waited_) {
    Kill(SIGKILL);
    Wait();
  }
  CloseInput();
  if (output_ >= 0) ::close(output_);
}

std::string TChildProcess::ReadLine() {
  for (;;) {
    const size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return line;
    }
    pollfd ready{output_, POLLIN, 0};
    if (output_ < 0 || ::poll(&ready, 1, kReadTimeoutMilliseconds) <= 0) return {};
    char buffer[256];
    const ssize_t count = ::read(output_, buffer, sizeof buffer);
    if (count <= 0) {
      std::string rest;
      rest.swap(pending_);
      return rest;
    }
    pending_.append(buffer, static_cast<size_t>(count));
  }
}

void TChildProcess::CloseInput() {
  if (input_ >= 0) ::close(input_);
  input_ = -1;
}

void TChildProcess::Kill(int signal) {
  if (pid_ > 0 && !waited_) ::kill(pid_, signal);
}

int TChildProcess::Wait() {
  if (pid_ <= 0) return -1;
  if (!waited_) {
    while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
    }
    waited_ = true;
  }
  if (WIFEXITED(status_)) return WEXITSTATUS(status_);
  if (WIFSIGNALED(status_)) return 128 + WTERMSIG(status_);
  return -1;
}

bool TChildProcess::HasEnded() {
  if (pid_ <= 0 || waited_) return true;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
  status_ = status;
  waited_ = true;
  return true;
}

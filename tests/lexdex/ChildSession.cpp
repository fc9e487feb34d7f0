#include "ChildSession.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

extern char** environ;

namespace {

constexpr std::chrono::milliseconds kWaitStep{5};
constexpr std::size_t kReadPiece = 4096;

// This process's environment with `additions` put in front (a setting given
// twice takes its first value).
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& additions) {
  std::vector<std::string> settings = additions;
  for (char** setting = environ; *setting != nullptr; ++setting) settings.emplace_back(*setting);
  return settings;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& text : strings) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

int Spawn(const std::string& program, const std::vector<std::string>& arguments,
          const std::vector<std::string>& environment, int input, int output) {
  std::vector<std::string> argv = arguments;
  argv.insert(argv.begin(), program);
  std::vector<std::string> envp = EnvironmentWith(environment);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (input >= 0) posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  if (output >= 0) posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  pid_t pid = -1;
  const int failed =
      posix_spawn(&pid, program.c_str(), &actions, nullptr, Pointers(argv).data(), Pointers(envp).data());
  posix_spawn_file_actions_destroy(&actions);
  return failed ? -1 : pid;
}

int WaitForExit(int pid, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0 || std::chrono::steady_clock::now() > deadline) break;
    std::this_thread::sleep_for(kWaitStep);
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  return -1;
}

}  // namespace

ChildSession::ChildSession(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment) {
  int input[2];
  int output[2];
  if (::pipe2(input, O_CLOEXEC) != 0) return;
  if (::pipe2(output, O_CLOEXEC) != 0) {
    ::close(input[0]);
    ::close(input[1]);
    return;
  }
  pid_ = Spawn(program, arguments, environment, input[0], output[1]);
  ::close(input[0]);
  ::close(output[1]);
  toChild_ = input[1];
  fromChild_ = output[0];
}

ChildSession::~ChildSession() {
  if (pid_ > 0) Finish(std::chrono::seconds(5));
  if (fromChild_ >= 0) ::close(fromChild_);
}

std::string ChildSession::Ask(const std::string& line, std::chrono::milliseconds timeout) {
  const std::string request = line + '\n';
  if (toChild_ < 0 || ::write(toChild_, request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
    return "(no answer)";
  }
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const std::size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string answer = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return answer;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd ready{fromChild_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) return "(no answer)";
    char piece[kReadPiece];
    const ssize_t got = ::read(fromChild_, piece, sizeof piece);
    if (got <= 0) return "(no answer)";
    pending_.append(piece, static_cast<std::size_t>(got));
  }
}

int ChildSession::Finish(std::chrono::milliseconds timeout) {
  if (toChild_ >= 0) ::close(toChild_);
  toChild_ = -1;
  if (pid_ <= 0) return -1;
  const int code = WaitForExit(pid_, timeout);
  pid_ = -1;
  return code;
}

int RunToEnd(const std::string& program, const std::vector<std::string>& arguments,
             const std::vector<std::string>& environment, std::chrono::milliseconds timeout) {
  const int pid = Spawn(program, arguments, environment, -1, -1);
  return pid > 0 ? WaitForExit(pid, timeout) : -1;
}

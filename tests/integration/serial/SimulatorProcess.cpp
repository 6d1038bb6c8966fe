#include "SimulatorProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quillon::test {

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

SimulatorProcess::~SimulatorProcess() { Stop(SIGTERM, std::chrono::milliseconds(2000)); }

bool SimulatorProcess::Start(const std::vector<std::string>& arguments,
                             const std::filesystem::path& log) {
  int in[2];
  int out[2];
  if (pipe2(in, O_CLOEXEC) != 0) return false;
  if (pipe2(out, O_CLOEXEC) != 0) {
    ::close(in[0]);
    ::close(in[1]);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const int spawned = posix_spawn(&Id, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  Input = in[1];
  Output = out[0];
  if (spawned != 0) Id = -1;
  return spawned == 0;
}

std::optional<std::string> SimulatorProcess::ReadLine(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    const auto end = Pending.find('\n');
    if (end != std::string::npos) {
      std::string line = Pending.substr(0, end);
      Pending.erase(0, end + 1);
      return line;
    }
    pollfd in{Output, POLLIN, 0};
    if (::poll(&in, 1, RemainingMs(deadline)) <= 0) return std::nullopt;
    char buffer[256];
    const ssize_t got = ::read(Output, buffer, sizeof buffer);
    if (got <= 0) return std::nullopt;
    Pending.append(buffer, static_cast<std::size_t>(got));
  }
}

void SimulatorProcess::Send(const std::string& text) const {
  std::size_t sent = 0;
  while (sent < text.size()) {
    const ssize_t n = ::write(Input, text.data() + sent, text.size() - sent);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

std::optional<int> SimulatorProcess::Stop(int signal, std::chrono::milliseconds limit) {
  if (Input >= 0) ::close(Input);
  if (Output >= 0) ::close(Output);
  Input = Output = -1;
  if (Id <= 0) return std::nullopt;
  ::kill(Id, signal);
  const auto deadline = Clock::now() + limit;
  int status = 0;
  while (::waitpid(Id, &status, WNOHANG) == 0) {
    if (RemainingMs(deadline) == 0) {
      ::kill(Id, SIGKILL);
      ::waitpid(Id, &status, 0);
      break;
    }
    ::poll(nullptr, 0, 10);
  }
  Id = -1;
  return status;
}

}  // namespace quillon::test

#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace quillon::test {

namespace {

constexpr std::chrono::milliseconds StopWait{3000};

// A descriptor that becomes readable when the process ends. Called through syscall(): the
// C library's header for it lacks C++ linkage in some versions.
int PidFdOf(pid_t pid) { return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)); }

// Waits until the process behind `pidFd` has ended; false when `limit` passed first.
bool WaitForEnd(int pidFd, std::chrono::milliseconds limit) {
  pollfd ended{pidFd, POLLIN, 0};
  int ready = 0;
  do {
    ready = ::poll(&ended, 1, static_cast<int>(limit.count()));
  } while (ready < 0 && errno == EINTR);
  return ready > 0;
}

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& changes) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    const std::string_view name = text.substr(0, text.find('=') + 1);
    bool replaced = false;
    for (const std::string& change : changes) replaced = replaced || change.starts_with(name);
    if (!replaced) merged.emplace_back(text);
  }
  merged.insert(merged.end(), changes.begin(), changes.end());
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

bool ChildProcess::Start(const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment,
                         const std::filesystem::path& log) {
  std::vector<std::string> argumentTexts = arguments;
  std::vector<std::string> environmentTexts = MergedEnvironment(environment);
  const std::vector<char*> argv = Pointers(argumentTexts);
  const std::vector<char*> envp = Pointers(environmentTexts);
  const int logFd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  int output[2];
  if (logFd < 0 || ::pipe2(output, O_CLOEXEC) != 0) return false;
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int input = ::open("/dev/null", O_RDONLY);
    ::dup2(input, STDIN_FILENO);
    ::dup2(output[1], STDOUT_FILENO);
    ::dup2(logFd, STDERR_FILENO);
    ::execvpe(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(output[1]);
  ::close(logFd);
  if (pid < 0) {
    ::close(output[0]);
    return false;
  }
  Id = pid;
  PidFd = PidFdOf(pid);
  Output = output[0];
  return PidFd >= 0;
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const std::size_t end = Pending.find('\n');
    if (end != std::string::npos) {
      std::string line = Pending.substr(0, end);
      Pending.erase(0, end + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (Output < 0 || left.count() <= 0) return std::nullopt;
    pollfd readable{Output, POLLIN, 0};
    if (::poll(&readable, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[512];
    const ssize_t got = ::read(Output, buffer, sizeof buffer);
    if (got <= 0) return std::nullopt;
    Pending.append(buffer, static_cast<std::size_t>(got));
  }
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds limit) {
  if (Id < 0 || !WaitForEnd(PidFd, limit)) return std::nullopt;
  int status = 0;
  ::waitpid(Id, &status, 0);
  ::close(PidFd);
  if (Output >= 0) ::close(Output);
  Id = -1;
  PidFd = -1;
  Output = -1;
  return status;
}

void ChildProcess::Stop() {
  if (Id < 0) return;
  ::kill(Id, SIGTERM);
  if (!WaitForEnd(PidFd, StopWait)) ::kill(Id, SIGKILL);
  WaitForExit(StopWait);
}

void EndProcess(pid_t pid) {
  const int pidFd = PidFdOf(pid);
  if (pidFd < 0) return;
  ::kill(pid, SIGTERM);
  if (!WaitForEnd(pidFd, StopWait)) {
    ::kill(pid, SIGKILL);
    WaitForEnd(pidFd, StopWait);
  }
  ::close(pidFd);
}

}  // namespace quillon::test

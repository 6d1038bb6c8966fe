#include "platform/linux/LinuxLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <string>

namespace quillon::platform {

namespace {

// Everything the launched process needs, prepared before fork(): between fork() and exec()
// only async-signal-safe calls are allowed, since other threads may hold locks.
struct LaunchPlan {
  std::string Path;
  std::string Folder;
  std::string Opener;  // xdg-open on PATH; empty when missing
  std::string OnPath;  // the program a bare name finds on PATH; empty when none
  bool Address = false;
};

// An address such as https://host/path: a scheme of letters, digits, '+', '-' and '.',
// starting with a letter, then "://".
bool IsAddress(std::string_view path) {
  const std::size_t end = path.find("://");
  if (end == std::string_view::npos || end == 0) return false;
  const std::string_view scheme = path.substr(0, end);
  return std::isalpha(static_cast<unsigned char>(scheme.front())) &&
         std::all_of(scheme.begin(), scheme.end(), [](char c) {
           return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
         });
}

bool IsExecutableFile(const char* path) {
  struct stat status {};
  return ::stat(path, &status) == 0 && S_ISREG(status.st_mode) && ::access(path, X_OK) == 0;
}

// The first executable file called `name` in the folders of PATH; empty when there is none.
std::string FindOnPath(std::string_view name) {
  const char* variable = std::getenv("PATH");
  std::string_view folders = variable != nullptr ? variable : "/usr/local/bin:/usr/bin:/bin";
  while (!folders.empty()) {
    const std::size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    if (folder.empty()) continue;
    std::string candidate = std::string(folder) + "/" + std::string(name);
    if (IsExecutableFile(candidate.c_str())) return candidate;
  }
  return {};
}

// Reports `error` to the waiting parent and ends the process.
[[noreturn]] void Fail(int report, int error) {
  [[maybe_unused]] const ssize_t written = ::write(report, &error, sizeof error);
  ::_exit(127);
}

// Runs in the launched process: enters the folder and replaces itself with the program.
[[noreturn]] void Launch(const LaunchPlan& plan, int report) {
  // The new program starts with no blocked or ignored signals and none of our descriptors
  // except the standard ones; `report` closes itself when exec succeeds.
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  for (int signal = 1; signal < NSIG; ++signal) ::signal(signal, SIG_DFL);
  ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);

  if (!plan.Folder.empty() && ::chdir(plan.Folder.c_str()) != 0) Fail(report, errno);
  char* const direct[] = {const_cast<char*>(plan.Path.c_str()), nullptr};
  struct stat status {};
  const bool exists = !plan.Address && ::stat(plan.Path.c_str(), &status) == 0;
  if (exists && S_ISREG(status.st_mode) && ::access(plan.Path.c_str(), X_OK) == 0) {
    ::execv(plan.Path.c_str(), direct);
    Fail(report, errno);
  }
  if (!exists && !plan.Address) {
    if (plan.OnPath.empty()) Fail(report, ENOENT);
    ::execv(plan.OnPath.c_str(), direct);
    Fail(report, errno);
  }
  if (plan.Opener.empty()) Fail(report, ENOENT);
  char* const opened[] = {const_cast<char*>("xdg-open"), const_cast<char*>(plan.Path.c_str()),
                          nullptr};
  ::execv(plan.Opener.c_str(), opened);
  Fail(report, errno);
}

}  // namespace

bool LinuxLauncher::Open(std::string_view path, std::string_view folder) {
  if (path.empty()) return false;
  LaunchPlan plan;
  plan.Path = std::string(path);
  plan.Folder = std::string(folder);
  plan.Address = IsAddress(path);
  plan.Opener = FindOnPath("xdg-open");
  if (path.find('/') == std::string_view::npos) plan.OnPath = FindOnPath(path);

  // The launched process writes the errno of a failed step into this pipe; a successful exec
  // closes it empty.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  const pid_t intermediate = ::fork();
  if (intermediate == 0) {
    ::close(report[0]);
    ::setsid();
    const pid_t launched = ::fork();
    if (launched < 0) Fail(report[1], errno);
    if (launched > 0) ::_exit(0);
    Launch(plan, report[1]);
  }
  ::close(report[1]);
  int error = 0;
  ssize_t got = 0;
  if (intermediate > 0) {
    do {
      got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
  }
  ::close(report[0]);
  if (intermediate < 0) return false;
  int status = 0;
  while (::waitpid(intermediate, &status, 0) < 0 && errno == EINTR) {
  }
  return got == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace quillon::platform

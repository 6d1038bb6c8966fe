#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quillon::test {

// A process this test starts and ends by its id. Its standard input is /dev/null, its
// standard output a pipe this test reads by lines, its standard error a log file.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Stop(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `arguments` (the program first, looked up on PATH) with the environment of this
  // process plus `environment` ("NAME=value" entries replace variables of the same name).
  // False when the program could not be started.
  bool Start(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
             const std::filesystem::path& log);

  // The next line of its standard output, waiting at most `limit`; nothing when none came.
  std::optional<std::string> ReadLine(std::chrono::milliseconds limit);

  // Waits at most `limit` for it to end by itself and reaps it: its wait status, or nothing
  // when it still runs.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit);

  // Ends it (SIGTERM, then SIGKILL when it lingers) and reaps it. Nothing when not running.
  void Stop();

  pid_t Pid() const { return Id; }

 private:
  pid_t Id = -1;
  int PidFd = -1;
  int Output = -1;
  std::string Pending;
};

// Ends a process this test did not start itself (one a launcher started), by its id: SIGTERM,
// then SIGKILL when it lingers; waits, within a bound, until it is gone.
void EndProcess(pid_t pid);

}  // namespace quillon::test

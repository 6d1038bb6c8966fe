#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quillon::test {

// The receiver simulator, started by this test and ended by its process id. Its standard input
// is a pipe the test writes presses into, its standard output a pipe the test reads the device
// path from, its standard error a log file.
class SimulatorProcess {
 public:
  SimulatorProcess() = default;
  ~SimulatorProcess();
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  // Starts the simulator with `arguments`; false when it could not be started.
  bool Start(const std::vector<std::string>& arguments, const std::filesystem::path& log);

  // The next line of its standard output, waiting at most `limit`.
  std::optional<std::string> ReadLine(std::chrono::milliseconds limit);

  // Writes to its standard input.
  void Send(const std::string& text) const;

  // Ends it with `signal` and reaps it, waiting at most `limit` (then SIGKILL): its wait
  // status, or nothing when it was not running.
  std::optional<int> Stop(int signal, std::chrono::milliseconds limit);

  pid_t Pid() const { return Id; }

 private:
  pid_t Id = -1;
  int Input = -1;
  int Output = -1;
  std::string Pending;
};

}  // namespace quillon::test

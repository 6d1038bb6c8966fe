#pragma once

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillon::test {

// A sound server of the test's own: PulseAudio with one null sink, its socket, home and
// runtime folders in a fresh temporary folder, so that nothing is shared with the machine or
// kept from an earlier run. While it runs, this process is pointed at it: PULSE_SERVER names
// its socket and HOME holds an .asoundrc that routes ALSA's "default" device to the pulse
// plugin.
class PulseServer {
 public:
  static constexpr const char* SinkName = "quillon_null";

  PulseServer() = default;
  ~PulseServer() { Stop(); }
  PulseServer(const PulseServer&) = delete;
  PulseServer& operator=(const PulseServer&) = delete;

  // Starts the server and waits, within a bound, until its socket accepts connections. False
  // when it did not come up; Log() then tells why.
  bool Start();
  // Ends the server by its process id and removes its folder; restores the environment.
  void Stop();

  // Runs pactl against the server; false when it failed.
  bool Pactl(const std::vector<std::string>& arguments) const;

  // What the server and this fixture printed.
  std::string Log() const;

 private:
  bool WaitUntilListening();
  void SetEnvironment(const char* name, const std::string& value);

  std::filesystem::path Folder;
  std::filesystem::path Socket;
  std::string Problem;
  pid_t Pid = -1;
  // Variables of this process changed while the server runs, with their values before.
  std::map<std::string, std::optional<std::string>> SavedEnvironment;
};

}  // namespace quillon::test

#pragma once

#include <filesystem>
#include <string>

#include "ChildProcess.h"

namespace quillon::test {

// A virtual X server (Xvfb) with one 1024x768 screen, on a display number it picks itself
// among the free ones (-displayfd), reachable through a local socket only.
class XServer {
 public:
  // Starts it and waits, within a bound, until it accepts connections. False when it did not.
  bool Start(const std::filesystem::path& folder);
  void Stop() { Process.Stop(); }
  // ":<number>"
  const std::string& Name() const { return DisplayName; }

 private:
  ChildProcess Process;
  std::string DisplayName;
};

// openbox, a small window manager that follows the Extended Window Manager Hints, with a
// configuration of its own that binds no keys (so that every typed key reaches the clients)
// and its home in `folder`.
class WindowManager {
 public:
  // Starts it on `display`; the caller waits until it manages the screen.
  bool Start(const std::string& display, const std::filesystem::path& folder);
  void Stop() { Process.Stop(); }

 private:
  ChildProcess Process;
};

// A private D-Bus bus daemon with a stand-in for systemd-logind on it (LogindStandIn.cpp),
// listening on a socket in `folder` only.
class LogindOnPrivateBus {
 public:
  // Starts both and waits, within a bound, until the stand-in owns its name.
  bool Start(const std::filesystem::path& folder, bool refuse);
  void Stop();
  const std::string& Address() const { return BusAddress; }
  // The calls that reached the stand-in, one "<method> <interactive>" line each.
  const std::filesystem::path& Record() const { return RecordFile; }

 private:
  ChildProcess Bus;
  ChildProcess Logind;
  std::string BusAddress;
  std::filesystem::path RecordFile;
};

}  // namespace quillon::test

#pragma once

#include <gtest/gtest.h>
// After gtest: Xlib defines None, Bool and Status as macros, names that gtest uses.
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <sys/types.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestServers.h"
#include "TestSupport.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11Desktop.h"
#include "platform/linux/X11Keyboard.h"
#include "platform/linux/X11Mouse.h"
#include "platform/linux/X11SystemControl.h"

namespace quillon::test {

// A test on a virtual X server of its own, with the four X11 backends over one connection and
// a second connection (the probe) through which the test looks at the server itself. DISPLAY
// names the server while the test runs, so that programs a launcher starts find it. Everything
// the test started (server, window manager, clients, programs a launcher started) is ended by
// its process id in TearDown, also when the test failed.
class X11Fixture : public ::testing::Test {
 protected:
  // A running test client (TestClient.cpp) and the file it writes what it receives to.
  struct Client {
    ChildProcess Process;
    std::filesystem::path Output;
  };

  void SetUp() override;
  void TearDown() override;

  // Starts the window manager and waits until it manages the screen.
  void StartWindowManager();
  // Starts a test client with `title` and further options and waits until its window is
  // listed.
  Client& StartClient(const std::string& title, const std::vector<std::string>& options = {});
  // Waits until a window with exactly `title` is listed; 0 when none appears in time.
  platform::WindowId WaitForWindow(const std::string& title) const;
  // Waits until the client has written `count` lines and returns what it wrote.
  std::vector<std::string> Received(const Client& client, std::size_t count) const;
  // Remembers a process a launcher started, to end it in TearDown.
  void Adopt(pid_t pid) { Adopted.push_back(pid); }

  // The probe's view of a window: where its centre is on the screen.
  platform::Point CentreOf(platform::WindowId window) const;

  ScratchFolder Scratch;
  EnvironmentChanges Environment;
  XServer Server;
  WindowManager Manager;
  bool ManagerRunning = false;
  std::deque<Client> Clients;
  std::vector<pid_t> Adopted;
  std::shared_ptr<platform::X11Connection> Connection;
  std::shared_ptr<platform::X11Connection> Probe;
  std::unique_ptr<platform::X11Keyboard> Keys;
  std::unique_ptr<platform::X11Mouse> Pointer;
  std::unique_ptr<platform::X11Desktop> Windows;
  std::unique_ptr<platform::X11SystemControl> System;
};

// Names the cases of a test run with (true) and without (false) a window manager.
inline std::string WindowManagerName(const ::testing::TestParamInfo<bool>& test) {
  return test.param ? "WithWindowManager" : "WithoutWindowManager";
}

// An X11Fixture run once without and once with a window manager (instantiated with
// ::testing::Values(false, true) and WindowManagerName).
class WithAndWithoutWindowManager : public X11Fixture, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(X11Fixture::SetUp());
    if (GetParam()) {
      ASSERT_NO_FATAL_FAILURE(StartWindowManager());
    }
  }
};

}  // namespace quillon::test

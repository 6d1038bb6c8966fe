#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Desktop.h"
#include "platform/Keyboard.h"
#include "platform/Launcher.h"
#include "platform/Mouse.h"
#include "platform/SystemControl.h"
#include "platform/fake/EffectLog.h"

namespace quillon::platform {

// The in-memory desktop of tests and dry runs: keyboard, mouse, windows, program start and
// system control, each recording what it was asked to do in one shared EffectLog. Seeding
// methods (windows, pointer place, Num Lock, screen) set the scene without recording.

// Effects: "key" vk, scan, up.
class FakeKeyboard : public Keyboard {
 public:
  explicit FakeKeyboard(EffectLog& log) : Log(log) {}

  bool IsAvailable() const override { return true; }
  // A press of Num Lock (virtual key 144) toggles its state, as on a real keyboard.
  void KeyEvent(std::uint8_t virtualKey, std::uint16_t scanCode, bool up) override;
  bool NumLockOn() const override { return NumLock; }

  void SetNumLock(bool on) { NumLock = on; }

 private:
  EffectLog& Log;
  bool NumLock = false;
};

// Effects: "pointer" x, y; "button" button ("left" or "right"), down.
class FakeMouse : public Mouse {
 public:
  explicit FakeMouse(EffectLog& log) : Log(log) {}

  Point Position() const override { return At; }
  void MoveTo(Point point) override;
  void Button(MouseButton button, bool down) override;

  void Place(Point point) { At = point; }

 private:
  EffectLog& Log;
  Point At;
};

// Top-level windows in stacking order. Activating a window puts it on top and in the
// foreground unless the window was made to refuse; closing or quitting a window removes it, as
// a program that obeys would. Effects: "restore", "raise", "activate" with the window's title;
// "post" title, message ("WM_CLOSE", "WM_QUIT" or "WM_COMMAND"), wParam, lParam.
class FakeDesktop : public Desktop {
 public:
  explicit FakeDesktop(EffectLog& log) : Log(log) {}

  // Adds a window below those already there; the first window added is in the foreground.
  WindowId AddWindow(std::string title, bool minimized = false);
  // The window stays out of the foreground when activated, as when the system prevents a
  // program from taking the focus.
  void RefuseActivation(WindowId window);

  std::vector<WindowId> TopLevelWindows() const override;
  std::string Title(WindowId window) const override;
  WindowId FindByTitle(std::string_view title) const override;
  WindowId Foreground() const override { return Front; }

  bool IsMinimized(WindowId window) const override;
  void Restore(WindowId window) override;
  void BringToTop(WindowId window) override;
  void Activate(WindowId window) override;

  void Close(WindowId window) override;
  void Quit(WindowId window) override;
  void PostCommand(WindowId window, std::int64_t wParam, std::int64_t lParam) override;

 private:
  struct Window {
    WindowId Id = 0;
    std::string Title;
    bool Minimized = false;
    bool Refuses = false;
  };

  Window* Find(WindowId window);
  const Window* Find(WindowId window) const;
  void Record(std::string_view name, WindowId window);
  void Post(WindowId window, std::string_view message, std::int64_t wParam, std::int64_t lParam);
  void MoveToTop(WindowId window);
  void Remove(WindowId window);

  EffectLog& Log;
  std::vector<Window> Stack;  // topmost first
  WindowId Front = 0;
  WindowId NextId = 1;
};

// Effects: "launch" path, folder.
class FakeLauncher : public Launcher {
 public:
  explicit FakeLauncher(EffectLog& log) : Log(log) {}
  bool Open(std::string_view path, std::string_view folder) override;

 private:
  EffectLog& Log;
};

// Effects: "screensaver" active; "taskbar" shown; "shutdown" flags (2 restart, 5 forced power
// off: the exit flags of the Windows program), kind ("reboot" or "poweroff"), force.
class FakeSystemControl : public SystemControl {
 public:
  explicit FakeSystemControl(EffectLog& log) : Log(log) {}

  ScreenSize Screen() const override { return Size; }
  std::optional<double> ProcessorClockMHz() const override { return ClockMHz; }
  bool ScreenSaverActive() const override { return SaverActive; }
  void SetScreenSaverActive(bool active) override;
  void ShowTaskbar(bool show) override;
  bool Shutdown(ShutdownKind kind, bool force) override;

  void SetScreen(ScreenSize size) { Size = size; }

  std::optional<double> ClockMHz = 3000.0;

 private:
  EffectLog& Log;
  ScreenSize Size{1024, 768};
  bool SaverActive = false;
};

// All of the above over one log.
struct FakeDesktopSystem {
  EffectLog Log;
  FakeKeyboard Keyboard{Log};
  FakeMouse Mouse{Log};
  FakeDesktop Desktop{Log};
  FakeLauncher Launcher{Log};
  FakeSystemControl System{Log};
};

}  // namespace quillon::platform

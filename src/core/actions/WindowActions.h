#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/EventLoop.h"
#include "platform/Launcher.h"

namespace quillon {

// The title of the program's own application window, which closing an application spares.
inline constexpr std::string_view OwnWindowTitle = "Quillon";

// WM_QUIT: the message that ends a program; with WM_CLOSE and WM_COMMAND (NodeText.h) the
// messages the program sends to windows.
inline constexpr std::uint32_t WmQuit = 18;

// Finds the window titled exactly `title`, restores it if minimised or else brings it to the
// top, and makes it the foreground window. Gives the window, or 0 when there is none or when
// it did not come to the foreground and `acceptBackground` is false.
platform::WindowId FindAndFront(platform::Desktop& desktop, std::string_view title,
                                bool acceptBackground);

// True when the window titled `title` exists and is in front after activating it twice.
bool ActivateIfRunning(platform::Desktop& desktop, std::string_view title);

// True when a window titled `title` exists and is the foreground window.
bool IsForegroundTitle(const platform::Desktop& desktop, std::string_view title);

// Sends one of WM_CLOSE (closes the window), WM_QUIT (ends its program) or WM_COMMAND (a menu
// or control command) to `window`; other messages are not sent.
void PostWindowMessage(platform::Desktop& desktop, platform::WindowId window, std::uint32_t message,
                       std::int64_t wParam, std::int64_t lParam);

// The folder of a program's path, with its separator ("C:\Player\" of "C:\Player\p.exe");
// empty when the path names no folder.
std::string FolderOf(std::string_view path);

// The window and system services of commands, waiting through the event loop.
class WindowActions {
 public:
  WindowActions(platform::Desktop& desktop, platform::Launcher& launcher, platform::EventLoop& loop,
                const platform::Clock& clock);

  // "Run/Close Application": ends the program whose window is titled `windowName` when that
  // window can be brought to the front (never the program's own window), otherwise starts
  // `applicationPath` in its folder.
  void RunOrCloseApplication(const std::string& windowName, const std::string& applicationPath);

  // A window-message command ("WM_CLOSE,0,0", "wm_command,40001,0") to the window titled
  // `windowName`; a text that names neither message sends nothing.
  void SendWindowMessage(const std::string& windowName, const std::string& parameter);

 private:
  void Wait(std::uint32_t milliseconds);

  platform::Desktop& Desktop;
  platform::Launcher& Launcher;
  platform::EventLoop& Loop;
  const platform::Clock& Clock;
};

}  // namespace quillon

#include "core/actions/WindowActions.h"

#include "core/common/WaitPumping.h"
#include "core/config/NodeText.h"

namespace quillon {

namespace {

constexpr std::uint32_t CloseWaitMs = 100;
constexpr std::uint32_t AfterRunOrCloseMs = 100;
constexpr std::uint32_t BeforePostMs = 300;
constexpr std::uint32_t AfterPostMs = 100;
constexpr std::uint32_t AfterMessageMs = 100;

}  // namespace

platform::WindowId FindAndFront(platform::Desktop& desktop, std::string_view title,
                                bool acceptBackground) {
  const platform::WindowId window = desktop.FindByTitle(title);
  if (window == 0) return 0;
  if (desktop.IsMinimized(window)) {
    desktop.Restore(window);
  } else {
    desktop.BringToTop(window);
  }
  desktop.Activate(window);
  if (!acceptBackground && desktop.Foreground() != window) return 0;
  return window;
}

bool ActivateIfRunning(platform::Desktop& desktop, std::string_view title) {
  const platform::WindowId window = FindAndFront(desktop, title, false);
  if (window == 0) return false;
  desktop.Activate(window);
  return IsForegroundTitle(desktop, title);
}

bool IsForegroundTitle(const platform::Desktop& desktop, std::string_view title) {
  const platform::WindowId window = desktop.FindByTitle(title);
  return window != 0 && desktop.Foreground() == window;
}

void PostWindowMessage(platform::Desktop& desktop, platform::WindowId window, std::uint32_t message,
                       std::int64_t wParam, std::int64_t lParam) {
  switch (message) {
    case WmClose:
      desktop.Close(window);
      break;
    case WmQuit:
      desktop.Quit(window);
      break;
    case WmCommand:
      desktop.PostCommand(window, wParam, lParam);
      break;
    default:
      break;
  }
}

std::string FolderOf(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string_view::npos ? std::string()
                                             : std::string(path.substr(0, separator + 1));
}

WindowActions::WindowActions(platform::Desktop& desktop, platform::Launcher& launcher,
                             platform::EventLoop& loop, const platform::Clock& clock)
    : Desktop(desktop), Launcher(launcher), Loop(loop), Clock(clock) {}

void WindowActions::Wait(std::uint32_t milliseconds) { WaitPumping(Loop, Clock, milliseconds); }

void WindowActions::RunOrCloseApplication(const std::string& windowName,
                                          const std::string& applicationPath) {
  if (ActivateIfRunning(Desktop, windowName)) {
    const platform::WindowId own = Desktop.FindByTitle(OwnWindowTitle);
    const platform::WindowId target = FindAndFront(Desktop, windowName, false);
    Wait(CloseWaitMs);
    if (target != 0 && target != own) PostWindowMessage(Desktop, target, WmQuit, 0, 0);
  } else {
    // A program that cannot be started is not reported: the press simply has no effect.
    Launcher.Open(applicationPath, FolderOf(applicationPath));
  }
  Wait(AfterRunOrCloseMs);
}

void WindowActions::SendWindowMessage(const std::string& windowName, const std::string& parameter) {
  const WindowMessage message = ParseWindowMessage(parameter);
  if (message.Ok) {
    const platform::WindowId window = FindAndFront(Desktop, windowName, false);
    Wait(BeforePostMs);
    if (window != 0) {
      PostWindowMessage(Desktop, window, message.Message, message.WParam, message.LParam);
    }
    Wait(AfterPostMs);
  }
  Wait(AfterMessageMs);
}

}  // namespace quillon

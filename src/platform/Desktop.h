#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::platform {

// A top-level window; 0 is no window.
using WindowId = std::uint64_t;

// The top-level windows of the desktop, found and driven by their titles.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // Every top-level window, in stacking order, the topmost first.
  virtual std::vector<WindowId> TopLevelWindows() const = 0;
  // A window's title (UTF-8); empty for a window that is gone.
  virtual std::string Title(WindowId window) const = 0;
  // The topmost window whose title is exactly `title`, or 0.
  virtual WindowId FindByTitle(std::string_view title) const = 0;
  virtual WindowId Foreground() const = 0;

  virtual bool IsMinimized(WindowId window) const = 0;
  virtual void Restore(WindowId window) = 0;
  virtual void BringToTop(WindowId window) = 0;
  // Makes the window the one that receives keys.
  virtual void Activate(WindowId window) = 0;

  // Asks the window to close, as its close button would.
  virtual void Close(WindowId window) = 0;
  // Asks the program that owns the window to end.
  virtual void Quit(WindowId window) = 0;
  // A menu or control command (wParam, lParam) for the window; backends without such commands
  // may do nothing.
  virtual void PostCommand(WindowId window, std::int64_t wParam, std::int64_t lParam) = 0;
};

}  // namespace quillon::platform

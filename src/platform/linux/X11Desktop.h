#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/linux/X11Connection.h"

namespace quillon::platform {

// The top-level windows of an X display. A WindowId is the X window of a client (the window
// that carries the title), never the frame a window manager puts around it.
//
// With a window manager that follows the Extended Window Manager Hints, the window list, the
// foreground window, activation and raising go through it: windows are listed from
// _NET_CLIENT_LIST_STACKING, the foreground window is _NET_ACTIVE_WINDOW, and activation and
// raising are requests to the window manager. Without one, the children of the root window are
// listed (for each the descendant that carries WM_STATE, else the child itself when it is a
// mapped ordinary window), the foreground window is the top-level window holding the input
// focus, and activation maps, raises and focuses the window directly.
//
// Titles are _NET_WM_NAME (UTF-8), else WM_NAME converted to UTF-8. A window that vanished
// between listing and use has an empty title and ignores every request.
class X11Desktop final : public Desktop {
 public:
  explicit X11Desktop(std::shared_ptr<X11Connection> connection)
      : Connection(std::move(connection)) {}

  std::vector<WindowId> TopLevelWindows() const override;
  std::string Title(WindowId window) const override;
  WindowId FindByTitle(std::string_view title) const override;
  WindowId Foreground() const override;

  // Minimised is _NET_WM_STATE_HIDDEN or the ICCCM iconic state.
  bool IsMinimized(WindowId window) const override;
  // Maps the window: the ICCCM request to leave the iconic state.
  void Restore(WindowId window) override;
  void BringToTop(WindowId window) override;
  // With a window manager the request is answered asynchronously, so this waits up to half a
  // second (on the connection, without spinning) for the window to become the active one and
  // to hold the input focus: keys sent right afterwards reach it.
  void Activate(WindowId window) override;

  // Sends WM_DELETE_WINDOW, as a window manager's close button does; a client that does not
  // take part in that protocol is disconnected from the server (XKillClient), which is what
  // the close button does to it too.
  void Close(WindowId window) override;
  // Sends SIGTERM to the process named by the window's _NET_WM_PID when it runs on this
  // machine. Without a usable process id the window is closed instead. A window of this
  // program itself is left alone: quitting never ends the program.
  void Quit(WindowId window) override;
  // X11 has no menu or control commands: does nothing, and says so once on stderr.
  void PostCommand(WindowId window, std::int64_t wParam, std::int64_t lParam) override;

 private:
  // The atoms of _NET_SUPPORTED when an EWMH window manager runs; empty otherwise.
  std::vector<unsigned long> WindowManagerFeatures() const;
  bool Supports(const std::vector<unsigned long>& features, const char* name) const;
  std::vector<WindowId> RootChildren() const;
  // `window` itself or the descendant of it that carries WM_STATE; None when there is none.
  Window ClientWithin(Window window, int depth) const;
  // The process that owns the window on this machine; 0 when unknown.
  long LocalOwner(Window window) const;
  void MessageToWindowManager(Window window, const char* type, long first, long second,
                              long third) const;
  WindowId FocusedTopLevel() const;

  std::shared_ptr<X11Connection> Connection;
  bool CommandNoticeShown = false;
};

}  // namespace quillon::platform

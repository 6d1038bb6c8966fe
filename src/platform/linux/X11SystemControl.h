#pragma once

#include <memory>

#include "platform/SystemControl.h"
#include "platform/linux/X11Connection.h"

namespace quillon::platform {

// The machine as seen from an X display and systemd-logind.
//
// The screen saver is the X server's own: it is active while its timeout is above zero.
// Switching it off sets the timeout to 0 and remembers the one it had; switching it on again
// restores that timeout, or 600 seconds when none was seen. Desktop environments that run a
// screen locker of their own keep their own settings, which this does not change.
//
// Shutting down goes to logind (LogindPower.h); `force` makes the request non-interactive, so
// that no authentication prompt holds it up. X11 has no taskbar to show or hide: ShowTaskbar
// does nothing.
class X11SystemControl final : public SystemControl {
 public:
  explicit X11SystemControl(std::shared_ptr<X11Connection> connection)
      : Connection(std::move(connection)) {}

  // The default screen's size; 0 by 0 once the connection is lost.
  ScreenSize Screen() const override;
  // See ProcessorClock.h.
  std::optional<double> ProcessorClockMHz() const override;
  bool ScreenSaverActive() const override;
  void SetScreenSaverActive(bool active) override;
  void ShowTaskbar(bool show) override;
  // Says on stderr why logind refused.
  bool Shutdown(ShutdownKind kind, bool force) override;

 private:
  static constexpr int DefaultTimeout = 600;  // seconds, the X server's default

  std::shared_ptr<X11Connection> Connection;
  int RestoredTimeout = DefaultTimeout;
};

}  // namespace quillon::platform

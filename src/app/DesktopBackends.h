#pragma once

#include <memory>
#include <optional>

#include "platform/Desktop.h"
#include "platform/Keyboard.h"
#include "platform/Mouse.h"
#include "platform/SystemControl.h"
#include "platform/fake/FakeDesktopSystem.h"
#include "platform/linux/X11Backends.h"

namespace quillon::app {

// The desktop the commands act on: the X display's backends, or, where no X display can be
// opened (a Wayland session without XWayland), the in-memory desktop, so the program still
// runs and edits configurations while commands act on nothing.
struct DesktopBackends {
  std::optional<platform::X11Backends> X11;
  std::unique_ptr<platform::FakeDesktopSystem> Detached;
  platform::Keyboard* Keyboard = nullptr;
  platform::Mouse* Mouse = nullptr;
  platform::Desktop* Desktop = nullptr;
  platform::SystemControl* System = nullptr;
};

DesktopBackends OpenDesktopBackends();

}  // namespace quillon::app

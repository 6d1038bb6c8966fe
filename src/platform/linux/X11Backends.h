#pragma once

#include <memory>

#include "core/common/Result.h"
#include "platform/Desktop.h"
#include "platform/Keyboard.h"
#include "platform/Mouse.h"
#include "platform/SystemControl.h"

namespace quillon::platform {

// The backends that drive an X display, sharing one connection to it.
struct X11Backends {
  std::unique_ptr<Keyboard> TheKeyboard;
  std::unique_ptr<Mouse> TheMouse;
  std::unique_ptr<Desktop> TheDesktop;
  std::unique_ptr<SystemControl> TheSystem;
};

// Connects to `displayName` (null: the DISPLAY environment variable) and builds the backends
// over that connection. Fails when the display cannot be opened. The connection closes when
// the last of the backends is destroyed.
Result<X11Backends> OpenX11Backends(const char* displayName);

}  // namespace quillon::platform

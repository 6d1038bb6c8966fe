#include "app/DesktopBackends.h"

#include <iostream>

namespace quillon::app {

DesktopBackends OpenDesktopBackends() {
  DesktopBackends backends;
  auto x11 = platform::OpenX11Backends(nullptr);
  if (x11) {
    backends.X11 = std::move(x11).Value();
    backends.Keyboard = backends.X11->TheKeyboard.get();
    backends.Mouse = backends.X11->TheMouse.get();
    backends.Desktop = backends.X11->TheDesktop.get();
    backends.System = backends.X11->TheSystem.get();
    return backends;
  }
  std::cerr << "quillon: " << x11.ErrorMessage() << "; commands will act on nothing\n";
  backends.Detached = std::make_unique<platform::FakeDesktopSystem>();
  backends.Keyboard = &backends.Detached->Keyboard;
  backends.Mouse = &backends.Detached->Mouse;
  backends.Desktop = &backends.Detached->Desktop;
  backends.System = &backends.Detached->System;
  return backends;
}

}  // namespace quillon::app

#pragma once

#include "core/common/Result.h"
#include "platform/SystemControl.h"

namespace quillon::platform {

// Asks systemd-logind, on the system D-Bus, to power the machine off or restart it
// (org.freedesktop.login1.Manager.PowerOff or Reboot). With `interactive`, logind may ask the
// user to authenticate through a polkit agent before it agrees, and the call waits for that.
// The bus is the one DBUS_SYSTEM_BUS_ADDRESS names when set (tests point it at a private bus),
// else the system's. Fails with logind's message when the bus cannot be reached or logind
// refuses.
Result<Done> LogindShutdown(ShutdownKind kind, bool interactive);

}  // namespace quillon::platform

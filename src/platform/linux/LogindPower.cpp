#include "platform/linux/LogindPower.h"

#include <systemd/sd-bus.h>

#include <cstring>
#include <memory>
#include <string>

namespace quillon::platform {

namespace {

struct BusClose {
  void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct MessageRelease {
  void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};

}  // namespace

Result<Done> LogindShutdown(ShutdownKind kind, bool interactive) {
  sd_bus* opened = nullptr;
  const int connected = sd_bus_open_system(&opened);
  const std::unique_ptr<sd_bus, BusClose> bus(opened);
  if (connected < 0) {
    return Error{std::string("cannot reach the system bus: ") + std::strerror(-connected)};
  }
  const char* method = kind == ShutdownKind::PowerOff ? "PowerOff" : "Reboot";
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* answered = nullptr;
  const int called = sd_bus_call_method(bus.get(), "org.freedesktop.login1",
                                        "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                        method, &error, &answered, "b", interactive ? 1 : 0);
  const std::unique_ptr<sd_bus_message, MessageRelease> reply(answered);
  if (called >= 0) return Done{};
  std::string message = std::string("logind refused ") + method + ": " +
                        (error.message != nullptr ? error.message : std::strerror(-called));
  sd_bus_error_free(&error);
  return Error{std::move(message)};
}

}  // namespace quillon::platform

#pragma once

#include <cstdint>
#include <optional>

namespace quillon::platform {

struct ScreenSize {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  bool operator==(const ScreenSize&) const = default;
};

enum class ShutdownKind : std::uint8_t { Reboot, PowerOff };

// The machine as a whole: its screen, screen saver, taskbar and power.
class SystemControl {
 public:
  virtual ~SystemControl() = default;

  virtual ScreenSize Screen() const = 0;

  // The processor's clock in MHz, when the system tells it.
  virtual std::optional<double> ProcessorClockMHz() const = 0;

  virtual bool ScreenSaverActive() const = 0;
  virtual void SetScreenSaverActive(bool active) = 0;

  // Shows or hides the taskbar; a system without one does nothing.
  virtual void ShowTaskbar(bool show) = 0;

  // Restarts or powers off the machine; `force` does not wait for programs that hold it up.
  // False when the system refused.
  virtual bool Shutdown(ShutdownKind kind, bool force) = 0;
};

}  // namespace quillon::platform

#pragma once

#include <cstdint>

namespace quillon::platform {

// Synthetic key strokes, by Windows virtual-key code and scan code: the codes stay those of
// Windows throughout the program, and each backend maps them to its own key names.
class Keyboard {
 public:
  virtual ~Keyboard() = default;

  // Whether keys can be injected at all (a display is reachable, the extension is present).
  virtual bool IsAvailable() const = 0;

  // Presses (`up` false) or releases one key. The scan code is that of a US keyboard; backends
  // that identify keys otherwise may ignore it.
  virtual void KeyEvent(std::uint8_t virtualKey, std::uint16_t scanCode, bool up) = 0;

  // Whether Num Lock is on. Pressing and releasing the Num Lock key (virtual key 144) toggles it.
  virtual bool NumLockOn() const = 0;
};

}  // namespace quillon::platform

#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <vector>

#include "platform/Keyboard.h"
#include "platform/linux/X11Connection.h"

namespace quillon::platform {

// Keys injected into the X server through the XTEST extension, as if typed on its keyboard:
// the virtual key becomes a keysym (X11KeyMap.h), the keysym the keycode that carries it in
// the server's current keyboard mapping. The scan code is ignored.
//
// Some keysyms of the virtual-key table are carried by no keycode (F13-F24, Select, Execute on
// a common PC mapping). The first time such a key is typed, every keysym of the table that
// lacks a keycode is bound to a spare keycode (one without any keysym), all in one go, and the
// bindings stay until the keyboard is destroyed, which removes them. Clients read a changed
// mapping lazily, after key events may already have reached them, and some miss keys when the
// mapping changes again while they catch up; so the mapping changes once, not around each
// key. Keysyms left over when the spare keycodes run out are not typed.
class X11Keyboard final : public Keyboard {
 public:
  explicit X11Keyboard(std::shared_ptr<X11Connection> connection);
  ~X11Keyboard() override;
  X11Keyboard(const X11Keyboard&) = delete;
  X11Keyboard& operator=(const X11Keyboard&) = delete;

  bool IsAvailable() const override;
  void KeyEvent(std::uint8_t virtualKey, std::uint16_t scanCode, bool up) override;
  // Read from the locked modifiers of the keyboard state, so it follows the server, not the
  // keys injected here.
  bool NumLockOn() const override;

 private:
  struct SpareBinding {
    KeyCode Code;
    KeySym Symbol;
  };

  KeyCode KeycodeOf(KeySym symbol);
  void BindMissingKeysyms();
  // The first keysym `code` carries in the server's mapping now.
  KeySym FirstSymbolOf(KeyCode code) const;

  std::shared_ptr<X11Connection> Connection;
  std::vector<SpareBinding> Bindings;
};

}  // namespace quillon::platform

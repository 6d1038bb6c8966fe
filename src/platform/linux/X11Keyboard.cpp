#include "platform/linux/X11Keyboard.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <utility>

#include "platform/linux/X11KeyMap.h"

namespace quillon::platform {

namespace {

// Gives each keycode of `keys` its one keysym, in as few changes of the keyboard mapping as
// there are runs of consecutive keycodes: every change makes each client reload its mapping.
void SetKeysyms(Display* display, std::vector<std::pair<KeyCode, KeySym>> keys) {
  std::sort(keys.begin(), keys.end());
  for (std::size_t first = 0; first < keys.size();) {
    std::vector<KeySym> run = {keys[first].second};
    while (first + run.size() < keys.size() &&
           keys[first + run.size()].first == keys[first].first + run.size()) {
      run.push_back(keys[first + run.size()].second);
    }
    XChangeKeyboardMapping(display, keys[first].first, 1, run.data(), static_cast<int>(run.size()));
    first += run.size();
  }
  XSync(display, False);
}

}  // namespace

X11Keyboard::X11Keyboard(std::shared_ptr<X11Connection> connection)
    : Connection(std::move(connection)) {}

X11Keyboard::~X11Keyboard() {
  if (Connection->Lost() || Bindings.empty()) return;
  std::vector<std::pair<KeyCode, KeySym>> cleared;
  for (const SpareBinding& binding : Bindings) {
    // A binding replaced meanwhile by a new keyboard mapping is no longer ours to undo.
    if (FirstSymbolOf(binding.Code) == binding.Symbol) cleared.emplace_back(binding.Code, NoSymbol);
  }
  SetKeysyms(Connection->Handle(), std::move(cleared));
}

bool X11Keyboard::IsAvailable() const { return !Connection->Lost() && Connection->HasXTest(); }

void X11Keyboard::KeyEvent(std::uint8_t virtualKey, std::uint16_t, bool up) {
  if (!IsAvailable()) return;
  Display* display = Connection->Handle();
  const KeySym symbol = KeysymOfVirtualKey(virtualKey);
  if (symbol == NoSymbol) return;
  Connection->HandleQueuedEvents();
  const KeyCode code = KeycodeOf(symbol);
  if (code == 0) return;
  XTestFakeKeyEvent(display, code, up ? False : True, CurrentTime);
  XFlush(display);
}

bool X11Keyboard::NumLockOn() const {
  Display* display = Connection->Handle();
  if (Connection->Lost()) return false;
  XkbStateRec state{};
  if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return false;
  return (state.locked_mods & XkbKeysymToModifiers(display, XK_Num_Lock)) != 0;
}

KeyCode X11Keyboard::KeycodeOf(KeySym symbol) {
  const KeyCode code = XKeysymToKeycode(Connection->Handle(), symbol);
  if (code != 0) return code;
  const auto bound = [this, symbol] {
    return std::find_if(Bindings.begin(), Bindings.end(),
                        [symbol](const SpareBinding& b) { return b.Symbol == symbol; });
  };
  auto binding = bound();
  if (binding != Bindings.end() && FirstSymbolOf(binding->Code) == symbol) return binding->Code;
  BindMissingKeysyms();
  binding = bound();
  return binding != Bindings.end() ? binding->Code : 0;
}

void X11Keyboard::BindMissingKeysyms() {
  Display* display = Connection->Handle();
  int low = 0;
  int high = 0;
  XDisplayKeycodes(display, &low, &high);
  int perKeycode = 0;
  KeySym* mapping =
      XGetKeyboardMapping(display, static_cast<KeyCode>(low), high - low + 1, &perKeycode);
  if (mapping == nullptr) return;
  const KeySym* const end = mapping + static_cast<std::ptrdiff_t>(high - low + 1) * perKeycode;
  // From the top: the highest keycodes are the least likely to belong to a real key.
  std::vector<KeyCode> spares;
  for (int code = high; code >= low; --code) {
    const KeySym* first = mapping + static_cast<std::ptrdiff_t>(code - low) * perKeycode;
    if (std::all_of(first, first + perKeycode, [](KeySym s) { return s == NoSymbol; })) {
      spares.push_back(static_cast<KeyCode>(code));
    }
  }
  std::vector<KeySym> missing;
  for (int key = 0; key <= 0xFF; ++key) {
    const KeySym symbol = KeysymOfVirtualKey(static_cast<std::uint8_t>(key));
    if (symbol != NoSymbol && std::find(static_cast<const KeySym*>(mapping), end, symbol) == end &&
        std::find(missing.begin(), missing.end(), symbol) == missing.end()) {
      missing.push_back(symbol);
    }
  }
  XFree(mapping);
  // A binding whose keysym went missing was undone by a new keyboard mapping.
  std::erase_if(Bindings, [&missing](const SpareBinding& b) {
    return std::find(missing.begin(), missing.end(), b.Symbol) != missing.end();
  });
  std::vector<std::pair<KeyCode, KeySym>> bound;
  for (std::size_t i = 0; i < missing.size() && i < spares.size(); ++i) {
    bound.emplace_back(spares[i], missing[i]);
    Bindings.push_back({spares[i], missing[i]});
  }
  SetKeysyms(display, std::move(bound));
}

KeySym X11Keyboard::FirstSymbolOf(KeyCode code) const {
  int perKeycode = 0;
  KeySym* symbols = XGetKeyboardMapping(Connection->Handle(), code, 1, &perKeycode);
  if (symbols == nullptr) return NoSymbol;
  const KeySym first = perKeycode > 0 ? symbols[0] : NoSymbol;
  XFree(symbols);
  return first;
}

}  // namespace quillon::platform

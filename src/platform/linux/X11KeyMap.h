#pragma once

#include <X11/X.h>

#include <cstdint>

namespace quillon::platform {

// The X key name (keysym) of a Windows virtual-key code, or NoSymbol for a code that names no
// key here (the mouse-button codes, the IME and OEM-specific codes). Letters map to their
// lower-case keysym and punctuation to the keys of a US layout, so Shift held with a key gives
// what it gives on a US keyboard; numeric-pad codes map to the keypad keysyms, whose meaning
// depends on Num Lock as on Windows.
KeySym KeysymOfVirtualKey(std::uint8_t virtualKey);

}  // namespace quillon::platform

#pragma once

#include <cstdint>

namespace quillon {

// The US keyboard layout, which key strings are written for: which key types a character and
// which codes a key sends. Virtual keys are the Windows codes the whole program uses.

// The virtual key that types `c` on a US keyboard, ignoring the Shift it may need ('A' and 'a'
// both give 65, '?' gives 191); 0 for a character no key types.
std::uint8_t VirtualKeyOfChar(char c);

// The two translations of a virtual key that key events carry.
enum class KeyMapping : std::uint8_t {
  ScanCode = 0,       // the key's scan code (set 1, without the extended prefix)
  CharacterCode = 2,  // the unshifted character the key types (letters upper case), or 0
};

// 0 where the key has no such code.
std::uint16_t MapVirtualKey(std::uint8_t virtualKey, KeyMapping mapping);

}  // namespace quillon

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

// Stored texts (short strings of remote files, configuration, key-combination and settings
// files) are Windows-1251: one byte per character, so files move between this program and the
// Windows one unchanged. Inside the program text is UTF-8.

// Windows-1251 bytes to UTF-8. The one unassigned byte (0x98) becomes '?'.
std::string Cp1251ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1251. Characters outside the code page, and malformed UTF-8 sequences,
// become '?'.
std::string Utf8ToCp1251(std::string_view utf8);

// The first `maxBytes` stored bytes of `utf8` (at most that many characters), as UTF-8 again:
// a text cut to the length of a stored field, never in the middle of a character.
std::string CutToStoredLength(std::string_view utf8, std::size_t maxBytes);

// Upper case of the letters the code page holds: ASCII and Cyrillic. Other characters stay.
std::string UpperCase1251(std::string_view utf8);

}  // namespace quillon

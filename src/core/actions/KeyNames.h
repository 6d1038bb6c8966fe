#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

struct KeyName {
  std::string_view Name;  // at most 13 characters
  std::uint8_t VirtualKey = 0;
};

// The keys a key string names in square brackets ("[F5]"), compared trimmed and in lower
// case, the first match winning. The row order is part of the language: rows 32-41 (the
// numeric pad digits) are sent with Num Lock on, every other row with it off. "Menu" is the
// left Windows key (91), not Alt; Alt has no row.
inline constexpr std::size_t SpecialKeyCount = 73;
inline constexpr std::size_t FirstNumPadRow = 32;
inline constexpr std::size_t LastNumPadRow = 41;
extern const std::array<KeyName, SpecialKeyCount> SpecialKeyNames;

// The names under which the editor and the key-combination window show a pressed key. The
// name of virtual key 39 is spelled "Rigth": key-combination libraries show it so.
inline constexpr std::size_t KeyDisplayCount = 100;
extern const std::array<KeyName, KeyDisplayCount> KeyDisplayNames;

// The row (from 1) of `name` in SpecialKeyNames, compared trimmed and in lower case.
std::optional<std::size_t> FindSpecialKey(std::string_view name);

// The readable form of a key string, shown as a hint: "^" becomes "Control ", "!" "Shift ",
// "&" "Alt ", "{" "+ " and "}" one blank; everything else stays.
std::string ReadableKeys(std::string_view keys);

// Lower case of the letters Windows-1251 holds (ASCII and Cyrillic), on UTF-8 text; other
// characters stay. Window titles are compared this way.
std::string LowerCase1251(std::string_view utf8);

}  // namespace quillon

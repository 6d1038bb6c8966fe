#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

// The code point that replaces a malformed UTF-8 sequence.
inline constexpr char32_t Replacement = 0xFFFD;

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t c);

// Decodes the UTF-8 character at `i` and moves `i` past it. A byte that does not start a
// well-formed sequence (overlong forms, surrogates and values beyond U+10FFFF included) yields
// Replacement and moves on by one byte.
char32_t NextCodePoint(std::string_view utf8, std::size_t& i);

}  // namespace quillon

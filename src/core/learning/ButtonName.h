#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/learning/LearnGrid.h"

namespace quillon {

// The rules of the name box and of the names of learned buttons.

// The characters a stored name holds.
inline constexpr std::size_t StoredNameLength = 64;

// Brackets are refused in a name: "<", ">", "[", "]", "{" and "}" mean something in the key
// strings and node texts of a configuration.
bool RefusedInName(char32_t character);

// A typed key: a refused character never, a blank not where the name would begin (the box is
// empty or the caret at its start).
bool NameBoxAcceptsKey(char32_t key, bool boxEmpty, bool caretAtStart);

// A changed text, typed or pasted: refused characters and leading blanks dropped, so a paste
// cannot bring in what typing could not.
std::string FilterNameText(std::string_view text);

// Leading and trailing blanks removed (on leaving the box).
std::string TrimBlanks(std::string_view text);

// The name as the key table stores it: cut to the 64 characters the field holds, then upper
// case. Names are compared in this form, so two names that a remote file could not tell apart
// are never both accepted.
std::string StoredButtonName(std::string_view name);

enum class NameProblem : std::uint8_t { None, Missing, FirstSymbolBlank, Exists };

// Whether `name` can be remembered beside the keys of the grid: not empty, not starting with a
// blank, and no learned key of the same stored name (letter case aside).
NameProblem CheckButtonName(const LearnGrid& keys, std::string_view name);

}  // namespace quillon

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillon {

// The program-wide language flag: 0 English, 1 Bulgarian.
using LanguageFlag = std::uint8_t;
inline constexpr LanguageFlag English = 0;
inline constexpr LanguageFlag Bulgarian = 1;

// A user-facing text with its twin. Each window or feature keeps its texts in one table of
// these, keyed by role; the flag picks one at the moment of showing.
struct BilingualText {
  std::string_view InEnglish;
  std::string_view InBulgarian;

  std::string_view operator()(LanguageFlag language) const {
    return language == Bulgarian ? InBulgarian : InEnglish;
  }
};

// Flipping the language: English becomes Bulgarian, anything else English.
constexpr LanguageFlag FlipLanguage(LanguageFlag language) {
  return language == English ? Bulgarian : English;
}

// A table of texts keyed by role: `Role` is an enumeration ending in `Count`, and the table
// holds one pair of texts per role, in the enumeration's order.
template <typename Role>
using TextTable = std::array<BilingualText, static_cast<std::size_t>(Role::Count)>;

template <typename Role>
constexpr std::string_view Text(const TextTable<Role>& table, Role role, LanguageFlag language) {
  return table[static_cast<std::size_t>(role)](language);
}

}  // namespace quillon

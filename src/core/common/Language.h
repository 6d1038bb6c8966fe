#pragma once

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

}  // namespace quillon

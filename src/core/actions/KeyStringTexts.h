#pragma once

#include "core/common/Language.h"

namespace quillon {

// The hints and messages of writing and storing key strings.
enum class KeyStringText {
  BracesNumber,
  BracesAnd,
  BracketsNumber,
  BracketsAnd,
  Continue,
  SpecialKey,
  NotFound,
  BeginSpecialKey,
  EndSpecialKey,
  CapitalInSpecialKey,
  SpecialKeyInSpecialKey,
  Count
};

inline constexpr TextTable<KeyStringText> KeyStringTexts = {{
    {"Number of \"{\" = ", "Броя на \"{\" е = "},
    {", and number of \"}\" = ", ", а броя на \"}\" = "},
    {"Number of \"[\" = ", "Броя на \"[\" е = "},
    {", and number of \"]\" = ", ", а броя на \"]\" = "},
    {"Continue?", "Присвояване на функцията?"},
    {"Special key ", "Специалния клавиш "},
    {" not found!", " не е намерен!"},
    {"Beginning of special key", "Начало на спрециален клавиш"},
    {"End of special key", "Край на спрециален клавиш"},
    {"Unable insert special key in another special key",
     "Не може да се вмъкне специален клавиш в друг специален клавиш"},
    {"Unable insert special key intro another special key",
     "Не може да се вмъкне специален клавиш в друг специален клавиш"},
}};

inline std::string_view Text(KeyStringText role, LanguageFlag language) {
  return Text(KeyStringTexts, role, language);
}

}  // namespace quillon

#pragma once

#include "core/common/Language.h"

namespace quillon {

// The countdown window before a restart or shut-down.
enum class ShutDownText {
  RebootCaption,
  RebootLabel,
  TurnOffCaption,
  TurnOffLabel,
  Seconds,
  Cancel,
  Count
};

inline constexpr TextTable<ShutDownText> ShutDownTexts = {{
    {"Reboot", "Рестартиране"},
    {"Reboot after: ", "Рестарт след: "},
    {"Shut Down", "Изключване"},
    {"Shut Down after: ", "Изключване след: "},
    {" sec.", " сек."},
    {"Cancel", "Откажи"},
}};

inline std::string_view Text(ShutDownText role, LanguageFlag language) {
  return Text(ShutDownTexts, role, language);
}

}  // namespace quillon

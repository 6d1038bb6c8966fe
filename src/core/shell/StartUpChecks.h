#pragma once

#include <cstdint>
#include <string_view>

#include "core/actions/MessageBox.h"
#include "core/common/Language.h"
#include "platform/SerialPorts.h"
#include "platform/SystemControl.h"

namespace quillon {

// The checks of the main window's creation that may end the program: a free serial port for
// the receiver and a screen large enough for the window.

enum class StartUpCheckText { NoFreePort, ScreenTooSmall, FullWindowHint, Count };

inline constexpr TextTable<StartUpCheckText> StartUpCheckTexts = {{
    {"No free COM port !!!", "Не е открит свободен COM порт !!!"},
    {"Screen resolution must be 800/600!\r\nContinue?",
     "Минималните изисквания за резолюцията на монитора са 800/600\r\nЧаст от основния прозорец "
     "ще бъде извън видимата област.\r\nЖелаете ли да продължите?"},
    // "Show full window" carries a hint in Bulgarian only.
    {"",
     "Ако резолюцията на монитора ви е\r\nпо-малка от 1024/768 е препоръчително\r\nда изключите "
     "тази функция"},
}};

inline std::string_view Text(StartUpCheckText role, LanguageFlag language) {
  return Text(StartUpCheckTexts, role, language);
}

// The highest-numbered free port, which bounds the receiver search; 0 after the error box that
// says there is none, and the program ends.
std::int32_t CheckFreePort(const platform::SerialPorts& ports, MessageBoxes& boxes,
                           LanguageFlag language);

struct ScreenVerdict {
  bool GoOn = true;            // false: the user chose to end the program
  bool FullWindowFits = true;  // false: "Show full window" is unticked
  bool operator==(const ScreenVerdict&) const = default;
};

// Below 1024 by 768 the full window does not fit; below 800 by 600 the user is asked whether to
// go on.
ScreenVerdict CheckScreen(platform::ScreenSize screen, MessageBoxes& boxes, LanguageFlag language);

}  // namespace quillon

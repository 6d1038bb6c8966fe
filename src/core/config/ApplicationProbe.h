#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/actions/MessageBox.h"
#include "core/common/Language.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/EventLoop.h"
#include "platform/Launcher.h"

namespace quillon {

// The application probe of the configuration editor ("Application"): starts the program the user
// chose, waits for its windows, closes the window it opened and gives the titles that appeared,
// which become the choices of the window name.

enum class ProbeText { WindowNameNotFound, ChangeSkin, PleaseClose, Count };

inline constexpr TextTable<ProbeText> ProbeTexts = {{
    {"Window name not found!",
     "Името на основния прозорец на приложението не може да бъде установено!\r\nВъзможно е "
     "приложението да се стартира като икона в taskbar-а или времето за стартиране е малко. "
     "Променете времето за стартиране на приложението от \"Настройки\" или напишете името на "
     "прозореца ръчно."},
    {"Change application skin\r\nand after that locked application",
     "Сега променете skin-а на приложението и след това го затворете"},
    {"Please, close application: ", "Моля, затворете приложението: "},
}};

// The skins probe's button reads "Skins" until its first press.
inline constexpr std::string_view SkinsCaption = "Skins";

inline std::string_view Text(ProbeText role, LanguageFlag language) {
  return Text(ProbeTexts, role, language);
}

struct ProbeParts {
  platform::Desktop& Desktop;
  platform::Launcher& Launcher;
  platform::EventLoop& Loop;
  const platform::Clock& Clock;
  MessageBoxes& Boxes;
  // The program's own windows are never closed and never offered as a window name.
  std::function<bool(platform::WindowId)> IsOwnWindow;
};

struct ProbeTimes {
  std::int32_t StartApplicationSeconds = 1;  // until the program's window is in front
  std::int32_t StartWindowsSeconds = 1;      // until its other windows are open
};

// Starts `program` in its folder and gives the titles of the windows that were not open
// before, in the desktop's order, each once. The window in front after the first wait is
// asked to close (never to quit) when it is new and not the program's own. With no new title
// the box says so and the list is empty.
std::vector<std::string> ProbeApplication(const ProbeParts& parts, const std::string& program,
                                          const ProbeTimes& times, LanguageFlag language);

// The skins probe ("Skins", then "Complete !"): the titles a re-skinned application shows. The
// first press starts the application and lists the windows; the user changes its skin and
// closes it; the second press waits until it is closed (the user may cancel), starts it again
// and gives the titles that are new.
class SkinsProbe {
 public:
  // `minimizeProgram(true)` gets the program's windows out of the way, `(false)` brings them
  // back.
  SkinsProbe(const ProbeParts& parts, std::function<void(bool)> minimizeProgram)
      : Parts(parts), MinimizeProgram(std::move(minimizeProgram)) {}

  // Between the two presses.
  bool Waiting() const { return Armed; }

  void Start(const std::string& program, std::int32_t startSeconds, LanguageFlag language);
  // The new titles; none when the user cancelled the wait or nothing changed.
  std::vector<std::string> Complete(std::int32_t closeSeconds, std::int32_t startSeconds,
                                    LanguageFlag language);

 private:
  void Launch(std::int32_t startSeconds);

  ProbeParts Parts;
  std::function<void(bool)> MinimizeProgram;
  std::string Program;
  platform::WindowId Window = 0;
  std::vector<std::string> TitlesBefore;
  bool Armed = false;
};

}  // namespace quillon

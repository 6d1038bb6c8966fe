#include "core/shell/StartUpChecks.h"

#include "core/receiver/ReceiverDiscovery.h"

namespace quillon {

std::int32_t CheckFreePort(const platform::SerialPorts& ports, MessageBoxes& boxes,
                           LanguageFlag language) {
  const std::int32_t highest = HighestFreePort(ports);
  if (highest == 0) {
    ShowMessageBox(boxes, language, Text(StartUpCheckText::NoFreePort, language),
                   MessageButtons::Ok, MessageKind::Error);
  }
  return highest;
}

ScreenVerdict CheckScreen(platform::ScreenSize screen, MessageBoxes& boxes, LanguageFlag language) {
  ScreenVerdict verdict;
  verdict.FullWindowFits = screen.Width >= 1024 && screen.Height >= 768;
  if (screen.Width < 800 || screen.Height < 600) {
    verdict.GoOn =
        ShowMessageBox(boxes, language, Text(StartUpCheckText::ScreenTooSmall, language),
                       MessageButtons::YesNo, MessageKind::Confirmation) == MessageAnswer::Yes;
  }
  return verdict;
}

}  // namespace quillon

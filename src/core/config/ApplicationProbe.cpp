#include "core/config/ApplicationProbe.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "core/common/WaitPumping.h"

namespace quillon {

namespace {

struct OpenWindows {
  std::vector<platform::WindowId> Ids;
  std::vector<std::string> Titles;

  bool Has(platform::WindowId window) const {
    return std::find(Ids.begin(), Ids.end(), window) != Ids.end();
  }
  bool HasTitle(const std::string& title) const {
    return std::find(Titles.begin(), Titles.end(), title) != Titles.end();
  }
};

OpenWindows ListOpen(const ProbeParts& parts) {
  OpenWindows open;
  for (const platform::WindowId window : parts.Desktop.TopLevelWindows()) {
    if (parts.IsOwnWindow && parts.IsOwnWindow(window)) continue;
    open.Ids.push_back(window);
    open.Titles.push_back(parts.Desktop.Title(window));
  }
  return open;
}

void WaitSeconds(const ProbeParts& parts, std::int32_t seconds) {
  WaitPumping(parts.Loop, parts.Clock, static_cast<std::uint32_t>(std::max(seconds, 0)) * 1000u);
}

}  // namespace

std::vector<std::string> ProbeApplication(const ProbeParts& parts, const std::string& program,
                                          const ProbeTimes& times, LanguageFlag language) {
  const OpenWindows before = ListOpen(parts);
  std::vector<std::string> found;
  if (parts.Launcher.Open(program, std::filesystem::path(program).parent_path().string())) {
    WaitSeconds(parts, times.StartApplicationSeconds);
    const platform::WindowId front = parts.Desktop.Foreground();
    WaitSeconds(parts, times.StartWindowsSeconds);
    const OpenWindows after = ListOpen(parts);
    for (const std::string& title : after.Titles) {
      const bool listed = std::find(found.begin(), found.end(), title) != found.end();
      if (!title.empty() && !before.HasTitle(title) && !listed) found.push_back(title);
    }
    // Only a window the program opened is closed: one that was there before is the user's.
    if (front != 0 && !before.Has(front) && after.Has(front)) parts.Desktop.Close(front);
  }
  if (found.empty()) {
    ShowMessageBox(parts.Boxes, language, Text(ProbeText::WindowNameNotFound, language),
                   MessageButtons::Ok, MessageKind::Error);
  }
  return found;
}

void SkinsProbe::Launch(std::int32_t startSeconds) {
  MinimizeProgram(true);
  WaitSeconds(Parts, 1);
  Parts.Launcher.Open(Program, std::filesystem::path(Program).parent_path().string());
  WaitSeconds(Parts, startSeconds);
}

void SkinsProbe::Start(const std::string& program, std::int32_t startSeconds,
                       LanguageFlag language) {
  Program = program;
  Launch(startSeconds);
  Window = Parts.Desktop.Foreground();
  TitlesBefore = ListOpen(Parts).Titles;
  Armed = true;
  MinimizeProgram(false);
  ShowMessageBox(Parts.Boxes, language, Text(ProbeText::ChangeSkin, language), MessageButtons::Ok,
                 MessageKind::Information);
  if (Window != 0) Parts.Desktop.Activate(Window);
}

std::vector<std::string> SkinsProbe::Complete(std::int32_t closeSeconds, std::int32_t startSeconds,
                                              LanguageFlag language) {
  Armed = false;
  WaitSeconds(Parts, closeSeconds);
  const std::string name = std::filesystem::path(Program).filename().string();
  while (Window != 0 && !Parts.Desktop.Title(Window).empty()) {
    Parts.Desktop.Activate(Window);
    if (ShowMessageBox(Parts.Boxes, language,
                       std::string(Text(ProbeText::PleaseClose, language)) + name,
                       MessageButtons::OkCancel, MessageKind::Warning) != MessageAnswer::Ok) {
      return {};
    }
    WaitSeconds(Parts, closeSeconds);
  }
  Launch(startSeconds);
  std::vector<std::string> found;
  for (const std::string& title : ListOpen(Parts).Titles) {
    const bool known =
        std::find(TitlesBefore.begin(), TitlesBefore.end(), title) != TitlesBefore.end() ||
        std::find(found.begin(), found.end(), title) != found.end();
    if (!title.empty() && !known) found.push_back(title);
  }
  MinimizeProgram(false);
  return found;
}

}  // namespace quillon

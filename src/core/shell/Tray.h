#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

// The tray icon's tip holds at most this many stored characters.
inline constexpr std::size_t TrayTipLength = 62;
// The tip as the notification area keeps it: its first 62 characters.
std::string TrayTip(std::string_view text);

// The main window and the tray icon, as going to the tray and coming back see them.
class TrayView {
 public:
  virtual ~TrayView() = default;
  // Puts the icon into the notification area (again); true when it is there.
  virtual bool ShowTrayIcon() = 0;
  virtual bool WindowShowing() const = 0;
  virtual void HideWindow() = 0;
  // Draws the window's way to the icon, where the desktop tells where the icon is.
  virtual void AnimateToTray() {}
  virtual void MinimizeWindow() = 0;
  // Shows the window with the bounds it had when it went to the tray.
  virtual void RestoreWindow() = 0;
};

// Going to the tray ("I am ready !", a click on the icon while the window shows) hides the
// window, with the animation to the icon, only when the icon is really in the notification area: on
// a desktop without one (a bare X server) the window is minimised instead, so the program can never
// become unreachable.
class TrayModel {
 public:
  static constexpr int IconAttempts = 3;

  explicit TrayModel(TrayView& view) : View(view) {}

  void ButtonTestClick();
  // A left or right click on the icon.
  void TrayIconClick();

 private:
  TrayView& View;
};

}  // namespace quillon

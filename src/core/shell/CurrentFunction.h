#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/shell/HintDisplay.h"
#include "core/shell/Options.h"
#include "platform/EventLoop.h"
#include "platform/SystemControl.h"

namespace quillon {

struct HintSize {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  bool operator==(const HintSize&) const = default;
};

// The current-function window (TForm2): borderless, always on top, one bold label.
class CurrentFunctionView {
 public:
  virtual ~CurrentFunctionView() = default;
  // Sets the label (lines separated by CR; empty clears it) and gives the label's size.
  virtual HintSize SetLabel(const std::string& text) = 0;
  virtual void Place(std::int32_t left, std::int32_t top, HintSize size) = 0;
  // Shows the window above all others without taking the focus.
  virtual void ShowWindow() = 0;
  virtual void CloseWindow() = 0;
  virtual platform::ScreenSize Screen() const = 0;
};

// Shows the name of each executed function for "ShowHintTime" seconds in the lower right
// corner of the screen. Each function restarts the time; the same text again neither moves nor
// resizes the window. With the option "ShowHint" off nothing is shown, but the time still runs
// and its end shows the taskbar again, as every close does.
class CurrentFunctionDisplay : public HintDisplay {
 public:
  static constexpr std::uint32_t FirstInterval = 3000;  // until the main window is activated

  CurrentFunctionDisplay(CurrentFunctionView& view, platform::EventLoop& loop,
                         platform::SystemControl& system, const Options& options);

  void IRShowHint(const std::string& text) override;
  void CloseHint() override;

  // "ShowHintTime" seconds, set each time the main window becomes active.
  void SetHintInterval(std::uint32_t milliseconds) { Timer2->SetInterval(milliseconds); }
  std::uint32_t HintInterval() const { return Timer2->Interval(); }
  // Key dispatch keeps a close timer of its own, enabled at each key; showing a function
  // restarts it through this, so neither closes the window before the time after the last one.
  void RestartAlso(std::function<void()> restart) { RestartOther = std::move(restart); }

  bool Showing() const { return Visible; }
  const std::string& Text() const { return Shown; }
  // Set by each close; the main window skips one activation after it (the display's closing
  // hands the focus back to it).
  bool JustClosed = false;

 private:
  CurrentFunctionView& View;
  platform::SystemControl& System;
  const Options& Settings;
  std::unique_ptr<platform::Timer> Timer2;
  std::function<void()> RestartOther;
  bool Visible = false;
  std::string Shown;
};

}  // namespace quillon

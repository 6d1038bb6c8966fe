#include "core/shell/CurrentFunction.h"

namespace quillon {

namespace {

constexpr std::int32_t Margin = 20;     // around the label
constexpr std::int32_t RightGap = 10;   // from the screen's right edge
constexpr std::int32_t BottomGap = 30;  // from the screen's bottom edge, above a taskbar

}  // namespace

CurrentFunctionDisplay::CurrentFunctionDisplay(CurrentFunctionView& view, platform::EventLoop& loop,
                                               platform::SystemControl& system,
                                               const Options& options)
    : View(view),
      System(system),
      Settings(options),
      Timer2(loop.CreateTimer([this] { CloseHint(); })) {
  Timer2->SetInterval(FirstInterval);
}

void CurrentFunctionDisplay::IRShowHint(const std::string& text) {
  Timer2->Disable();
  if (Settings.ShowHint) {
    if (!Visible || text != Shown) {
      const HintSize label = View.SetLabel(text);
      const HintSize size{label.Width + Margin, label.Height + Margin};
      const platform::ScreenSize screen = View.Screen();
      View.Place(screen.Width - size.Width - RightGap, screen.Height - size.Height - BottomGap,
                 size);
      Shown = text;
    }
    if (!Visible) {
      View.ShowWindow();
      Visible = true;
    }
  }
  Timer2->Enable();
  if (RestartOther) RestartOther();
}

void CurrentFunctionDisplay::CloseHint() {
  JustClosed = true;
  Shown.clear();
  View.SetLabel("");
  View.CloseWindow();
  Visible = false;
  System.ShowTaskbar(true);
  Timer2->Disable();
}

}  // namespace quillon

#include "core/shell/Tray.h"

#include "core/common/Cp1251.h"

namespace quillon {

std::string TrayTip(std::string_view text) { return CutToStoredLength(text, TrayTipLength); }

void TrayModel::ButtonTestClick() {
  for (int attempt = 0; attempt < IconAttempts; ++attempt) {
    if (View.ShowTrayIcon()) {
      View.AnimateToTray();
      View.HideWindow();
      return;
    }
  }
  View.MinimizeWindow();
}

void TrayModel::TrayIconClick() {
  if (View.WindowShowing()) {
    ButtonTestClick();
  } else {
    View.RestoreWindow();
  }
}

}  // namespace quillon

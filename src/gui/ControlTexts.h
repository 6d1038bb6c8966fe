#pragma once

#include <QWidget>

#include "core/shell/MainWindowTexts.h"

namespace quillon::gui {

// A new control with the system's name for it (objectName), as tests and texts find it.
template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

// Puts one entry of a language table on the window: a hint, or the caption of the named
// button, label or group box; an entry named after the window itself is its title. Entries
// naming no control of the window are passed over.
void ApplyControlText(QWidget& window, const ControlText& entry, LanguageFlag language);

}  // namespace quillon::gui

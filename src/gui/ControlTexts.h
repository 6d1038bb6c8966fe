#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QWidget>

#include <cstdint>

#include "core/shell/MainWindowTexts.h"

namespace quillon::gui {

// A new control with the system's name for it (objectName), as tests and texts find it.
template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

// The port choice of both main windows (COMName): COM1 to COM4 side by side, each item's id its
// port number in `group`.
QGroupBox* PortChoice(QButtonGroup*& group);
// Ticks the item of `port`; a port beyond the four items ticks none of them.
void TickPort(QButtonGroup& group, std::int32_t port);
// Whether `object` is one of the group's items: the focus leaving them all leaves the choice.
bool IsItemOf(const QButtonGroup& group, const QObject* object);

// Puts one entry of a language table on the window: a hint, or the caption of the named
// button, label or group box; an entry named after the window itself is its title. Entries
// naming no control of the window are passed over.
void ApplyControlText(QWidget& window, const ControlText& entry, LanguageFlag language);

}  // namespace quillon::gui

#include "gui/ControlTexts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include "gui/QtText.h"

namespace quillon::gui {

void ApplyControlText(QWidget& window, const ControlText& entry, LanguageFlag language) {
  const QString text = DisplayText(entry.Text(language));
  const QString name = ToQString(entry.Control);
  if (name == window.objectName()) {
    window.setWindowTitle(text);
    return;
  }
  auto* control = window.findChild<QWidget*>(name);
  if (control == nullptr) return;
  if (entry.Property == TextProperty::Hint) {
    control->setToolTip(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
    group->setTitle(text);
  }
}

}  // namespace quillon::gui

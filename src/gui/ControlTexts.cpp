#include "gui/ControlTexts.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>

#include "core/shell/Settings.h"
#include "gui/QtText.h"

namespace quillon::gui {

QGroupBox* PortChoice(QButtonGroup*& group) {
  auto* ports = Named(new QGroupBox, "COMName");
  auto* row = new QHBoxLayout(ports);
  group = new QButtonGroup(ports);
  for (std::int32_t port = FirstComPort; port <= LastComPort; ++port) {
    auto* item = new QRadioButton(QStringLiteral("COM%1").arg(port));
    group->addButton(item, port);
    row->addWidget(item);
  }
  return ports;
}

void TickPort(QButtonGroup& group, std::int32_t port) {
  group.setExclusive(false);
  for (QAbstractButton* item : group.buttons()) item->setChecked(group.id(item) == port);
  group.setExclusive(true);
}

bool IsItemOf(const QButtonGroup& group, const QObject* object) {
  const QList<QAbstractButton*> items = group.buttons();
  return std::find(items.begin(), items.end(), object) != items.end();
}

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

#include "gui/TTrayIcon.h"

#include <QPainter>
#include <QPixmap>

#include "core/config/ConfigFile.h"
#include "core/shell/Tray.h"
#include "gui/QtText.h"

namespace quillon::gui {

TTrayIcon::TTrayIcon(QObject* parent) : QSystemTrayIcon(ProgramIcon(), parent) {
  setObjectName(QStringLiteral("TrayIcon1"));
  SetToolTip(ProgramCaption);
  connect(this, &QSystemTrayIcon::activated, this, [this](ActivationReason reason) {
    if ((reason == Trigger || reason == Context) && OnClick) OnClick();
  });
}

bool TTrayIcon::Activate() {
  if (!isSystemTrayAvailable()) return false;
  show();
  return isVisible();
}

void TTrayIcon::SetToolTip(std::string_view text) { setToolTip(ToQString(TrayTip(text))); }

QIcon ProgramIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(40, 40, 60), 2));
  painter.setBrush(QColor(90, 90, 120));
  painter.drawRoundedRect(QRectF(9, 2, 14, 28), 4, 4);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(230, 60, 50));
  painter.drawEllipse(QPointF(16, 8), 3, 3);
  painter.setBrush(QColor(220, 220, 230));
  for (int row = 0; row < 3; ++row) {
    painter.drawEllipse(QPointF(13, 15 + row * 5), 1.6, 1.6);
    painter.drawEllipse(QPointF(19, 15 + row * 5), 1.6, 1.6);
  }
  return QIcon(pixmap);
}

}  // namespace quillon::gui

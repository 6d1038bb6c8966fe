#include "gui/CaptionAnimation.h"

#include <QPropertyAnimation>
#include <QStyle>
#include <QWidget>

namespace quillon::gui {

namespace {

constexpr int FlightMs = 200;

}  // namespace

void AnimateCaption(const QRect& window, const QRect& icon) {
  auto* caption =
      new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus);
  caption->setAttribute(Qt::WA_ShowWithoutActivating);
  caption->setAutoFillBackground(true);
  QPalette palette = caption->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Highlight));
  caption->setPalette(palette);
  const int height = caption->style()->pixelMetric(QStyle::PM_TitleBarHeight);
  caption->setGeometry(QRect(window.topLeft(), QSize(window.width(), height)));

  auto* flight = new QPropertyAnimation(caption, "geometry", caption);
  flight->setDuration(FlightMs);
  flight->setEndValue(icon);
  QObject::connect(flight, &QPropertyAnimation::finished, caption, &QObject::deleteLater);
  caption->show();
  flight->start();
}

}  // namespace quillon::gui

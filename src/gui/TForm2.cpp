#include "gui/TForm2.h"

#include <QGuiApplication>
#include <QScreen>

#include "gui/QtText.h"

namespace quillon::gui {

namespace {

constexpr int LabelOffset = 10;  // half the margin CurrentFunctionDisplay adds around the label

}  // namespace

TForm2::TForm2()
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool |
                           Qt::WindowDoesNotAcceptFocus),
      Label1(new QLabel(this)) {
  setObjectName(QStringLiteral("TForm2"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setStyleSheet(QStringLiteral("background-color: #fffbf0;"));
  Label1->setObjectName(QStringLiteral("Label1"));
  QFont font = Label1->font();
  font.setBold(true);
  font.setPixelSize(24);
  Label1->setFont(font);
  Label1->move(LabelOffset, LabelOffset);
}

HintSize TForm2::SetLabel(const std::string& text) {
  Label1->setText(DisplayText(text));
  Label1->adjustSize();
  return {Label1->width(), Label1->height()};
}

void TForm2::Place(std::int32_t left, std::int32_t top, HintSize size) {
  setGeometry(left, top, size.Width, size.Height);
}

void TForm2::ShowWindow() {
  show();
  raise();
}

platform::ScreenSize TForm2::Screen() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  return {screen->geometry().width(), screen->geometry().height()};
}

}  // namespace quillon::gui

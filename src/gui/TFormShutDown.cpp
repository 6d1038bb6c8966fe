#include "gui/TFormShutDown.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "gui/QtText.h"

namespace quillon::gui {

TFormShutDown::TFormShutDown()
    : QWidget(nullptr, Qt::WindowStaysOnTopHint | Qt::Dialog),
      Label1(new QLabel(this)),
      Button1(new QPushButton(this)) {
  setObjectName(QStringLiteral("TFormShutDown"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  Label1->setObjectName(QStringLiteral("Label1"));
  Button1->setObjectName(QStringLiteral("Button1"));
  QFont font = Label1->font();
  font.setBold(true);
  font.setPixelSize(20);
  Label1->setFont(font);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Button1, 0, Qt::AlignHCenter);
  connect(Button1, &QPushButton::clicked, this, [this] {
    if (OnCancel) OnCancel();
  });
}

void TFormShutDown::ShowCountdown() {
  show();
  raise();
}

void TFormShutDown::ShowCountdownTexts(const CountdownTexts& texts) {
  setWindowTitle(ToQString(texts.Caption));
  Label1->setText(ToQString(texts.Label));
  Button1->setText(ToQString(texts.Button));
}

void TFormShutDown::EndProgram() {
  if (OnEndProgram) OnEndProgram();
}

void TFormShutDown::closeEvent(QCloseEvent* event) {
  // Closing the window cancels, as its button does.
  if (isVisible() && OnCancel) OnCancel();
  event->accept();
}

}  // namespace quillon::gui

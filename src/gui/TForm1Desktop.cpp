// The configuration window on the desktop: the receiver side's port choice and label, the
// tray, the side windows, the screen saver's choice, the program's own buttons, activation and
// closing.

#include "gui/TForm1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QScreen>
#include <QTimer>

#include "core/actions/WindowActions.h"
#include "core/shell/MainWindowTexts.h"
#include "core/shell/Settings.h"
#include "core/shell/SideWindows.h"
#include "core/shell/StartUp.h"
#include "gui/CaptionAnimation.h"
#include "gui/ControlTexts.h"
#include "gui/QtText.h"

namespace quillon::gui {

void TForm1::ShowSelectedPort(std::int32_t port) { TickPort(*Controls.COMName, port); }

void TForm1::ShowReceiverModel(std::string_view model) {
  Controls.Label2->setText(ToQString(model));
}

void TForm1::PtkReceiverInUse() { Controls.COMName->button(1)->parentWidget()->setEnabled(false); }

void TForm1::EnableTimerStart() {
  QTimer::singleShot(TimerStartMs, this, [this] {
    if (AutoStartEnabled(The.AutoStartEntry)) Tray.ButtonTestClick();
  });
}

void TForm1::UntickShowFullWindow() { Controls.ShowFullWindow->setChecked(false); }

void TForm1::BringToFront() {
  if (!isVisible()) RestoreWindow();
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void TForm1::BitBtn1Click() {
  if (Launcher == nullptr || ApplicationPath.empty()) return;
  if (!Launcher->Open(ApplicationPath, FolderOf(ApplicationPath))) {
    ShowMessageBox(The.Editor.Boxes, The.Language,
                   std::string(ApplicationNotStarted(The.Language)) + ApplicationPath,
                   MessageButtons::Ok, MessageKind::Error);
  }
}

void TForm1::Button3Click() {
  const std::string about = std::string(ProgramCaption) + " " + QUILLON_VERSION + "\r\n\r\n" +
                            std::string(AboutReceivers(The.Language));
  ShowMessageBox(The.Editor.Boxes, The.Language, about, MessageButtons::Ok,
                 MessageKind::Information);
}

void TForm1::HideWindow() {
  TrayBounds = geometry();
  hide();
}

void TForm1::AnimateToTray() {
  const QRect icon = TrayIcon1->geometry();
  if (isVisible() && icon.isValid()) AnimateCaption(frameGeometry(), icon);
}

void TForm1::RestoreWindow() {
  if (TrayBounds.isValid()) setGeometry(TrayBounds);
  showNormal();
}

void TForm1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
      ActivateMainWindow(The.System)) {
    ShowScreenSaver();
  }
  QWidget::changeEvent(event);
}

void TForm1::ShowScreenSaver() {
  if (Machine == nullptr) return;
  (Machine->ScreenSaverActive() ? Controls.ScreenSaverOn : Controls.ScreenSaverOff)
      ->setChecked(true);
}

void TForm1::AddSideWindow(QWidget& window) {
  SideWindows.push_back(&window);
  window.installEventFilter(this);
}

void TForm1::PlaceSideWindow(QWidget& side) {
  const QRect frame = frameGeometry();
  const QRect area = screen()->availableGeometry();
  // The side window's frame is as wide as this one's.
  const QSize extra = frame.size() - size();
  const WindowRect place = quillon::PlaceSideWindow(
      {frame.x(), frame.y(), frame.width(), frame.height()}, side.width() + extra.width(),
      side.height() + extra.height(), {area.x(), area.y(), area.width(), area.height()},
      Controls.ShowFullWindow->isChecked());
  side.move(place.X, place.Y);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  // Moving between the port items keeps the focus in the choice; leaving it stores the port.
  if (IsItemOf(*Controls.COMName, watched)) {
    if (event->type() == QEvent::FocusOut &&
        !IsItemOf(*Controls.COMName, QApplication::focusWidget()) &&
        Controls.COMName->checkedId() > 0) {
      static_cast<void>(WriteComPort(The.Editor.Registry, settings::Com,
                                     Controls.COMName->checkedId()));  // silent, as settings are
    }
    return QWidget::eventFilter(watched, event);
  }
  auto* side = qobject_cast<QWidget*>(watched);
  if (side != nullptr && event->type() == QEvent::Show) PlaceSideWindow(*side);
  return QWidget::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent* event) {
  hide();
  if (OnClosing) OnClosing();
  SaveWindowSettings();
  TrayIcon1->hide();
  event->accept();
  QCoreApplication::quit();
}

}  // namespace quillon::gui

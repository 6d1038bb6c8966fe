#include "gui/QtMessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

#include <map>

#include "gui/QtText.h"

namespace quillon::gui {

namespace {

QMessageBox::Icon IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole RoleOf(MessageAnswer answer) {
  switch (answer) {
    case MessageAnswer::Ok:
    case MessageAnswer::Retry:
    case MessageAnswer::Ignore:
      return QMessageBox::AcceptRole;
    case MessageAnswer::Yes:
      return QMessageBox::YesRole;
    case MessageAnswer::No:
      return QMessageBox::NoRole;
    case MessageAnswer::Cancel:
    case MessageAnswer::Abort:
      return QMessageBox::RejectRole;
  }
  return QMessageBox::AcceptRole;
}

}  // namespace

MessageAnswer QtMessageBoxes::Show(const MessageBoxContent& box) {
  QMessageBox dialog(IconOf(box.Icon), ToQString(box.Caption), DisplayText(box.Text),
                     QMessageBox::NoButton, Owner);
  std::map<QAbstractButton*, MessageAnswer> answers;
  for (const MessageButton& button : box.Buttons) {
    answers[dialog.addButton(ToQString(button.Caption), RoleOf(button.Answer))] = button.Answer;
  }
  dialog.exec();
  const auto pressed = answers.find(dialog.clickedButton());
  return pressed == answers.end() ? MessageAnswer::Cancel : pressed->second;
}

}  // namespace quillon::gui

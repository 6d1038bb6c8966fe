#pragma once

#include <QWidget>

#include "core/actions/MessageBox.h"

namespace quillon::gui {

// The program's message box: the core's caption, text, icon and buttons in a QMessageBox,
// modal and centred over the main window once there is one.
class QtMessageBoxes : public MessageBoxes {
 public:
  MessageAnswer Show(const MessageBoxContent& box) override;
  void SetOwner(QWidget* owner) { Owner = owner; }

 private:
  QWidget* Owner = nullptr;
};

}  // namespace quillon::gui

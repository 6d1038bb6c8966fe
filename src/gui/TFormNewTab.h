#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/actions/KeysWindow.h"

namespace quillon::gui {

// The new-page dialog of the key-combination window: a name box that refuses the characters a
// file name cannot hold, OK and Cancel. It opens beside its owner's corner.
class TFormNewTab : public QDialog, public NewPageDialog {
 public:
  explicit TFormNewTab(QWidget* parent = nullptr);

  std::optional<std::string> AskPageName(const NewPageRequest& request) override;
  void SetOwner(QWidget* owner) { Owner = owner; }

 private:
  QLineEdit* Edit1;
  QLabel* Label1;
  QPushButton* Button1;
  QPushButton* Button2;
  QWidget* Owner = nullptr;
};

}  // namespace quillon::gui

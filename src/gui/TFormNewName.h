#pragma once

#include <QDialog>
#include <QLineEdit>

#include <optional>
#include <string>
#include <string_view>

#include "core/common/Language.h"

namespace quillon::gui {

// The name dialog: a borderless box over the configuration window that gives the selected key
// a display name. Add/Rename (or Enter) answers with the field, Clear with an empty field;
// Close (or Escape) answers nothing. The rules are the core's (NameDialog.h).
class TFormNewName : public QDialog {
 public:
  TFormNewName(std::string_view nodeText, LanguageFlag language, QWidget* parent);

  // Shows the dialog modally; the field's text when the node is to be renamed.
  std::optional<std::string> Ask();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Finish(bool clear);

  QLineEdit* Edit1;
  std::optional<std::string> Answer;
};

}  // namespace quillon::gui

#pragma once

#include <QLineEdit>

#include "core/actions/MessageBox.h"
#include "core/common/Language.h"

namespace quillon::gui {

// The send-key field (KeyName): it takes no ordinary editing. Each key press goes through the
// core's key-string rules, recorded as a token (Tab too) while "Hot Keys enabled" is ticked and
// typed as a character otherwise; BackSpace erases the token before the caret,
// Shift+BackSpace one character; hints show as a balloon at the field, errors in a message box.
class KeyNameField : public QLineEdit {
 public:
  KeyNameField(MessageBoxes& boxes, const LanguageFlag& language, QWidget* parent = nullptr);

  bool Recording = true;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  MessageBoxes& Boxes;
  const LanguageFlag& Language;
};

}  // namespace quillon::gui

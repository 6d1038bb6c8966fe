#include "gui/KeyNameField.h"

#include <QKeyEvent>
#include <QToolTip>

#include "core/actions/KeyStringEditor.h"
#include "gui/QtKeys.h"
#include "gui/QtText.h"

namespace quillon::gui {

KeyNameField::KeyNameField(MessageBoxes& boxes, const LanguageFlag& language, QWidget* parent)
    : QLineEdit(parent), Boxes(boxes), Language(language) {
  // Text enters only through the key-string rules: no pasting, dropping or input method.
  setContextMenuPolicy(Qt::NoContextMenu);
  setAcceptDrops(false);
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

bool KeyNameField::event(QEvent* event) {
  // Tab is a key to record, not a move to the next control.
  if (Recording && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      keyPressEvent(key);
      return true;
    }
  }
  return QLineEdit::event(event);
}

void KeyNameField::keyPressEvent(QKeyEvent* event) {
  const KeyStringField field{ToUtf8(text()), static_cast<std::size_t>(cursorPosition())};
  KeyStringEdit edit;
  if (event->key() == Qt::Key_Backspace) {
    edit.Field = EraseBeforeCaret(field, event->modifiers().testFlag(Qt::ShiftModifier));
  } else if (Recording) {
    const Qt::KeyboardModifiers held = event->modifiers();
    edit = RecordKeyStroke(field,
                           {VirtualKeyOf(*event), held.testFlag(Qt::ShiftModifier),
                            held.testFlag(Qt::ControlModifier), held.testFlag(Qt::AltModifier)},
                           Language);
  } else {
    edit = TypeCharacter(field, ToUtf8(event->text()), Language);
  }
  event->accept();
  if (edit.Field != field) {
    setText(ToQString(edit.Field.Text));
    setCursorPosition(static_cast<int>(edit.Field.Caret));
  }
  if (!edit.Hint.empty()) {
    QToolTip::showText(mapToGlobal(rect().bottomLeft()), DisplayText(edit.Hint), this, {},
                       static_cast<int>(edit.HintMilliseconds));
  }
  if (!edit.Error.empty()) {
    ShowMessageBox(Boxes, Language, edit.Error, MessageButtons::Ok, MessageKind::Error);
  }
}

}  // namespace quillon::gui

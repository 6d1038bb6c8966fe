#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/Language.h"

namespace quillon {

// The message boxes every window of the program shows, in either language. The core composes
// a box (caption, icon, button texts); the GUI shows it through MessageBoxes.

enum class MessageKind : std::uint8_t {
  Warning = 0,
  Error = 1,
  Information = 2,
  Confirmation = 3,
  Plain = 4,  // no caption, no icon
};

// The icon, by its Windows flag value.
enum class MessageIcon : std::uint8_t {
  None = 0,
  Error = 16,
  Question = 32,
  Warning = 48,
  Information = 64,
};

// The button sets, by their Windows flag values.
enum class MessageButtons : std::uint8_t {
  Ok = 0,
  OkCancel = 1,
  AbortRetryIgnore = 2,
  YesNoCancel = 3,
  YesNo = 4,
  RetryCancel = 5,
};

// The button pressed, by its Windows identifier.
enum class MessageAnswer : std::uint8_t {
  Ok = 1,
  Cancel = 2,
  Abort = 3,
  Retry = 4,
  Ignore = 5,
  Yes = 6,
  No = 7,
};

struct MessageButton {
  MessageAnswer Answer = MessageAnswer::Ok;
  std::string Caption;
  bool operator==(const MessageButton&) const = default;
};

struct MessageBoxContent {
  std::string Caption;
  std::string Text;
  MessageIcon Icon = MessageIcon::None;
  std::vector<MessageButton> Buttons;  // left to right
  bool operator==(const MessageBoxContent&) const = default;
};

// The box of a text in a language: the caption and icon of its kind and the captions of its
// buttons. In Bulgarian, OK and Yes both read "Да".
MessageBoxContent ComposeMessageBox(LanguageFlag language, std::string_view text,
                                    MessageButtons buttons, MessageKind kind);

// The GUI service that shows a box: modal, centred over the program's window and kept on the
// screen. Gives the button pressed; a box closed without a button answers Cancel.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MessageAnswer Show(const MessageBoxContent& box) = 0;
};

// Composes the box and shows it.
MessageAnswer ShowMessageBox(MessageBoxes& boxes, LanguageFlag language, std::string_view text,
                             MessageButtons buttons, MessageKind kind);

}  // namespace quillon

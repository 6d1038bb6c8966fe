#include "core/actions/MessageBox.h"

#include <vector>

#include "core/actions/MessageBoxTexts.h"

namespace quillon {

namespace {

std::vector<MessageAnswer> AnswersOf(MessageButtons buttons) {
  using enum MessageAnswer;
  switch (buttons) {
    case MessageButtons::Ok:
      return {Ok};
    case MessageButtons::OkCancel:
      return {Ok, Cancel};
    case MessageButtons::AbortRetryIgnore:
      return {Abort, Retry, Ignore};
    case MessageButtons::YesNoCancel:
      return {Yes, No, Cancel};
    case MessageButtons::YesNo:
      return {Yes, No};
    case MessageButtons::RetryCancel:
      return {Retry, Cancel};
  }
  return {Ok};
}

MessageBoxText CaptionOf(MessageAnswer answer) {
  switch (answer) {
    case MessageAnswer::Ok:
      return MessageBoxText::Ok;
    case MessageAnswer::Cancel:
      return MessageBoxText::Cancel;
    case MessageAnswer::Abort:
      return MessageBoxText::Abort;
    case MessageAnswer::Retry:
      return MessageBoxText::Retry;
    case MessageAnswer::Ignore:
      return MessageBoxText::Ignore;
    case MessageAnswer::Yes:
      return MessageBoxText::Yes;
    case MessageAnswer::No:
      return MessageBoxText::No;
  }
  return MessageBoxText::Ok;
}

}  // namespace

MessageBoxContent ComposeMessageBox(LanguageFlag language, std::string_view text,
                                    MessageButtons buttons, MessageKind kind) {
  MessageBoxContent box;
  box.Text = text;
  switch (kind) {
    case MessageKind::Warning:
      box.Caption = Text(MessageBoxText::Warning, language);
      box.Icon = MessageIcon::Warning;
      break;
    case MessageKind::Error:
      box.Caption = Text(MessageBoxText::Error, language);
      box.Icon = MessageIcon::Error;
      break;
    case MessageKind::Information:
      box.Caption = Text(MessageBoxText::Information, language);
      box.Icon = MessageIcon::Information;
      break;
    case MessageKind::Confirmation:
      box.Caption = Text(MessageBoxText::Confirmation, language);
      box.Icon = MessageIcon::Question;
      break;
    case MessageKind::Plain:
      break;
  }
  for (const MessageAnswer answer : AnswersOf(buttons)) {
    box.Buttons.push_back({answer, std::string(Text(CaptionOf(answer), language))});
  }
  return box;
}

MessageAnswer ShowMessageBox(MessageBoxes& boxes, LanguageFlag language, std::string_view text,
                             MessageButtons buttons, MessageKind kind) {
  return boxes.Show(ComposeMessageBox(language, text, buttons, kind));
}

}  // namespace quillon

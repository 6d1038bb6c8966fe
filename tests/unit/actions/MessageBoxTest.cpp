#include "core/actions/MessageBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeMessageBoxes.h"

namespace quillon {
namespace {

TEST(MessageBox, CaptionAndIconByKindAndLanguage) {
  const struct {
    MessageKind Kind;
    LanguageFlag Language;
    std::string Caption;
    MessageIcon Icon;
  } cases[] = {
      {MessageKind::Warning, English, "Warning", MessageIcon::Warning},
      {MessageKind::Warning, Bulgarian, "Внимание", MessageIcon::Warning},
      {MessageKind::Error, English, "Error", MessageIcon::Error},
      {MessageKind::Error, Bulgarian, "Грешка", MessageIcon::Error},
      {MessageKind::Information, English, "Information", MessageIcon::Information},
      {MessageKind::Information, Bulgarian, "Информация", MessageIcon::Information},
      {MessageKind::Confirmation, English, "Confirmation", MessageIcon::Question},
      {MessageKind::Confirmation, Bulgarian, "Въпрос", MessageIcon::Question},
      {MessageKind::Plain, English, "", MessageIcon::None},
      {MessageKind::Plain, Bulgarian, "", MessageIcon::None},
  };
  for (const auto& c : cases) {
    const MessageBoxContent box = ComposeMessageBox(c.Language, "text", MessageButtons::Ok, c.Kind);
    EXPECT_EQ(box.Caption, c.Caption);
    EXPECT_EQ(box.Icon, c.Icon) << c.Caption;
    EXPECT_EQ(box.Text, "text");
  }
}

TEST(MessageBox, ButtonsInBothLanguages) {
  using enum MessageAnswer;
  const struct {
    MessageButtons Buttons;
    std::vector<MessageButton> InEnglish;
    std::vector<MessageButton> InBulgarian;
  } cases[] = {
      {MessageButtons::Ok, {{Ok, "OK"}}, {{Ok, "Да"}}},
      {MessageButtons::OkCancel,
       {{Ok, "OK"}, {Cancel, "Cancel"}},
       {{Ok, "Да"}, {Cancel, "Откажи"}}},
      {MessageButtons::YesNo, {{Yes, "Yes"}, {No, "No"}}, {{Yes, "Да"}, {No, "Не"}}},
      {MessageButtons::YesNoCancel,
       {{Yes, "Yes"}, {No, "No"}, {Cancel, "Cancel"}},
       {{Yes, "Да"}, {No, "Не"}, {Cancel, "Откажи"}}},
      {MessageButtons::AbortRetryIgnore,
       {{Abort, "Abort"}, {Retry, "Retry"}, {Ignore, "Ignore"}},
       {{Abort, "Прекъсни"}, {Retry, "Повтори"}, {Ignore, "Игнорирай"}}},
      {MessageButtons::RetryCancel,
       {{Retry, "Retry"}, {Cancel, "Cancel"}},
       {{Retry, "Повтори"}, {Cancel, "Откажи"}}},
  };
  for (const auto& c : cases) {
    const auto buttons = static_cast<int>(c.Buttons);
    EXPECT_EQ(ComposeMessageBox(English, "", c.Buttons, MessageKind::Plain).Buttons, c.InEnglish)
        << buttons;
    EXPECT_EQ(ComposeMessageBox(Bulgarian, "", c.Buttons, MessageKind::Plain).Buttons,
              c.InBulgarian)
        << buttons;
  }
}

TEST(MessageBox, ShowGivesTheButtonPressed) {
  test::FakeMessageBoxes boxes;
  boxes.Answers = {MessageAnswer::No};
  EXPECT_EQ(ShowMessageBox(boxes, Bulgarian, "Файлът съществува!\r\nПрезапис?",
                           MessageButtons::YesNo, MessageKind::Confirmation),
            MessageAnswer::No);
  ASSERT_EQ(boxes.Shown.size(), 1U);
  EXPECT_EQ(boxes.Shown[0].Caption, "Въпрос");
  EXPECT_EQ(boxes.Shown[0].Text, "Файлът съществува!\r\nПрезапис?");
}

}  // namespace
}  // namespace quillon

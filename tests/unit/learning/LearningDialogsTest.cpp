#include <gtest/gtest.h>

#include "core/learning/ProgressDialog.h"
#include "core/learning/SaveDialog.h"

namespace quillon {
namespace {

TEST(SaveDialog, SaveNeedsBothNamesAndEnterMovesOn) {
  const struct {
    const char* Producer;
    const char* Model;
    bool SaveEnabled;
  } cases[] = {{"", "", false}, {"Acme", "", false}, {"", "TV1", false}, {"Acme", "TV1", true}};
  for (const auto& c : cases) {
    SaveDialog dialog;
    dialog.FormActivate();
    dialog.RemCtrlTypeChange(c.Producer);
    dialog.RemCtrlModelChange(c.Model);
    EXPECT_EQ(dialog.SaveEnabled, c.SaveEnabled) << c.Producer << "/" << c.Model;
    dialog.EnterPressed(SaveDialogControl::RemCtrlType);
    EXPECT_EQ(dialog.Focused, SaveDialogControl::RemCtrlModel);
    dialog.EnterPressed(SaveDialogControl::RemCtrlModel);
    EXPECT_EQ(dialog.Focused == SaveDialogControl::Button1, c.SaveEnabled);
    dialog.Button1Click();
    EXPECT_EQ(dialog.Result, c.SaveEnabled ? DialogResult::Ok : DialogResult::None);
  }
  SaveDialog cancelled;
  cancelled.Button2Click();
  EXPECT_EQ(static_cast<int>(cancelled.Result), 2);
}

TEST(SaveDialog, PunctuationNeverReachesAFileName) {
  for (const char32_t c : std::u32string(U",.\u0406!@#$%^&*()+={}[];':\"?/><|\\~`")) {
    EXPECT_FALSE(SaveDialog::KeyAccepted(c)) << static_cast<std::uint32_t>(c);
  }
  for (const char32_t c : std::u32string(U" _-aZ09Яё")) {
    EXPECT_TRUE(SaveDialog::KeyAccepted(c)) << static_cast<std::uint32_t>(c);
  }
  SaveDialog dialog;
  dialog.RemCtrlTypeChange("Ac/me?");
  EXPECT_EQ(dialog.Producer, "Acme");
}

TEST(ProgressDialog, AsksForFivePressesInTheLanguageOfTheMoment) {
  ProgressDialog dialog;
  dialog.FormShow(Bulgarian);
  EXPECT_EQ(dialog.Caption, "Промяна на данните за ДУ");
  EXPECT_EQ(dialog.ButtonCaption, "Откажи");
  EXPECT_EQ(dialog.Lines, std::vector<std::string>{"Натиснете бутон №1 пет(5) пъти"});
  dialog.AddLine("№1 -> 0101 ....Ok");
  dialog.FormShow(English);
  EXPECT_EQ(dialog.Lines,
            std::vector<std::string>{"Please press the button №1 five(5) times running"});
}

}  // namespace
}  // namespace quillon

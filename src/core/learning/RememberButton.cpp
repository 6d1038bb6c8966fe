// Remember: the button's name and codes into the key grid, collisions into the lock-up grid;
// and the name box.

#include "core/common/Cp1251.h"
#include "core/learning/ButtonName.h"
#include "core/learning/KeyTable.h"
#include "core/learning/LearningProcedure.h"

namespace quillon {

void LearningProcedure::ButtonOkClick() {
  if (S.Boxes[0].empty() || NameRefused()) return;
  const KeyCodes codes = CodesOfBoxes(S.Boxes);
  const std::optional<std::size_t> collision = FindCollision(Keys, codes);
  // A button with a template of its own is told apart by it: when its codes collide and the
  // lock-up table is full, it is remembered without a pair (the key table's last entry of a
  // code wins the lookup, as the later key of a pair would).
  const bool paired =
      collision.has_value() && (S.ButtonBursts.empty() || !LockUpTableFull(LockUps));
  if (TablesRefuse(paired)) return;

  StopBlink();
  The.View.SetControlEnabled(LearningControl::Button2, false);
  S.PressCounter = 1;
  const std::int32_t number = S.KeyIndex + 1;
  Log();
  Log(Say(LearningText::ButtonRemembered) + std::to_string(number) +
      Say(LearningText::ButtonRememberedSuffix));
  Log();
  Log();
  Log(Say(LearningText::PressButtonNumber) + std::to_string(number + 1) +
      Say(LearningText::PressButtonNumberSuffix));
  Log();
  S.DataSlot = 1;
  EnableButtonOk(false);

  AppendKey(Keys, number, StoredButtonName(S.NameText), codes);
  if (!S.ButtonBursts.empty()) {
    LearnedTemplates.Buttons.push_back(
        BuildButtonTemplate(number, StoredButtonName(S.NameText), S.ButtonBursts, Tolerance{}));
  }
  if (paired) {
    AppendLockUpPair(LockUps, Keys.Rows[*collision], Keys.Rows[static_cast<std::size_t>(number)]);
  }
  The.View.ShowGrids(Keys, LockUps);

  S.KeyIndex = number;
  ClearBoxes();
  The.View.PlaceLabelCheck(1);
  SetSaveCaption(true);
  EnableStartLearn(true);
}

bool LearningProcedure::NameRefused() {
  const NameProblem problem = CheckButtonName(Keys, S.NameText);
  if (problem == NameProblem::None) return false;
  std::string text;
  switch (problem) {
    case NameProblem::Missing:
      text = Say(LearningText::MissingButtonName);
      break;
    case NameProblem::FirstSymbolBlank:
      text = Say(LearningText::FirstSymbolBlank);
      break;
    case NameProblem::Exists:
    case NameProblem::None:
      // The English box names the key as stored, the Bulgarian one as typed.
      text = Say(LearningText::NameExistsPrefix) +
             (The.Language == Bulgarian ? CutToStoredLength(S.NameText, StoredNameLength)
                                        : StoredButtonName(S.NameText)) +
             Say(LearningText::NameExistsSuffix);
      break;
  }
  Message(text, MessageKind::Warning);
  The.View.Focus(LearningControl::ButtonName);
  The.View.PlaceLabel3(Label3Place::NameBox);
  return true;
}

bool LearningProcedure::TablesRefuse(bool collision) {
  if (KeyTableFull(Keys)) {
    Message(Say(LearningText::KeyTableFull), MessageKind::Warning);
    return true;
  }
  if (collision && LockUpTableFull(LockUps)) {
    Message(Say(LearningText::LockUpTableFull), MessageKind::Warning);
    return true;
  }
  return false;
}

bool LearningProcedure::ButtonNameKeyPress(char32_t key, bool caretAtStart) {
  return NameBoxAcceptsKey(key, S.NameText.empty(), caretAtStart);
}

void LearningProcedure::ButtonNameEnter() {
  The.View.PlaceLabel3(Label3Place::Remember);
  if (S.ButtonOkEnabled) The.View.Focus(LearningControl::ButtonOk);
}

void LearningProcedure::ButtonNameChange(const std::string& text) {
  S.NameText = FilterNameText(text);
  if (S.NameText != text) The.View.SetNameText(S.NameText);
  The.View.PlaceLabel3(Label3Place::Remember);
}

void LearningProcedure::ButtonNameExit() {
  S.NameText = TrimBlanks(S.NameText);
  The.View.SetNameText(S.NameText);
  The.Learn.ButtonNames.Add(S.NameText);
  The.View.SetNameList(The.Learn.ButtonNames.Items());
}

}  // namespace quillon

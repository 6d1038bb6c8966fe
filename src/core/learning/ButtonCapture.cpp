// Training: the codes of one button, its five boxes, and clearing them.

#include <algorithm>

#include "core/learning/LearningProcedure.h"

namespace quillon {

namespace {

constexpr std::uint8_t LastPressCount = 255;

}  // namespace

void LearningProcedure::ButtonCapture(const std::string& received, bool repeatFrame) {
  std::string code = received;
  if (repeatFrame) {
    if (S.DataSlot < 2) {
      Log();
      Log(LearningText::ReleaseAndPressAgain);
      Log();
    } else {
      code = S.CaptureSlots[static_cast<std::size_t>(S.DataSlot - 2)];
      Log(LearningText::HoldData);
    }
  }
  if (ConsistencyCheck(code, 0, {})) return;
  if (S.PressCounter > Presses) {
    Log();
    Log(LearningText::EnterButtonName);
    AskForTheName();
    // A byte in the window's state: kept from wrapping round to a count that takes codes again.
    if (S.PressCounter < LastPressCount) ++S.PressCounter;
    return;
  }
  if (!InLengthWindow(code)) {
    RejectedByLength(code);
    return;
  }
  Log("№" + std::to_string(S.PressCounter) + " -> " + code + " ...Ok");
  if (S.PressCounter == Presses) {
    Log();
    Log(LearningText::EnterButtonName);
    Log();
    AskForTheName();
  }
  ++S.PressCounter;
  S.CaptureSlots[static_cast<std::size_t>(S.DataSlot - 1)] = code;
  PlaceCode(code);
  UpdateRememberButtons();
}

bool LearningProcedure::InLengthWindow(const std::string& code) {
  const auto length = static_cast<std::int32_t>(code.size());
  const std::int32_t spread = The.Settings.ImpulseDiv;
  return S.NominalLengthValue - spread <= length && length <= S.NominalLengthValue + spread;
}

void LearningProcedure::RejectedByLength(const std::string& code) {
  // A microcontroller receiver sends lines of other frames too; they are dropped silently.
  if (Ptk()) return;
  Log();
  Log(LearningText::LengthOutsideWindow);
  if (The.Language == Bulgarian && ++S.WindowRejects == 3) {
    const std::string spread = std::to_string(The.Settings.ImpulseDiv);
    Log(std::string(CurrentLengthIs) + std::to_string(code.size()) + std::string(AtNominalLength) +
        std::to_string(S.NominalLengthValue) + " ±" + spread);
    Log(std::string(TryOtherDeviation) + spread + std::string(FromSettings));
    S.WindowRejects = 0;
  }
  Log();
}

void LearningProcedure::AskForTheName() {
  StartBlink();
  The.View.Focus(LearningControl::ButtonName);
}

void LearningProcedure::PlaceCode(const std::string& code) {
  const auto box = static_cast<std::size_t>(S.DataSlot - 1);
  if (S.Boxes[box].empty()) {
    // The same code is never kept twice for one button: it leaves the box empty for the next.
    const bool kept = std::find(S.Boxes.begin(), S.Boxes.end(), code) != S.Boxes.end();
    if (kept) return;
    SetBox(S.DataSlot, code);
  }
  S.DataSlot = S.DataSlot % Presses + 1;
  The.View.PlaceLabelCheck(S.DataSlot);
}

void LearningProcedure::UpdateRememberButtons() {
  const bool filled = !S.Boxes[0].empty();
  EnableButtonOk(filled);
  The.View.SetControlEnabled(LearningControl::Button2, filled);
}

void LearningProcedure::Button2Click() {
  StopBlink();
  EnableButtonOk(false);
  The.View.SetControlEnabled(LearningControl::Button2, false);
  S.DataSlot = 1;
  S.PressCounter = 1;
  Log();
  Log(LearningText::ClearButtonData);
  std::string again = Say(LearningText::PressThisButtonAgain);
  if (The.Language != Bulgarian) {  // the Bulgarian line names no number
    again += std::to_string(S.KeyIndex + 1) + Say(LearningText::PressButtonNumberSuffix);
  }
  Log(again);
  Log();
  ClearBoxes();
  The.View.PlaceLabelCheck(1);
}

}  // namespace quillon

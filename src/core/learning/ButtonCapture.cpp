// Training: the codes of one button, its five boxes, and clearing them.

#include <algorithm>

#include "core/learning/LearningProcedure.h"

namespace quillon {

namespace {

constexpr std::uint8_t LastPressCount = 255;
constexpr std::size_t NumberBits = 7;  // key numbers run to 99

// The code of a key taken by its template alone: its number. Beside decoded codes it is written
// in binary over the remote's nominal length, so that the code lengths and levels derived from
// the stored codes at every load stay those of the decoded codes.
std::string TemplateKeyCode(std::int32_t number, bool templatesOnly, std::int32_t nominalLength) {
  if (templatesOnly) return std::to_string(number);
  std::string code(std::max(static_cast<std::size_t>(std::max(nominalLength, 0)), NumberBits), '0');
  for (std::size_t i = code.size(); number > 0; number /= 2) {
    code[--i] = static_cast<char>('0' + number % 2);
  }
  return code;
}

// A burst with a frame long enough to tell buttons apart by, as the matcher compares the
// beginning of a cut frame; a tap or a stray pulse has none.
bool HoldsALongFrame(const std::vector<std::int64_t>& microseconds) {
  const std::vector<Frame> frames = SplitFrames(microseconds);
  return std::any_of(frames.begin(), frames.end(),
                     [](const Frame& frame) { return frame.size() >= MinPrefix; });
}

}  // namespace

void LearningProcedure::ButtonCapture(const std::string& received, bool repeatFrame) {
  if (S.Stage == LearningStage::Training && !LastBurst.empty() &&
      S.ButtonBursts.size() < MaxButtonBursts) {
    S.ButtonBursts.push_back({.Microseconds = LastBurst, .EndsCut = false});
  }
  // A press the decoder reads no code from is still taken when its durations were kept with a
  // frame to tell it by: the button's template recognises it, and its key stores its number.
  const bool byTemplate =
      S.TemplatesOnly || (received.empty() && !repeatFrame && HoldsALongFrame(LastBurst));
  LastBurst.clear();
  std::string code = received;
  if (byTemplate) {
    code = TemplateKeyCode(S.KeyIndex + 1, S.TemplatesOnly, S.NominalLengthValue);
  } else if (repeatFrame) {
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
  if (!byTemplate && !InLengthWindow(code)) {
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

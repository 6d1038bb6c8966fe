// The signal-length test, the retuning of a microcontroller receiver, and the start of the
// hold-button test.

#include "core/learning/LearningProcedure.h"
#include "core/learning/ReceiverRetune.h"

namespace quillon {

namespace {

constexpr std::size_t MinSignalCode = 6;

}  // namespace

void LearningProcedure::BeginSignalLengthTest() {
  ClearBoxes();
  S.WindowRejects = 0;
  The.Pipeline.ReceiveMode = ReceiveModeKind::SignalLengthTest;
  S.Stage = LearningStage::SignalLengthTest;
  S.PressCounter = 1;
  ClearLearnGrids(Keys, LockUps, The.Language);
  The.View.ShowGrids(Keys, LockUps);
  EnableButtonOk(false);
  The.View.PlaceLabelCheck(1);
  The.View.SetLabelCheckVisible(true);
  S.KeyIndex = 0;
  S.DataSlot = 1;

  RemoteData& remote = *The.Remote.Record;
  remote.PrefixText.Assign({});
  remote.PrefixLength = 0;
  The.Remote.Timings.PrefixText.clear();
  The.Remote.Timings.PrefixLength = 0;
  remote.Repeat.Valid = 0;
  S.TemplatesOnly = false;
  LearnedTemplates = {};

  Log(LearningText::BeginSignalLengthTest);
  Log();
  Log(LearningText::PressButtonOneFiveTimes);
  Log();
}

void LearningProcedure::SignalLengthAnalysis(const std::string& code,
                                             const std::optional<FrameSample>& sample) {
  if (ConsistencyCheck(code, MinSignalCode, {})) {
    // Five presses without a code are a failed attempt too.
    if (++S.RejectedSamples % Presses == 0) SignalLengthFailed();
    return;
  }
  if (S.PressCounter > Presses) {
    S.PressCounter = Presses;
    return;
  }
  const std::size_t at = S.PressCounter - 1U;
  S.SampleLength[at] = static_cast<std::int32_t>(code.size());
  S.StartSamples[at] = sample ? sample->StartPulse : 0;
  S.GapSamples[at] = sample ? sample->FrameGap : 0;
  Log(ReadyLine(S.PressCounter, code));
  if (++S.PressCounter <= Presses) return;

  S.NominalLengthValue = MostFrequentLength(S.SampleLength);
  // A microcontroller receiver measures the frame itself: there are no durations to search.
  if (!Ptk() && !FindReferences()) {
    S.PressCounter = 1;
    Log();
    Log(LearningText::ValuesNotDiscovered);
    Log(LearningText::TryAgainOrLeave);
    Log();
    if (SignalLengthFailed()) return;
    BeginSignalLengthTest();
    return;
  }
  EndSignalLengthTest();
}

bool LearningProcedure::FindReferences() {
  const std::int64_t start = FindReferenceDuration(S.StartSamples);
  const std::int64_t gap = FindReferenceDuration(S.GapSamples);
  RemoteData& remote = *The.Remote.Record;
  remote.StartPulse = The.Remote.Timings.StartPulse = start;
  remote.FrameGap = The.Remote.Timings.FrameGap = gap;
  return start != -1 && gap != -1;
}

// A remote whose frame the test cannot find (one that sends a single frame, for one) is still
// learned when the user agrees to it after the third failed attempt (five presses without a
// code, or five codes without a common start pulse and gap): every button by its template
// alone, each key stored with its number as its code. The hold-button test, which needs the
// frame, is left out.
bool LearningProcedure::SignalLengthFailed() {
  return !Ptk() && ++S.SignalLengthFailures % TemplatesOfferAfter == 0 && OfferTemplatesOnly();
}

bool LearningProcedure::OfferTemplatesOnly() {
  const MessageAnswer answer =
      The.View.ShowMessage(ComposeMessageBox(The.Language, Say(LearningText::OfferTemplatesOnly),
                                             MessageButtons::YesNo, MessageKind::Confirmation));
  if (answer != MessageAnswer::Yes) return false;
  S.TemplatesOnly = true;
  The.Remote.Record->NominalLength = S.NominalLengthValue;
  Log(LearningText::TemplatesOnlyTraining);
  BeginTraining();
  return true;
}

void LearningProcedure::EndSignalLengthTest() {
  const std::int32_t spread = The.Settings.ImpulseDiv;
  The.Remote.Record->NominalLength = S.NominalLengthValue;
  The.Remote.FrameLengthSpread = spread;
  The.Remote.Limits.MinFrameLength = S.NominalLengthValue - spread;
  The.Remote.Limits.MaxFrameLength = S.NominalLengthValue + spread;
  The.Pipeline.ReceiveMode = ReceiveModeKind::Pause;
  Log();
  Log();
  Log(LearningText::EndSignalLengthTest);

  if (!Ptk()) {
    BeginHoldButtonTest();
    return;
  }
  // The receiver is retuned to this remote from the threshold byte of its lines, which the
  // receiver-ready check collects from five more presses of button 1.
  The.View.SetLogGreyed(true);
  The.View.SetWindowEnabled(false);
  S.Stage = LearningStage::ReceiverReady;
  S.ReadyLines = 0;
  ProgressForm.FormShow(The.Language);
  The.View.ShowProgressDialog(ProgressForm);
}

void LearningProcedure::ReceiverReadyCheck(const std::string& code, std::uint8_t threshold) {
  // Mode 4 is also the pause before training; only the check counts lines.
  if (S.Stage != LearningStage::ReceiverReady) return;
  if (ConsistencyCheck(code, MinReadyCode, {})) return;
  const std::string line = ReadyLine(++S.ReadyLines, code);
  Log(line);
  ProgressForm.AddLine(line);
  The.View.ShowProgressDialog(ProgressForm);
  if (S.ReadyLines >= ReadyLinesNeeded) ReceiverReady(threshold);
}

void LearningProcedure::ReceiverReady(std::uint8_t threshold) {
  Log(LearningText::ReceiverInitializing);
  ProgressForm.AddLine(Say(LearningText::ReceiverInitializing));
  The.View.ShowProgressDialog(ProgressForm);
  The.Pipeline.ReceiveMode = ReceiveModeKind::ReceiverReadyTest;
  // Presses during the start-up are no part of the hold-button test.
  The.Pipeline.ReceiveEnabled = false;
  const bool started =
      The.Protocol != nullptr && The.Protocol->ReceiverStartUp(TunedReceiverT(threshold));
  if (!started) {
    ReceiverLost();
    return;
  }
  ProgressForm.Close(DialogResult::Ok);
  The.View.CloseProgressDialog();
  The.View.SetWindowEnabled(true);
  The.View.SetLogGreyed(false);
  Log(LearningText::ReceiverReadyOk);
  BeginHoldButtonTest();
}

void LearningProcedure::ReceiverLost() {
  ProgressForm.Close(DialogResult::Cancel);
  The.View.CloseProgressDialog();
  S.Stage = LearningStage::Idle;
  The.Pipeline.ReceiveMode = ReceiveModeKind::Pause;
  Message(Say(LearningText::ErrorInReceiver), MessageKind::Error);
  The.View.EndProgram();
}

void LearningProcedure::ProgressCancelClick() {
  if (!ProgressForm.Showing) return;
  ProgressForm.Close(DialogResult::Cancel);
  The.View.CloseProgressDialog();
  S.Stage = LearningStage::Idle;
  The.View.SetWindowEnabled(true);
  The.View.SetLogGreyed(false);
}

void LearningProcedure::BeginHoldButtonTest() {
  Log();
  Log();
  Log();
  Log(LearningText::BeginHoldButtonTest);
  Log();
  Log(LearningText::PressAndHoldButtonOne);
  Log(Ptk() ? LearningText::OrPressFiveTimes : LearningText::OrPressTenTimes);
  Log();
  S.PressCounter = 1;
  S.Stage = LearningStage::HoldButtonTest;
  The.Pipeline.ReceiveMode =
      Ptk() ? ReceiveModeKind::ReceiverReadyTest : ReceiveModeKind::HoldButtonTest;
  The.Pipeline.HoldOff(HoldTestHoldOffMs);
}

}  // namespace quillon

#include "core/learning/LearningProcedure.h"

#include "core/common/WaitPumping.h"
#include "platform/Clock.h"

namespace quillon {

namespace {

constexpr std::int32_t ConsistencyRound = 4;
constexpr std::int32_t ConsistencyHint = 3;

}  // namespace

LearningProcedure::LearningProcedure(const LearningParts& parts)
    : The(parts), Timer3(parts.Loop.CreateTimer([this] { Timer3Timer(); })) {
  Timer3->SetInterval(BlinkMs);
  ClearLearnGrids(Keys, LockUps, The.Language);
}

BurstConsumers LearningProcedure::Consumers(KeyDispatcher* dispatcher, RepeatFrameJudge* judge) {
  Judge = judge;
  return {.Dispatcher = dispatcher,
          .Capture = this,
          .RepeatCode = this,
          .SignalLength = this,
          .Judge = this,
          .StartLearning = this};
}

bool LearningProcedure::RepeatFrameVerdict(const PulseTrain& train) {
  LastBurst.clear();
  // A burst that began as the one before closed is the rest of a press that the burst window
  // cut: the earlier burst ends inside a frame, and this one, beginning inside a frame, is no
  // part of the template.
  const std::int64_t now = The.Clock.Counter();
  const std::int64_t began =
      now - std::int64_t{The.Settings.SignalLength} * platform::CounterTicksPerMillisecond;
  const bool rest = LastBurstClosed != 0 && began - LastBurstClosed < PressRestTicks;
  LastBurstClosed = now;
  if (rest && !S.ButtonBursts.empty()) S.ButtonBursts.back().EndsCut = true;
  // A microcontroller receiver's lines carry no durations to learn from.
  if (S.Stage == LearningStage::Training && !rest && !Ptk()) {
    constexpr std::int64_t ticksPerMicrosecond = platform::CounterTicksPerSecond / 1'000'000;
    for (std::int32_t i = 0; i < train.Size(); ++i) {
      LastBurst.push_back(train[i] / ticksPerMicrosecond);
    }
  }
  return Judge != nullptr && Judge->RepeatFrameVerdict(train);
}

KeyLineConsumers LearningProcedure::LineConsumers() {
  return {.ReadyCheck = this, .HoldLines = this};
}

void LearningProcedure::FormCreate() {
  ClearLearnGrids(Keys, LockUps, The.Language);
  The.View.ShowGrids(Keys, LockUps);
  The.View.SetNameList(The.Learn.ButtonNames.Items());
  SetSaveCaption(false);
  EnableStartLearn(true);
  EnableButtonOk(false);
  for (const LearningControl control :
       {LearningControl::Button2, LearningControl::Button3, LearningControl::ButtonName}) {
    The.View.SetControlEnabled(control, false);
  }
  The.View.PlaceLabelCheck(1);
  The.View.SetLabelCheckVisible(false);
  The.View.SetLabel3Visible(false);
}

void LearningProcedure::ButtonStartLearnClick() {
  if (!S.StartLearnEnabled) return;
  if (S.SaveCaption) {
    SaveLearned();
  } else {
    StartLearning();
  }
}

void LearningProcedure::StartLearning() {
  S.LearnSaved = false;
  S.SignalLengthFailures = 0;
  S.RejectedSamples = 0;
  StopBlink();
  The.View.SetControlEnabled(LearningControl::Button3, true);
  SetKeysDelayAside();
  The.View.ClearLog();
  BeginSignalLengthTest();
  SetSaveCaption(true);
  EnableStartLearn(false);
  The.Pipeline.PulseCount = 0;
  The.Pipeline.ReceiveEnabled = true;
  The.View.SetControlEnabled(LearningControl::ButtonName, true);
}

void LearningProcedure::EdgeWhileReceptionOff() {
  // Any button of the remote starts learning; it never saves.
  if (The.View.WindowShowing() && S.StartLearnEnabled && !S.SaveCaption) StartLearning();
}

void LearningProcedure::Button3Click() {
  The.View.SetWindowEnabled(false);
  The.View.SetLogGreyed(true);
  if (Ptk()) {
    The.View.ShowHint(Say(LearningText::Restarting));
    Log(LearningText::RestartReceiver);
    if (!RestartReceiver()) {
      The.View.SetWindowEnabled(true);
      The.View.SetLogGreyed(false);
      return;
    }
  }
  S.ReadyLines = 0;
  S.SignalLengthFailures = 0;
  S.RejectedSamples = 0;
  PtkHold = PtkHoldAnalysis();
  if (ProgressForm.Showing) {
    ProgressForm.Close(DialogResult::Cancel);
    The.View.CloseProgressDialog();
  }
  StopBlink();
  SetKeysDelayAside();
  The.View.ClearLog();
  BeginSignalLengthTest();
  The.View.SetWindowEnabled(true);
  The.View.SetLogGreyed(false);
  EnableStartLearn(false);
  EnableButtonOk(false);
}

bool LearningProcedure::RestartReceiver() {
  return The.Protocol != nullptr && The.Protocol->ReceiverStartUp(MinReceiverT);
}

void LearningProcedure::SetKeysDelayAside() {
  // Set aside once: a second Start or a Clear all must not take the lowered value for the
  // user's own.
  if (!S.SavedKeysDelay) S.SavedKeysDelay = The.Settings.KeysDelay;
  The.Settings.KeysDelay = 1;
  SetKeyTimer(1);
  WriteSettings();
}

void LearningProcedure::SetKeyTimer(std::int32_t milliseconds) {
  if (The.ReceiverOptions != nullptr) The.ReceiverOptions->KeysDelay = milliseconds;
}

void LearningProcedure::WriteSettings() {
  // The windows stay silent when the store cannot be written; the values hold for this run.
  static_cast<void>(WriteOptions(The.Registry, The.Settings));
}

void LearningProcedure::ButtonOptionsClick() {
  const bool receiving = The.Pipeline.ReceiveEnabled;
  The.Pipeline.ReceiveEnabled = false;
  The.View.ShowOptionsDialog();
  SetKeyTimer(The.Settings.KeysDelay);
  The.Pipeline.ReceiveEnabled = receiving;
}

void LearningProcedure::FormClose() {
  if (!S.LearnSaved && S.SavedKeysDelay) {
    The.Settings.KeysDelay = *S.SavedKeysDelay;
    SetKeyTimer(The.Settings.KeysDelay);
    WriteSettings();
  }
  S.SavedKeysDelay.reset();
  StopBlink();
  static_cast<void>(SaveLearnSettings(The.Registry, The.Learn));
  S.Stage = LearningStage::Idle;
  The.Pipeline.ReceiveMode = ReceiveModeKind::Execute;
  The.View.HandPortBack();
  WaitPumping(The.Loop, The.Clock, CloseWaitMs);
}

bool LearningProcedure::ConsistencyCheck(const std::string& code, std::size_t minLength,
                                         const std::string& reference) {
  if (code.size() >= minLength && code != reference) {
    S.ConsistencyFailures = 0;
    return false;
  }
  if (!code.empty()) {
    if (++S.ConsistencyFailures == ConsistencyRound) S.ConsistencyFailures = 0;
    if (S.ConsistencyFailures == ConsistencyHint) {
      Log();
      Log(LearningText::ConsistencyFailed);
      Log();
    }
  }
  return true;
}

std::string LearningProcedure::Say(LearningText role) const {
  return std::string(Text(role, The.Language));
}

void LearningProcedure::Message(const std::string& text, MessageKind kind) {
  The.View.ShowMessage(ComposeMessageBox(The.Language, text, MessageButtons::Ok, kind));
}

void LearningProcedure::SetBox(std::int32_t box, const std::string& text) {
  S.Boxes[static_cast<std::size_t>(box - 1)] = text;
  The.View.SetCodeBox(box, text);
}

void LearningProcedure::ClearBoxes() {
  for (std::int32_t box = 1; box <= Presses; ++box) SetBox(box, {});
  S.CaptureSlots = {};
  S.ButtonBursts.clear();
}

void LearningProcedure::EnableStartLearn(bool enabled) {
  S.StartLearnEnabled = enabled;
  The.View.SetControlEnabled(LearningControl::ButtonStartLearn, enabled);
}

void LearningProcedure::EnableButtonOk(bool enabled) {
  S.ButtonOkEnabled = enabled;
  The.View.SetControlEnabled(LearningControl::ButtonOk, enabled);
}

void LearningProcedure::SetSaveCaption(bool save) {
  S.SaveCaption = save;
  The.View.SetStartLearnCaption(Say(save ? LearningText::SaveData : LearningText::StartLearn));
}

void LearningProcedure::StartBlink() {
  The.View.PlaceLabel3(Label3Place::NameBox);
  The.View.SetLabel3Visible(true);
  S.BlinkRed = true;
  The.View.SetLabel3Red(true);
  Timer3->Enable();
}

void LearningProcedure::StopBlink() {
  Timer3->Disable();
  The.View.SetLabel3Visible(false);
}

void LearningProcedure::Timer3Timer() {
  S.BlinkRed = !S.BlinkRed;
  The.View.SetLabel3Red(S.BlinkRed);
}

}  // namespace quillon

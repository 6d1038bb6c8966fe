#include "replay/LearningDriver.h"

#include <algorithm>
#include <optional>

#include "core/learning/ButtonName.h"
#include "core/learning/LearningProcedure.h"
#include "core/learning/RemoteFile.h"
#include "core/learning/SaveDialog.h"
#include "core/receiver/KeyMatcher.h"
#include "core/receiver/PulseCapture.h"
#include "platform/fake/FakeEventLoop.h"
#include "platform/fake/FakeRegistry.h"
#include "replay/CaptureReplay.h"
#include "replay/SimulatedPtk.h"

namespace quillon {

namespace {

constexpr std::string_view PortName = "COM1";
constexpr std::int32_t PortNumber = 1;
constexpr std::uint32_t WaitStepMs = 10;
constexpr std::size_t MinSignalCode = 6;

std::string OneLine(std::string_view text) {
  std::string line;
  for (const char c : text) {
    if (c == '\r') continue;
    line += c == '\n' ? ' ' : c;
  }
  return line;
}

std::string Lengths(const std::vector<std::string>& codes) {
  std::string out;
  for (const std::string& code : codes) {
    out += (out.empty() ? "" : ", ") + std::to_string(code.size());
  }
  return out;
}

// The learning window as a user sees it: the log goes out line by line, message boxes are
// read and answered with their first button, the save dialog gets the script's names.
class DriverView final : public LearningView {
 public:
  DriverView(const std::function<void(const std::string&)>& log, const LearningScript& script)
      : LogLine(log), Script(script) {}

  void ShowHint(const std::string& /*text*/) override {}
  void Log(const std::string& text) override {
    if (LogLine && !Muted) LogLine(text);
  }
  void ClearLog() override {}
  void SetLogGreyed(bool /*greyed*/) override {}
  void SetWindowEnabled(bool /*enabled*/) override {}
  bool WindowShowing() const override { return true; }
  void SetCodeBox(std::int32_t /*box*/, const std::string& /*text*/) override {}
  void PlaceLabelCheck(std::int32_t /*box*/) override {}
  void SetLabelCheckVisible(bool /*visible*/) override {}
  void ShowGrids(const LearnGrid& /*keys*/, const LearnGrid& /*lockUps*/) override {}
  void SetNameText(const std::string& /*text*/) override {}
  void SetNameList(const std::vector<std::string>& /*names*/) override {}
  void SetControlEnabled(LearningControl /*control*/, bool /*enabled*/) override {}
  void Focus(LearningControl /*control*/) override {}
  void SetStartLearnCaption(const std::string& /*caption*/) override {}
  void PlaceLabel3(Label3Place /*place*/) override {}
  void SetLabel3Visible(bool /*visible*/) override {}
  void SetLabel3Red(bool /*red*/) override {}
  MessageAnswer ShowMessage(const MessageBoxContent& box) override {
    Messages.push_back(OneLine(box.Text));
    return box.Buttons.empty() ? MessageAnswer::Ok : box.Buttons.front().Answer;
  }
  void ShowSaveDialog(SaveDialog& dialog) override {
    dialog.FormActivate();
    dialog.RemCtrlTypeChange(Script.Producer);
    dialog.RemCtrlModelChange(Script.Model);
    if (dialog.SaveEnabled) {
      dialog.Button1Click();
    } else {
      dialog.Button2Click();
    }
    SavedAs = RemoteFileName(dialog.Producer, dialog.Model);
  }
  void ShowOptionsDialog() override {}
  void ShowProgressDialog(const ProgressDialog& /*dialog*/) override {}
  void CloseProgressDialog() override {}
  void HandPortBack() override {}
  void EndProgram() override { Ended = true; }

  std::vector<std::string> Messages;
  std::string SavedAs;
  bool Ended = false;
  bool Muted = false;  // what the receiver's start-up logs, which Start clears away

 private:
  const std::function<void(const std::string&)>& LogLine;
  const LearningScript& Script;
};

// One learning run: the program's learning side over a pipeline, a receiver protocol and a
// simulated receiver, all on one virtual clock. It stands between the pipeline (and the
// protocol) and the procedure for the codes of the tests and of the buttons, to tell why a
// step failed.
class Session final : private SignalLengthConsumer, private ButtonCaptureConsumer {
 public:
  Session(const std::filesystem::path& folder, const std::function<void(const std::string&)>& log,
          const LearningScript& script)
      : Script(script), View(log, script), Folder(folder) {
    Clock.AdvanceTo(platform::CounterTicksPerSecond);
    BurstConsumers consumers = Procedure.Consumers(nullptr, &Matcher);
    consumers.SignalLength = this;
    consumers.Capture = this;
    Pipeline.SetConsumers(consumers);
    Protocol.SetConsumers(consumers, Procedure.LineConsumers());
  }

  LearningOutcome Run() {
    if (Script.Buttons.empty() || Script.Buttons.front().Presses.empty()) {
      Fail(LearningStep::Start, "there is no press of a first button");
      return std::move(Outcome);
    }
    if (Ptk() && !StartReceiver()) return std::move(Outcome);
    Procedure.FormCreate();
    Procedure.ButtonStartLearnClick();
    if (SignalLengthTest() && ReceiverReadyCheck() && HoldButtonTest()) {
      for (const ButtonPresses& button : Script.Buttons) LearnButton(button);
      Save();
    }
    Procedure.FormClose();
    return std::move(Outcome);
  }

 private:
  bool Ptk() const { return Script.Receiver == ReceiverKind::Ptk; }
  LearningStage Stage() const { return Procedure.State().Stage; }

  void Fail(LearningStep step, std::string reason, std::string button = {}) {
    Outcome.Failures.push_back({step, std::move(button), std::move(reason)});
  }

  // As at the program's start: the receiver's port opened and the receiver started with the
  // blank T a reset leaves, so its frames end at long spaces until learning retunes it.
  bool StartReceiver() {
    View.Muted = true;
    const bool started = Protocol.OpenPort(std::string(PortName), PortNumber) &&
                         Protocol.ReceiverStartUp(MinReceiverT);
    View.Muted = false;
    if (!started) Fail(LearningStep::Start, "the receiver did not start");
    return started;
  }

  // A user waits until the window takes presses again.
  void Press(const PressDurations& durations) {
    while (Pipeline.HoldOffRunning()) Loop.AdvanceBy(WaitStepMs);
    if (Ptk()) {
      Device.Press(durations);
    } else {
      PlayPress(Pipeline, Loop, Clock, durations);
    }
  }

  const PressDurations& FirstButtonPress() {
    const std::vector<PressDurations>& presses = Script.Buttons.front().Presses;
    return presses[NextFirst++ % presses.size()];
  }

  // A user presses the first button until the test has taken its five codes: a press that
  // gives none is simply pressed again.
  // Gives the number of presses.
  std::int32_t PressFirstButtonWhile(LearningStage stage) {
    std::int32_t presses = 0;
    for (; presses < LearningDriver::TestPressLimit && Stage() == stage && !View.Ended; ++presses) {
      Press(FirstButtonPress());
    }
    return presses;
  }

  bool SignalLengthTest() {
    const std::int32_t presses = PressFirstButtonWhile(LearningStage::SignalLengthTest);
    if (Stage() != LearningStage::SignalLengthTest) return true;
    const auto taken =
        std::count_if(SignalCodes.begin(), SignalCodes.end(),
                      [](const std::string& c) { return c.size() >= MinSignalCode; });
    if (taken >= LearningProcedure::Presses) {
      Fail(LearningStep::SignalLengthTest,
           "no start pulse and gap common to the frames of five presses were found in " +
               std::to_string(presses) + " presses (code lengths " + Lengths(SignalCodes) + ")");
    } else {
      Fail(LearningStep::SignalLengthTest,
           std::to_string(taken) + " of " + std::to_string(presses) +
               " presses gave a code of six or more symbols" +
               (SignalCodes.empty() ? "" : " (code lengths " + Lengths(SignalCodes) + ")"));
    }
    return false;
  }

  bool ReceiverReadyCheck() {
    if (Stage() != LearningStage::ReceiverReady) return true;
    const std::int32_t presses = PressFirstButtonWhile(LearningStage::ReceiverReady);
    if (View.Ended) {
      Fail(LearningStep::ReceiverReadyCheck,
           View.Messages.empty() ? "the receiver was lost" : View.Messages.back());
      return false;
    }
    if (Stage() == LearningStage::ReceiverReady) {
      Fail(LearningStep::ReceiverReadyCheck, std::to_string(Procedure.State().ReadyLines) + " of " +
                                                 std::to_string(presses) +
                                                 " presses gave a line of six or more symbols");
      return false;
    }
    return true;
  }

  bool HoldButtonTest() {
    const std::vector<PressDurations>& holds =
        Script.HoldPresses.empty() ? Script.Buttons.front().Presses : Script.HoldPresses;
    for (std::size_t press = 0;
         press < LearningDriver::HoldPresses && Stage() == LearningStage::HoldButtonTest; ++press) {
      Press(holds[press % holds.size()]);
    }
    if (Stage() == LearningStage::Training) return true;
    Fail(LearningStep::HoldButtonTest,
         "it did not take ten " + std::string(Ptk() ? "lines" : "bursts") + " from " +
             std::to_string(LearningDriver::HoldPresses) + " presses");
    return false;
  }

  void LearnButton(const ButtonPresses& button) {
    Captured.clear();
    const std::size_t presses =
        std::min<std::size_t>(button.Presses.size(), LearningDriver::PressesPerButton);
    for (std::size_t press = 0; press < presses; ++press) Press(button.Presses[press]);
    const LearningState& state = Procedure.State();
    if (state.Boxes[0].empty()) {
      Fail(LearningStep::Button, NoCodeReason(presses), button.Label);
      return;
    }
    const std::int32_t before = state.KeyIndex;
    const std::size_t messages = View.Messages.size();
    Procedure.ButtonNameChange(button.Label);
    Procedure.ButtonNameExit();
    Procedure.ButtonOkClick();
    if (state.KeyIndex != before) return;
    Fail(LearningStep::Button,
         View.Messages.size() > messages ? View.Messages.back() : "Remember took no key",
         button.Label);
    Procedure.Button2Click();
  }

  std::string NoCodeReason(std::size_t presses) const {
    const bool any = std::any_of(Captured.begin(), Captured.end(),
                                 [](const std::string& code) { return !code.empty(); });
    const std::string count = std::to_string(presses) + (presses == 1 ? " press" : " presses");
    if (!any) return "no frame was found in its " + count;
    const LearningState& state = Procedure.State();
    const std::int32_t spread = Settings.ImpulseDiv;
    return "none of its " + count + " gave a code of the learned length " +
           std::to_string(state.NominalLengthValue - spread) + " to " +
           std::to_string(state.NominalLengthValue + spread) + " (code lengths " +
           Lengths(Captured) + ")";
  }

  void Save() {
    if (Procedure.State().KeyIndex == 0) {
      Fail(LearningStep::Save, "no button was learned");
      return;
    }
    const std::size_t messages = View.Messages.size();
    Procedure.ButtonStartLearnClick();
    if (Procedure.State().LearnSaved) {
      Outcome.File = Folder / View.SavedAs;
      return;
    }
    Fail(LearningStep::Save, View.Messages.size() > messages
                                 ? View.Messages.back()
                                 : "the save dialog takes a producer and a model that are not "
                                   "empty once its refused characters are dropped");
  }

  void SignalLengthAnalysis(const std::string& code,
                            const std::optional<FrameSample>& sample) override {
    if (!code.empty()) SignalCodes.push_back(code);
    Procedure.SignalLengthAnalysis(code, sample);
  }
  void ButtonCapture(const std::string& code, bool repeatFrame) override {
    if (Stage() == LearningStage::Training) Captured.push_back(code);
    Procedure.ButtonCapture(code, repeatFrame);
  }

  const LearningScript& Script;
  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  Options Settings;
  ReceiveSettings Receive = ToReceiveSettings(Settings);
  CurrentRemote Remote;
  ReceivePipeline Pipeline{Loop, Receive, Remote.Timings, Remote.Limits};
  platform::FakeRegistry Registry;
  LearnSettings Learn;
  DriverView View;
  LanguageFlag Language = English;
  KeyMatcher Matcher{*Remote.Record};
  SimulatedPtk Device{Loop, Clock};
  PulseCapture Capture{Pipeline, Device};
  PtkOptions ReceiverOptions;
  PtkProtocol Protocol{Pipeline, Capture,        Device, Loop,
                       Clock,    *Remote.Record, View,   ReceiverOptions};
  std::filesystem::path Folder;
  LearningProcedure Procedure{{Pipeline, Remote, Settings, Registry, Learn, Loop, Clock, View,
                               Language, Folder, &Protocol, &ReceiverOptions}};
  std::size_t NextFirst = 0;
  std::vector<std::string> SignalCodes;
  std::vector<std::string> Captured;
  LearningOutcome Outcome;
};

}  // namespace

std::string_view StepName(LearningStep step) {
  switch (step) {
    case LearningStep::Start:
      return "start";
    case LearningStep::SignalLengthTest:
      return "signal-length test";
    case LearningStep::ReceiverReadyCheck:
      return "receiver-ready check";
    case LearningStep::HoldButtonTest:
      return "hold-button test";
    case LearningStep::Button:
      return "button";
    case LearningStep::Save:
      return "save";
  }
  return "?";
}

std::string StepFailure::Text() const {
  if (Step == LearningStep::Button) return "button \"" + Button + "\": " + Reason;
  return std::string(StepName(Step)) + ": " + Reason;
}

std::string LearnedName(std::string_view label) {
  return StoredButtonName(TrimBlanks(FilterNameText(label)));
}

LearningDriver::LearningDriver(std::filesystem::path folder,
                               std::function<void(const std::string&)> log)
    : Folder(std::move(folder)), LogLine(std::move(log)) {}

LearningOutcome LearningDriver::Learn(const LearningScript& script) const {
  // The session is large (the remote record alone is a quarter of a megabyte).
  const auto session = std::make_unique<Session>(Folder, LogLine, script);
  return session->Run();
}

}  // namespace quillon

#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/common/Language.h"
#include "core/learning/CurrentRemote.h"
#include "core/learning/LearnGrid.h"
#include "core/learning/LearnSettings.h"
#include "core/learning/LearningTexts.h"
#include "core/learning/LearningView.h"
#include "core/learning/ProgressDialog.h"
#include "core/learning/ReferenceSearch.h"
#include "core/learning/RepeatFrameAnalysis.h"
#include "core/receiver/BurstConsumers.h"
#include "core/receiver/PtkHandOver.h"
#include "core/receiver/PtkHoldAnalysis.h"
#include "core/receiver/PtkProtocol.h"
#include "core/receiver/ReceivePipeline.h"
#include "core/recognition/ButtonTemplates.h"
#include "core/shell/Options.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Registry.h"

namespace quillon {

// What the learning procedure works with. Everything outlives the procedure.
struct LearningParts {
  ReceivePipeline& Pipeline;
  CurrentRemote& Remote;         // the remote being learned: its record, timings and limits
  Options& Settings;             // ImpulseDiv, KeysDelay, MaxValueError
  platform::Registry& Registry;  // where the options and the learning settings are written
  LearnSettings& Learn;          // the name box's list of names, the learning port
  platform::EventLoop& Loop;
  const platform::Clock& Clock;
  LearningView& View;
  const LanguageFlag& Language;           // the program-wide flag, read at each showing
  std::filesystem::path RemoteFolder;     // where remote data files are saved
  PtkProtocol* Protocol = nullptr;        // the microcontroller receiver's side, when one is used
  PtkOptions* ReceiverOptions = nullptr;  // its key timer (KeysDelay), when one is used
};

// Where the procedure stands.
enum class LearningStage : std::uint8_t {
  Idle,              // before Start, after closing, and when retuning the receiver failed
  SignalLengthTest,  // receive mode 2: five presses of button 1
  ReceiverReady,     // mode 4, microcontroller receiver: five lines retune it
  HoldButtonTest,    // mode 3 (5 with a microcontroller receiver): button 1 held
  Training,          // mode 1: each button five times, named and remembered
};

// The state of the procedure, as the learning window's variables held it.
struct LearningState {
  LearningStage Stage = LearningStage::Idle;
  std::uint8_t PressCounter = 1;  // the next press of the test or of the button, from 1
  std::int32_t KeyIndex = 0;      // buttons remembered; the one being learned is KeyIndex + 1
  std::int32_t DataSlot = 1;      // the box (1..5) that takes the next code
  std::array<std::int32_t, SignalSamples> SampleLength{};
  std::array<std::int64_t, SignalSamples> StartSamples{};  // of the signal-length decoder
  std::array<std::int64_t, SignalSamples> GapSamples{};
  std::int32_t NominalLengthValue = 0;
  std::int32_t ConsistencyFailures = 0;
  std::uint8_t WindowRejects = 0;              // length-window rejections (Bulgarian log only)
  std::array<std::string, 5> CaptureSlots;     // the last code taken for each box of this button
  std::array<std::string, 5> Boxes;            // Edit1..Edit5
  std::optional<std::int32_t> SavedKeysDelay;  // the user's KeysDelay, set aside while learning
  bool LearnSaved = false;
  bool SaveCaption = false;  // ButtonStartLearn reads "Save data" and saves
  bool StartLearnEnabled = true;
  bool ButtonOkEnabled = false;
  std::string NameText;                   // the name box
  std::int32_t ReadyLines = 0;            // lines counted by the receiver-ready check
  bool BlinkRed = true;                   // Label3's colour while it blinks
  std::int32_t SignalLengthFailures = 0;  // failed attempts of the signal-length test
  std::int32_t RejectedSamples = 0;       // its presses that gave no code
  bool TemplatesOnly = false;             // training goes on with button templates alone
  // The bursts of the button being learned, for its template.
  std::vector<LearnedBurst> ButtonBursts;
};

// The learning procedure of the learning window (TMain): the signal-length test, the
// receiver-ready check of a microcontroller receiver, the hold-button test and the training of
// each button, with its log, its code boxes, its grids, naming and saving. It is every
// consumer of the receive pipeline and of the receiver's lines that learning needs, so a
// pipeline set up with it drives it; the window renders through LearningView and forwards its
// events to the handlers below. It also stands between the pipeline and the repeat-frame judge,
// to keep the durations of each burst of a button being learned: the button's template is
// built from them when it is remembered, and saving writes the templates into the companion
// file of the remote data file. When the signal-length test fails for the third time, it
// offers to go on with templates only.
class LearningProcedure final : public ButtonCaptureConsumer,
                                public RepeatCodeConsumer,
                                public SignalLengthConsumer,
                                public StartLearningTrigger,
                                public ReceiverReadyConsumer,
                                public HoldLineConsumer,
                                public RepeatFrameJudge {
 public:
  static constexpr std::int32_t Presses = 5;
  static constexpr std::uint32_t BlinkMs = 500;
  static constexpr std::uint32_t HoldTestHoldOffMs = 500;
  static constexpr std::uint32_t ReleaseWaitMs = 500;
  static constexpr std::uint32_t TrainingHoldOffMs = 1000;
  static constexpr std::uint32_t CloseWaitMs = 150;
  static constexpr std::int32_t TemplatesOfferAfter = 3;  // failed signal-length tests
  static constexpr std::size_t MaxButtonBursts = 10;
  // A burst beginning this soon after the one before closed is the rest of the same press.
  static constexpr std::int64_t PressRestTicks = 50 * platform::CounterTicksPerMillisecond;

  explicit LearningProcedure(const LearningParts& parts);
  LearningProcedure(const LearningProcedure&) = delete;
  LearningProcedure& operator=(const LearningProcedure&) = delete;

  // The consumers to set in the pipeline (beside the command side's dispatcher; the procedure
  // itself is the judge, asking `judge`) and in the receiver's protocol.
  BurstConsumers Consumers(KeyDispatcher* dispatcher, RepeatFrameJudge* judge);
  KeyLineConsumers LineConsumers();

  // The window's first state: grids, name list, captions and enabling.
  void FormCreate();

  // Window events.
  void ButtonStartLearnClick();  // Start, or Save during training
  void Button3Click();           // Clear all
  void Button2Click();           // Clear button
  void ButtonOkClick();          // Remember
  void ButtonOptionsClick();
  void FormClose();
  void ProgressCancelClick();  // Cancel of the progress dialog
  // The name box: a typed key (false: discard it), Enter, a change of its text, leaving it.
  bool ButtonNameKeyPress(char32_t key, bool caretAtStart);
  void ButtonNameEnter();
  void ButtonNameChange(const std::string& text);
  void ButtonNameExit();

  // The stages.
  void BeginSignalLengthTest();
  void BeginTraining();
  // True when the code is rejected: shorter than `minLength` or equal to `reference`.
  // Rejections of non-empty codes are counted in rounds of four; the third of each round asks
  // for another way of pressing.
  bool ConsistencyCheck(const std::string& code, std::size_t minLength,
                        const std::string& reference);

  // The consumers.
  void SignalLengthAnalysis(const std::string& code,
                            const std::optional<FrameSample>& sample) override;
  void RepeatCodeAnalysis(const std::string& code) override;
  void ButtonCapture(const std::string& code, bool repeatFrame) override;
  void EdgeWhileReceptionOff() override;
  void ReceiverReadyCheck(const std::string& code, std::uint8_t threshold) override;
  void HoldLineAnalysis(const KeyLine& line) override;
  bool RepeatFrameVerdict(const PulseTrain& train) override;

  const LearningState& State() const { return S; }
  // The templates of the buttons remembered so far.
  const RemoteTemplates& Templates() const { return LearnedTemplates; }

 private:
  // Start, Clear all and the settings they lower.
  void StartLearning();
  void SaveLearned();
  void SetKeysDelayAside();
  void SetKeyTimer(std::int32_t milliseconds);
  void WriteSettings();
  bool RestartReceiver();
  // The end of the signal-length test, the receiver's retuning, the hold-button test.
  bool FindReferences();
  void EndSignalLengthTest();
  void ReceiverReady(std::uint8_t threshold);
  void ReceiverLost();
  void BeginHoldButtonTest();
  // Counts a failed attempt of the signal-length test; true when the user took the offer to
  // go on with templates only.
  bool SignalLengthFailed();
  bool OfferTemplatesOnly();
  // Button capture.
  bool InLengthWindow(const std::string& code);
  void RejectedByLength(const std::string& code);
  void AskForTheName();
  void PlaceCode(const std::string& code);
  void UpdateRememberButtons();
  void ClearBoxes();
  // Remember.
  bool NameRefused();
  bool TablesRefuse(bool collision);
  // The view.
  bool Ptk() const { return The.Pipeline.PtkFound; }
  std::string Say(LearningText role) const;
  void Log(const std::string& line = {}) { The.View.Log(line); }
  void Log(LearningText role) { The.View.Log(Say(role)); }
  void Message(const std::string& text, MessageKind kind);
  void SetBox(std::int32_t box, const std::string& text);
  void EnableStartLearn(bool enabled);
  void EnableButtonOk(bool enabled);
  void SetSaveCaption(bool save);
  void StartBlink();
  void StopBlink();
  void Timer3Timer();

  LearningParts The;
  LearningState S;
  LearnGrid Keys;
  LearnGrid LockUps;
  TrainTable Trains;
  PtkHoldAnalysis PtkHold;
  ProgressDialog ProgressForm;
  std::unique_ptr<platform::Timer> Timer3;  // Label3's blink
  RepeatFrameJudge* Judge = nullptr;
  std::vector<std::int64_t> LastBurst;  // the burst judged last in training, microseconds
  std::int64_t LastBurstClosed = 0;     // counter
  RemoteTemplates LearnedTemplates;
};

}  // namespace quillon

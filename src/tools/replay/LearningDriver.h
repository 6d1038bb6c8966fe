#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The receiver a remote is learned and recognised with: the bare receiver, whose edges the
// program times itself, or a microcontroller receiver sending lines.
enum class ReceiverKind : std::uint8_t { Pts, Ptk };

using PressDurations = std::vector<std::int64_t>;

// The recorded presses of one button, under its label.
struct ButtonPresses {
  std::string Label;
  std::vector<PressDurations> Presses;
};

// What a user brings to the learning window: the buttons in the order they are taught (the
// first one also serves the tests), the presses for the hold-button test, and the names the
// save dialog is given.
struct LearningScript {
  std::vector<ButtonPresses> Buttons;
  std::vector<PressDurations> HoldPresses;  // none: the first button's presses again
  std::string Producer;
  std::string Model;
  ReceiverKind Receiver = ReceiverKind::Pts;
};

// The steps of a learning run that can fail.
enum class LearningStep : std::uint8_t {
  Start,
  SignalLengthTest,
  ReceiverReadyCheck,
  HoldButtonTest,
  Button,
  Save,
};

std::string_view StepName(LearningStep step);

struct StepFailure {
  LearningStep Step = LearningStep::Start;
  std::string Button;  // the label, for a button
  std::string Reason;

  // "signal-length test: ..." or "button \"Mute\": ...".
  std::string Text() const;
};

struct LearningOutcome {
  std::filesystem::path File;  // the saved remote data file; empty when nothing was saved
  // The step that stopped the run, or each button left out, or the save that failed.
  std::vector<StepFailure> Failures;
};

// The name a label is learned under, as the name box and the key table make it: refused
// characters and surrounding blanks dropped, cut to the stored length, upper case.
std::string LearnedName(std::string_view label);

// Plays a user at the learning window over the core learning procedure, on virtual time:
// Start; the first button's presses in turn until the signal-length test has taken five codes
// (and, with a microcontroller receiver, until its receiver-ready check has five lines), at
// most fifteen presses each; the hold presses in turn until the hold-button test has its ten
// bursts (at most ten presses); then for each button
// at most its first five presses, its label typed into the name box and Remember; a button
// that gives no code, or whose name is refused, is cleared and left out. Last, Save through
// the save dialog into `folder`, and the window is closed. Presses reach the program as a
// receiver delivers them: edges into the receive pipeline, or the simulator's lines through
// the receiver protocol on a fake port. Every line of the learning log goes to `log`.
class LearningDriver {
 public:
  static constexpr int TestPressLimit = 15;
  static constexpr int HoldPresses = 10;
  static constexpr int PressesPerButton = 5;

  LearningDriver(std::filesystem::path folder, std::function<void(const std::string&)> log);

  LearningOutcome Learn(const LearningScript& script) const;

 private:
  std::filesystem::path Folder;
  std::function<void(const std::string&)> LogLine;
};

}  // namespace quillon

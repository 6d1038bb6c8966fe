#include <CLI/CLI.hpp>

#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "core/recognition/TemplateFile.h"
#include "quillon-tool/Captures.h"
#include "quillon-tool/Commands.h"
#include "replay/LearningDriver.h"

namespace quillon::tool {

namespace {

namespace fs = std::filesystem;

struct LearnOptions {
  std::string Out;
  std::string Producer;
  std::string Model;
  std::string Receiver = "pts";
  std::string Hold;
  bool Quiet = false;
  std::vector<std::string> Captures;
};

// The buttons in the order their labels first appear, each with its recorded presses.
std::vector<ButtonPresses> Buttons(const std::vector<CaptureRecord>& records) {
  std::vector<ButtonPresses> buttons;
  for (const CaptureRecord& record : records) {
    auto button = std::find_if(buttons.begin(), buttons.end(),
                               [&](const ButtonPresses& b) { return b.Label == record.Button; });
    if (button == buttons.end()) {
      buttons.push_back({record.Button, {}});
      button = buttons.end() - 1;
    }
    button->Presses.push_back(record.Durations);
  }
  return buttons;
}

// A fresh folder beside the output file: the remote is saved there under the name the save
// dialog gives it, then moved over the output in one rename.
class SaveFolder {
 public:
  static Result<std::unique_ptr<SaveFolder>> Beside(const fs::path& out) {
    const fs::path parent = out.parent_path().empty() ? fs::path(".") : out.parent_path();
    std::string pattern = (parent / ".quillon-learn-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      return Error{"cannot make a folder beside " + out.string() + ": " +
                   std::error_code(errno, std::generic_category()).message()};
    }
    return std::unique_ptr<SaveFolder>(new SaveFolder(pattern));
  }
  ~SaveFolder() {
    std::error_code ignored;
    fs::remove_all(Path, ignored);
  }
  SaveFolder(const SaveFolder&) = delete;
  SaveFolder& operator=(const SaveFolder&) = delete;

  const fs::path Path;

 private:
  explicit SaveFolder(fs::path path) : Path(std::move(path)) {}
};

}  // namespace

void AddLearnCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<LearnOptions>();
  CLI::App* command = app.add_subcommand(
      "learn",
      "Learns a remote from recorded presses as a user would at the learning window: Start, "
      "the first button's presses in turn until the signal-length test has five codes (with a "
      "ptk receiver, then until its receiver-ready check has five lines; at most 15 presses "
      "each), ten bursts of the hold-button test (the --hold presses, else the first button's "
      "again), then each button in the order its label first appears, at most its first five "
      "presses, its label as its name, Remember; then Save: the remote data file and, "
      "beside it, the button templates of the presses (FILE.irt). When the signal-length "
      "test fails for the third time, the offer to go on with templates only is taken. "
      "Presses reach the program on virtual time as the receiver delivers them. Prints the "
      "learning log. A step that fails is named with its reason (status 1); a button that "
      "gives no code or whose name is refused is left out (status 1).");
  command->add_option("--out", options->Out, "the remote data file to write (.IRD)")->required();
  command->add_option("--producer", options->Producer, "the producer, as in the save dialog")
      ->required();
  command->add_option("--model", options->Model, "the model, as in the save dialog")->required();
  command
      ->add_option("--receiver", options->Receiver,
                   "pts (the bare receiver, edges timed by the program) or ptk (a "
                   "microcontroller receiver sending lines); default pts")
      ->check(CLI::IsMember({"pts", "ptk"}));
  command->add_option("--hold", options->Hold,
                      "a capture file of the first button held down, for the hold-button test");
  command->add_flag("--quiet", options->Quiet, "print nothing but errors");
  command->add_option("captures", options->Captures, "capture files")->required();
  command->callback([options, &status] {
    auto records = ReadCaptures(options->Captures, true);
    if (!records) {
      ReportError(records.ErrorMessage());
      status = BadInput;
      return;
    }
    LearningScript script;
    script.Buttons = Buttons(records.Value());
    script.Producer = options->Producer;
    script.Model = options->Model;
    script.Receiver = options->Receiver == "ptk" ? ReceiverKind::Ptk : ReceiverKind::Pts;
    if (!options->Hold.empty()) {
      auto holds = ReadCaptures({options->Hold}, false);
      if (!holds) {
        ReportError(holds.ErrorMessage());
        status = BadInput;
        return;
      }
      for (const CaptureRecord& record : holds.Value()) {
        script.HoldPresses.push_back(record.Durations);
      }
    }
    const fs::path out = options->Out;
    auto folder = SaveFolder::Beside(out);
    if (!folder) {
      ReportError(folder.ErrorMessage());
      status = BadInput;
      return;
    }

    const bool quiet = options->Quiet;
    const LearningDriver driver(folder.Value()->Path, [quiet](const std::string& line) {
      if (!quiet) std::cout << line << "\n";
    });
    const LearningOutcome outcome = driver.Learn(script);
    for (const StepFailure& failure : outcome.Failures) ReportError(failure.Text());
    if (!outcome.Failures.empty()) status = 1;
    if (outcome.File.empty()) return;
    std::error_code error;
    fs::rename(outcome.File, out, error);
    if (error) {
      ReportError("cannot write " + out.string() + ": " + error.message());
      status = 1;
      return;
    }
    // The button templates follow the remote data file; none learned leaves none beside it.
    const fs::path companion = CompanionPath(outcome.File);
    if (fs::exists(companion, error)) {
      fs::rename(companion, CompanionPath(out), error);
    } else {
      fs::remove(CompanionPath(out), error);
    }
    if (error) {
      ReportError("cannot write " + CompanionPath(out).string() + ": " + error.message());
      status = 1;
    }
  });
}

}  // namespace quillon::tool

#include <CLI/CLI.hpp>

#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "core/receiver/CaptureFile.h"
#include "core/shell/Settings.h"
#include "quillon-tool/Commands.h"
#include "replay/CaptureReplay.h"

namespace quillon::tool {

namespace {

struct FramesOptions {
  std::int32_t JitterPercent = 0;
  std::uint32_t Seed = 1;
  std::vector<std::string> Files;
};

// Replays one capture: a signal-length test press, then a normal press with the frame learned.
void FramesOfCapture(const CaptureRecord& record, const FramesOptions& options,
                     std::mt19937& random) {
  std::cout << record.Remote << "  " << record.Button << "\n";
  ReplayBench test;
  test.Pipeline.ReceiveMode = ReceiveModeKind::SignalLengthTest;
  test.Press(record.Durations);
  if (test.Bursts.empty() || !test.Bursts.front().Sample) {
    std::cout << "  signal length: no frame found\n";
    return;
  }
  const auto& found = test.Bursts.front();
  std::cout << "  signal length: " << found.Code << "  (start pulse " << found.Sample->StartPulse
            << ", gap " << found.Sample->FrameGap << " ticks)\n";

  ReplayBench run;
  run.AdoptFrame(found, settings::ImpulseDiv.Default);
  run.Press(Jitter(record.Durations, options.JitterPercent, random));
  std::cout << "  voting:        " << (run.Bursts.empty() ? "" : run.Bursts.front().Code)
            << (run.Pipeline.MultiLevelCoding ? "  (multi-level)" : "  (bits)") << "\n";
}

}  // namespace

void AddFramesCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<FramesOptions>();
  CLI::App* command = app.add_subcommand(
      "frames",
      "Replays each recorded press of capture files through the receive pipeline: first as a "
      "signal-length test, which finds the frame (start pulse and gap) and its code; then, "
      "with that frame learned, as a press in normal running, read by the voting decoder.");
  command
      ->add_option("--jitter", options->JitterPercent,
                   "move every duration of the second press by up to this many percent")
      ->check(CLI::Range(0, 50));
  command->add_option("--seed", options->Seed, "seed of the jitter");
  command->add_option("files", options->Files, "capture files (.irc)")->required();
  command->callback([options, &status] {
    std::mt19937 random(options->Seed);
    for (const std::string& file : options->Files) {
      auto records = ReadCaptureFile(file);
      if (!records) {
        ReportError(records.ErrorMessage());
        status = BadInput;
        continue;
      }
      for (const auto& record : records.Value()) FramesOfCapture(record, *options, random);
    }
  });
}

}  // namespace quillon::tool

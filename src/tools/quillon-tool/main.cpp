// quillon-tool: the program's jobs from the command line, over the core and the fake or real
// platform backends.

#include <charconv>
#include <cstdio>
#include <iostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/Result.h"
#include "core/receiver/CaptureFile.h"
#include "replay/CaptureReplay.h"

namespace {

using quillon::Error;
using quillon::Result;

constexpr std::string_view Usage =
    "usage: quillon-tool decode [--jitter PERCENT] [--seed N] CAPTURE-FILE...\n"
    "\n"
    "decode  replays each recorded press of the capture files through the receive pipeline:\n"
    "        first as a signal-length test, which finds the frame (start pulse and gap) and\n"
    "        its code; then, with that frame learned, as a press in normal running, decoded\n"
    "        by the voting decoder. --jitter moves every duration of the second press by up\n"
    "        to PERCENT percent (seeded by --seed, default 1).\n";

// The default allowed deviation of a code's length from the nominal length, in durations.
constexpr std::int32_t DefaultImpulseDiv = 3;

struct DecodeOptions {
  std::int32_t JitterPercent = 0;
  std::uint32_t Seed = 1;
  std::vector<std::string> Files;
};

Result<std::int64_t> ParseNumber(std::string_view option, std::string_view text, std::int64_t low,
                                 std::int64_t high) {
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return Error{std::string(option) + " takes a number from " + std::to_string(low) + " to " +
                 std::to_string(high) + ", not \"" + std::string(text) + "\""};
  }
  return value;
}

Result<DecodeOptions> ParseDecodeOptions(const std::vector<std::string_view>& args) {
  DecodeOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--jitter" || arg == "--seed") {
      if (i + 1 == args.size()) return Error{std::string(arg) + " needs a value"};
      const bool jitter = arg == "--jitter";
      auto value = ParseNumber(arg, args[++i], 0, jitter ? 50 : 0xFFFFFFFF);
      if (!value) return Error{value.ErrorMessage()};
      if (jitter) {
        options.JitterPercent = static_cast<std::int32_t>(value.Value());
      } else {
        options.Seed = static_cast<std::uint32_t>(value.Value());
      }
    } else if (arg.starts_with("--")) {
      return Error{"unknown option " + std::string(arg)};
    } else {
      options.Files.emplace_back(arg);
    }
  }
  if (options.Files.empty()) return Error{"decode needs at least one capture file"};
  return options;
}

// Replays one capture: a signal-length test press, then a normal press with the frame learned.
void DecodeCapture(const quillon::CaptureRecord& record, const DecodeOptions& options,
                   std::mt19937& random) {
  std::cout << record.Remote << "  " << record.Button << "\n";
  quillon::ReplayBench test;
  test.Pipeline.ReceiveMode = quillon::ReceiveModeKind::SignalLengthTest;
  test.Press(record.Durations);
  if (test.Bursts.empty() || !test.Bursts.front().Sample) {
    std::cout << "  signal length: no frame found\n";
    return;
  }
  const auto& found = test.Bursts.front();
  std::cout << "  signal length: " << found.Code << "  (start pulse " << found.Sample->StartPulse
            << ", gap " << found.Sample->FrameGap << " ticks)\n";

  quillon::ReplayBench run;
  run.AdoptFrame(found, DefaultImpulseDiv);
  run.Press(quillon::Jitter(record.Durations, options.JitterPercent, random));
  std::cout << "  voting:        " << (run.Bursts.empty() ? "" : run.Bursts.front().Code)
            << (run.Pipeline.MultiLevelCoding ? "  (multi-level)" : "  (bits)") << "\n";
}

int Decode(const std::vector<std::string_view>& args) {
  auto options = ParseDecodeOptions(args);
  if (!options) {
    std::cerr << "quillon-tool: " << options.ErrorMessage() << "\n\n" << Usage;
    return 2;
  }
  std::mt19937 random(options.Value().Seed);
  int status = 0;
  for (const std::string& file : options.Value().Files) {
    auto records = quillon::ReadCaptureFile(file);
    if (!records) {
      std::cerr << "quillon-tool: " << records.ErrorMessage() << "\n";
      status = 1;
      continue;
    }
    for (const auto& record : records.Value()) DecodeCapture(record, options.Value(), random);
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty() || args.front() == "--help" || args.front() == "-h") {
    std::cout << Usage;
    return args.empty() ? 2 : 0;
  }
  const std::string_view command = args.front();
  args.erase(args.begin());
  if (command == "decode") return Decode(args);
  std::cerr << "quillon-tool: unknown command \"" << command << "\"\n\n" << Usage;
  return 2;
}

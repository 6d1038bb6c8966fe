// The soak run: a long stretch of random input through the receive side and key dispatch,
// watching the process's memory.
//
//   quillon_soak [bursts]     (default 1000000; serial lines: a tenth as many)
//
// Bursts go edge by edge through the receive pipeline on virtual time, as a bare demodulator
// delivers them, and the burst dispatcher hands their codes to key dispatch over the sample
// remote and configuration, whose commands reach a counting executor. The bursts are recorded
// presses of the sample remote, moved by a few percent, cut short, run together or replaced by
// noise of any length. Then serial lines of a microcontroller receiver arrive through the line
// protocol, split across arrivals: key data, repeat frames, replies, error reports (some
// without their close), overlong garbage, in every receive mode; in normal running they reach
// the same key dispatch.
//
// The resident set (VmRSS) and its peak (VmHWM) are read from /proc/self/status at the start,
// after a tenth of each stretch (when every table and buffer has reached its size) and at the
// end. The run fails when the resident set grows by more than MaxGrowthKb after that point.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/config/ConfigFile.h"
#include "core/config/KeyDispatch.h"
#include "core/learning/RemoteFile.h"
#include "core/receiver/CaptureFile.h"
#include "core/receiver/PtkProtocol.h"
#include "replay/CaptureReplay.h"

namespace {

using namespace quillon;

constexpr std::int64_t DefaultBursts = 1'000'000;
constexpr std::int64_t MaxGrowthKb = 1024;

const std::filesystem::path Samples = std::filesystem::path(QUILLON_SOURCE_DIR) / "samples";

struct Memory {
  std::int64_t ResidentKb = 0;
  std::int64_t PeakKb = 0;
};

Memory ReadMemory() {
  Memory memory;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) memory.ResidentKb = std::atoll(line.c_str() + 6);
    if (line.starts_with("VmHWM:")) memory.PeakKb = std::atoll(line.c_str() + 6);
  }
  return memory;
}

void Report(const char* when, const Memory& memory) {
  std::printf("  %-22s RSS %8lld kB   peak %8lld kB\n", when,
              static_cast<long long>(memory.ResidentKb), static_cast<long long>(memory.PeakKb));
}

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "quillon_soak: %s\n", message.c_str());
  std::exit(2);
}

// What commands and hints reach: counted, nothing kept.
struct CountingDesk : HintDisplay, CommandExecutor {
  void IRShowHint(const std::string&) override { ++Hints; }
  void CloseHint() override {}
  void ExecuteCommand(const CommandRecord& record) override {
    ++Commands;
    if (record.Kind != CommandKind::None) ++Acting;
  }
  std::int64_t Hints = 0;
  std::int64_t Commands = 0;
  std::int64_t Acting = 0;
};

// The consumers of the other receive modes and the receiver's log: counted, nothing kept.
struct CountingConsumers : ReceiverView,
                           ButtonCaptureConsumer,
                           RepeatCodeConsumer,
                           SignalLengthConsumer,
                           StartLearningTrigger,
                           ReceiverReadyConsumer,
                           HoldLineConsumer {
  void ShowHint(const std::string&) override { ++Seen; }
  void Log(const std::string&) override { ++Seen; }
  void ButtonCapture(const std::string&, bool) override { ++Seen; }
  void RepeatCodeAnalysis(const std::string&) override { ++Seen; }
  void SignalLengthAnalysis(const std::string&, const std::optional<FrameSample>&) override {
    ++Seen;
  }
  void EdgeWhileReceptionOff() override { ++Seen; }
  void ReceiverReadyCheck(const std::string&, std::uint8_t) override { ++Seen; }
  void HoldLineAnalysis(const KeyLine&) override { ++Seen; }
  std::int64_t Seen = 0;
};

// A serial line that hands over the soak's bytes and forgets what the protocol writes: unlike
// the recording fake device it keeps nothing, so the measurement shows the protocol alone.
class SoakSerialDevice : public platform::SerialDevice {
 public:
  Result<Done> Open(const std::string&, platform::SerialHandlers handlers) override {
    Handlers = std::move(handlers);
    Opened = true;
    return Done{};
  }
  void Close() override { Opened = false; }
  bool IsOpen() const override { return Opened; }
  std::uint32_t ModemStatus() const override { return 0; }
  std::string ReadAll() override { return std::exchange(Pending, {}); }
  void Write(std::string_view bytes) override { Written += bytes.size(); }

  void Arrive(std::int64_t counter, std::string_view bytes) {
    if (!Opened) return;
    Pending += bytes;
    Handlers.DataReceived(counter, bytes.size());
  }

  std::int64_t Written = 0;

 private:
  platform::SerialHandlers Handlers;
  std::string Pending;
  bool Opened = false;
};

struct Setup {
  Setup() {
    const auto loaded = LoadRemoteFile(Samples / "remotes/Vizio_VX32L.IRD", Remote, English);
    if (!loaded || !loaded.Value().Found) Fail("cannot load the sample remote");
    Pipeline.MultiLevelCoding = loaded.Value().MultiLevelCoding;
    auto configuration = ReadConfigurationFile(Samples / "remotes/Living room.rir");
    if (!configuration) Fail(configuration.ErrorMessage());
    Tree.Assign(std::move(configuration).Value().Nodes);
    auto captures = ReadCaptureFile(Samples / "ir-captures/fz-TVs-Vizio-Vizio_VX32L.irc");
    if (!captures || captures.Value().empty()) Fail("cannot read the sample captures");
    for (const CaptureRecord& record : captures.Value()) Presses.push_back(record.Durations);

    Pipeline.SetConsumers({.Dispatcher = &Dispatcher,
                           .Capture = &Others,
                           .RepeatCode = &Others,
                           .SignalLength = &Others,
                           .Judge = &Dispatcher.Matcher,
                           .StartLearning = &Others});
    Pipeline.ReceiveEnabled = true;
    Protocol.SetConsumers({.Dispatcher = &Dispatcher,
                           .Capture = &Others,
                           .RepeatCode = &Others,
                           .SignalLength = &Others,
                           .StartLearning = &Others},
                          {&Others, &Others});
    if (!Protocol.OpenPort("soak", 1)) Fail("cannot open the soak's serial line");
  }

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  ReceiveSettings Settings;
  CurrentRemote Remote;
  ReceivePipeline Pipeline{Loop, Settings, Remote.Timings, Remote.Limits};
  ConfigTree Tree;
  CountingDesk Desk;
  DispatchOptions Options{.ShowUnknownButton = true};
  CommandDispatcher Dispatcher{Pipeline, Tree, *Remote.Record, Desk, Desk, Loop, Clock, Options};
  CountingConsumers Others;
  SoakSerialDevice Device;
  PulseCapture Capture{Pipeline, Device};
  PtkOptions PtkSettings;
  PtkProtocol Protocol{Pipeline, Capture, Device, Loop, Clock, *Remote.Record, Others, PtkSettings};
  std::vector<std::vector<std::int64_t>> Presses;
};

// One random burst.
std::vector<std::int64_t> RandomBurst(const Setup& setup, std::mt19937& random) {
  const auto pick = [&random](std::size_t count) {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
  };
  const auto& press = setup.Presses[pick(setup.Presses.size())];
  std::vector<std::int64_t> burst;
  switch (pick(6)) {
    case 0:
    case 1:
      return Jitter(press, 3, random);
    case 2:  // cut short
      burst = Jitter(press, 5, random);
      burst.resize(pick(burst.size() + 1));
      return burst;
    case 3:  // a held button: the press repeated past the buffer's size
      for (int k = 0; k < 9; ++k) {
        const auto frame = Jitter(press, 3, random);
        burst.insert(burst.end(), frame.begin(), frame.end());
      }
      return burst;
    case 4: {  // noise of any length, glitches included
      const std::size_t count = pick(620);
      std::uniform_int_distribution<std::int64_t> duration(1, 2'000'000);
      for (std::size_t k = 0; k < count; ++k) burst.push_back(duration(random));
      return burst;
    }
    default:  // nothing
      return burst;
  }
}

// One random line of a microcontroller receiver, with its line end (sometimes lost).
std::string RandomLine(std::mt19937& random) {
  static const std::vector<std::string> replies = {
      "NewRX-S,t", "NewRX-S,p",          "RX>St",           "RX>Sp",
      "RX>TA",     "NewRX-TA",           "NewRX-D\x04",     "NewRX-d\x1b",
      "NewRX-V,0", "NewRX-N,o",          "NewRX-Q",         "Ser.No:0042",
      "New-Ok",    "IR Receiver PTK1.0", "Unknown Command", "IR Receiver PTW1.0 ...Ok"};
  const auto pick = [&random](std::size_t count) {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
  };
  const auto bytes = [&](std::size_t count, int low, int high) {
    std::string text;
    std::uniform_int_distribution<int> value(low, high);
    for (std::size_t k = 0; k < count; ++k) text += static_cast<char>(value(random));
    return text;
  };
  std::string line;
  switch (pick(8)) {
    case 0:
    case 1:
    case 2:  // key data
      line = ":" + bytes(2, 0, 36) + bytes(6 + pick(40), 37, 122);
      break;
    case 3:  // a repeat frame
      line = bytes(1 + pick(5), 16, 160);
      break;
    case 4:
      line = replies[pick(replies.size())];
      break;
    case 5:  // an error report, its close sometimes lost
      line = "ERROR\r\n" + bytes(3, 40, 200) + "\r\n" + bytes(3, 40, 200) +
             (pick(4) == 0 ? "" : "\r\nT=" + bytes(2, 48, 57));
      break;
    case 6:  // garbage, sometimes longer than a line may be
      line = bytes(pick(2) == 0 ? pick(40) : 400 + pick(800), 0, 255);
      break;
    default:
      line = bytes(pick(12), 0, 255);
      break;
  }
  return pick(50) == 0 ? line : line + "\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::int64_t bursts = DefaultBursts;
  if (argc > 1) {
    bursts = std::atoll(argv[1]);
    if (bursts < 10) Fail("the burst count is a number of at least 10");
  }
  const std::int64_t lines = bursts / 10;

  const Memory start = ReadMemory();
  Setup setup;
  std::mt19937 random(20240611);
  std::printf("quillon_soak: %lld bursts, then %lld serial lines\n", static_cast<long long>(bursts),
              static_cast<long long>(lines));
  Report("start", start);

  Memory settled;
  for (std::int64_t b = 0; b < bursts; ++b) {
    if (b == bursts / 10) settled = ReadMemory();
    PlayPress(setup.Pipeline, setup.Loop, setup.Clock, RandomBurst(setup, random));
  }
  const Memory afterBursts = ReadMemory();

  setup.Pipeline.PtkFound = true;
  Memory settledLines;
  std::uniform_int_distribution<int> mode(0, 5);
  std::uniform_int_distribution<std::uint32_t> pause(0, 20);
  for (std::int64_t l = 0; l < lines; ++l) {
    if (l == lines / 10) settledLines = ReadMemory();
    if (l % 1000 == 999) {
      setup.Pipeline.ReceiveMode =
          random() % 2 == 0 ? ReceiveModeKind::Execute : static_cast<ReceiveModeKind>(mode(random));
    }
    const std::string line = RandomLine(random);
    // Split across arrivals, as a serial port hands bytes over.
    for (std::size_t at = 0; at < line.size();) {
      const std::size_t part = 1 + random() % (line.size() - at);
      setup.Device.Arrive(setup.Clock.Counter(), std::string_view(line).substr(at, part));
      at += part;
      setup.Loop.AdvanceBy(static_cast<std::uint32_t>(random() % 3));
    }
    setup.Loop.AdvanceBy(pause(random));
  }
  setup.Loop.AdvanceBy(5000);
  const Memory end = ReadMemory();

  Report("bursts settled", settled);
  Report("after bursts", afterBursts);
  Report("lines settled", settledLines);
  Report("end", end);
  std::printf("  commands %lld (%lld acting), hints %lld, other consumers %lld, bytes sent %lld\n",
              static_cast<long long>(setup.Desk.Commands),
              static_cast<long long>(setup.Desk.Acting), static_cast<long long>(setup.Desk.Hints),
              static_cast<long long>(setup.Others.Seen),
              static_cast<long long>(setup.Device.Written));

  const std::int64_t burstGrowth = afterBursts.ResidentKb - settled.ResidentKb;
  const std::int64_t lineGrowth = end.ResidentKb - settledLines.ResidentKb;
  std::printf("  growth after settling: bursts %lld kB, lines %lld kB (limit %lld kB each)\n",
              static_cast<long long>(burstGrowth), static_cast<long long>(lineGrowth),
              static_cast<long long>(MaxGrowthKb));
  if (burstGrowth > MaxGrowthKb || lineGrowth > MaxGrowthKb) {
    std::fprintf(stderr, "quillon_soak: memory grew\n");
    return 1;
  }
  return 0;
}

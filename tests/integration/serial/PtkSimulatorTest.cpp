// The receiver side end to end: the receiver simulator on a pseudo-terminal, opened by the
// termios serial device, driven by the protocol code over the poll event loop.

#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "SimulatorProcess.h"
#include "core/receiver/CaptureFile.h"
#include "core/receiver/PtkLineDecoder.h"
#include "core/receiver/PtkProtocol.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/PollEventLoop.h"
#include "platform/linux/TermiosSerialDevice.h"
#include "quillon-ptk-sim/LineForm.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

const fs::path Captures = fs::path(QUILLON_SOURCE_DIR) / "samples" / "ir-captures";

struct Recorder : ReceiverView, KeyDispatcher {
  void ShowHint(const std::string& text) override { Hints.push_back(text); }
  void Log(const std::string& text) override { Logs.push_back(text); }
  void KeyDispatch(const std::string& code, bool) override {
    if (!code.empty()) Codes.push_back(code);
  }
  bool Logged(const std::string& part) const {
    return std::any_of(Logs.begin(), Logs.end(),
                       [&](const std::string& l) { return l.find(part) != std::string::npos; });
  }
  std::vector<std::string> Hints;
  std::vector<std::string> Logs;
  std::vector<std::string> Codes;
};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The first `count` records of a capture file, in its own format.
std::string FirstRecords(const std::string& remote, std::size_t count) {
  std::istringstream in(ReadText(Captures / (remote + ".irc")));
  std::string text;
  std::size_t records = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("# remote=") && ++records > count) break;
    text += line + "\n";
  }
  return text;
}

// The codes the program's decoder gives for the lines the simulator makes of `presses`, runs
// of one code counted once.
std::vector<std::string> ExpectedCodes(const std::string& presses, std::uint8_t receiverT) {
  std::vector<std::string> codes;
  const auto records = ParseBursts(presses);
  EXPECT_TRUE(records) << records.ErrorMessage();
  for (const CaptureRecord& record : records.Value()) {
    RepeatAccumulator repeats;
    for (const ptksim::TimedLine& line : ptksim::EncodePress(record.Durations, receiverT)) {
      const std::string text = line.Bytes.substr(0, line.Bytes.size() - 2);
      const std::string code = DecodeKeyLine(text, LineVariant::Keys, repeats, {}).Code;
      if (!code.empty() && (codes.empty() || codes.back() != code)) codes.push_back(code);
    }
  }
  return codes;
}

// The threshold byte of the first frame line of the first press, as the receiver-ready check
// reads it.
std::uint8_t ThresholdOf(const std::string& presses) {
  const auto records = ParseBursts(presses);
  EXPECT_TRUE(records && !records.Value().empty());
  for (const ptksim::TimedLine& line :
       ptksim::EncodePress(records.Value().front().Durations, MinReceiverT)) {
    RepeatAccumulator repeats;
    const std::string text = line.Bytes.substr(0, line.Bytes.size() - 2);
    if (text.size() >= 6) return DecodeKeyLine(text, LineVariant::Measure, repeats, {}).Threshold;
  }
  return 0;
}

std::vector<std::string> WithoutRuns(const std::vector<std::string>& codes) {
  std::vector<std::string> once;
  for (const std::string& code : codes) {
    if (once.empty() || once.back() != code) once.push_back(code);
  }
  return once;
}

struct SimulatorFixture : ::testing::Test {
  SimulatorFixture() {
    char pattern[] = "/tmp/quillon-serial-XXXXXX";
    Folder = mkdtemp(pattern);
    BurstConsumers consumers;
    consumers.Dispatcher = &Seen;
    Protocol.SetConsumers(consumers, {});
  }
  ~SimulatorFixture() override {
    Protocol.ClosePort();
    Simulator.Stop(SIGTERM, milliseconds(2000));
    std::error_code ignored;
    fs::remove_all(Folder, ignored);
  }

  // Starts the simulator and opens its device; the receiver identifies itself.
  void StartSimulator(std::vector<std::string> options) {
    options.insert(options.begin(), QUILLON_PTK_SIM);
    ASSERT_TRUE(Simulator.Start(options, Folder / "simulator.log"));
    const auto path = Simulator.ReadLine(milliseconds(5000));
    ASSERT_TRUE(path.has_value()) << "the simulator printed no device";
    DevicePath = *path;
    ASSERT_TRUE(Protocol.OpenPort(DevicePath, 9));
    ASSERT_TRUE(PumpUntil([&] { return Pipeline.PtkFound; }, 5000));
    EXPECT_EQ(Protocol.ReceiverVersion, "IR Receiver PTK1.0");
  }

  // Runs the loop until `done` holds, for at most `limitMs`.
  bool PumpUntil(const std::function<bool()>& done, std::uint32_t limitMs) {
    const std::uint32_t deadline = Clock.TickCount() + limitMs;
    while (!done() && !platform::TickReached(Clock.TickCount(), deadline)) {
      Loop.RunUntil(Clock.TickCount() + 10);
    }
    return done();
  }

  bool SimulatorLogged(const std::string& part, std::uint32_t limitMs) {
    return PumpUntil(
        [&] { return ReadText(Folder / "simulator.log").find(part) != std::string::npos; },
        limitMs);
  }

  fs::path Folder;
  platform::LinuxClock Clock;
  platform::PollEventLoop Loop{Clock};
  platform::TermiosSerialDevice Device{Loop, Clock};
  ReceiveSettings Settings;
  LearnedTimings Timings;
  DecodingLimits Limits;
  ReceivePipeline Pipeline{Loop, Settings, Timings, Limits};
  PulseCapture Capture{Pipeline, Device};
  std::unique_ptr<RemoteData> Remote = NewRemoteData();
  Recorder Seen;
  PtkOptions Options;
  PtkProtocol Protocol{Pipeline, Capture, Device, Loop, Clock, *Remote, Seen, Options};
  test::SimulatorProcess Simulator;
  std::string DevicePath;
};

TEST_F(SimulatorFixture, StartsTheReceiverAndDecodesRecordedPresses) {
  const fs::path link = Folder / "ttyPTK";
  StartSimulator({"--presses", "-", "--gap", "250", "--link", link.string()});
  EXPECT_EQ(fs::read_symlink(link), DevicePath);

  ASSERT_TRUE(Protocol.ReceiverStartUp(MinReceiverT));
  EXPECT_EQ(Seen.Hints.back(), "START receiver");
  Pipeline.ReceiveEnabled = true;

  const std::string presses = ReadText(Captures / "fz-TVs-Vizio-Vizio_VX32L.irc") +
                              FirstRecords("fz-Projectors-NEC-NEC_RU_M124", 3);
  const std::vector<std::string> expected = ExpectedCodes(presses, MinReceiverT);
  ASSERT_EQ(expected.size(), 9U);
  Simulator.Send(presses);
  ASSERT_TRUE(PumpUntil([&] { return WithoutRuns(Seen.Codes).size() >= expected.size(); }, 30000))
      << WithoutRuns(Seen.Codes).size() << " of " << expected.size();
  EXPECT_EQ(WithoutRuns(Seen.Codes), expected);

  // Tuned as the receiver-ready check tunes it, from the threshold of button 1's line: the
  // receiver cuts frames at its own level, and the codes stay.
  const std::string vizio = ReadText(Captures / "fz-TVs-Vizio-Vizio_VX32L.irc");
  const std::uint8_t tuned = ClampReceiverT(ThresholdOf(vizio) + 10);
  ASSERT_GE(tuned, ptksim::FirstValue);
  ASSERT_TRUE(Protocol.ReceiverStartUp(tuned));
  EXPECT_TRUE(SimulatorLogged(std::string("command RX>T") + static_cast<char>(tuned), 2000));
  Seen.Codes.clear();
  Simulator.Send(vizio);
  const std::vector<std::string> again = ExpectedCodes(vizio, tuned);
  ASSERT_TRUE(PumpUntil([&] { return WithoutRuns(Seen.Codes).size() >= again.size(); }, 30000));
  EXPECT_EQ(WithoutRuns(Seen.Codes), again);
  EXPECT_EQ(again, std::vector<std::string>(expected.begin(), expected.begin() + 6));

  Protocol.ClosePort();
  const auto status = Simulator.Stop(SIGTERM, milliseconds(5000));
  ASSERT_TRUE(status.has_value());
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST_F(SimulatorFixture, AnErrorReportIsAnsweredWithTheNewTData) {
  StartSimulator({"--error-report"});
  ASSERT_TRUE(Protocol.ReceiverStartUp(MinReceiverT));
  ASSERT_TRUE(
      PumpUntil([&] { return Seen.Logged("SEND NEW T") && !Protocol.AwaitingNewOk; }, 5000));
  EXPECT_FALSE(Protocol.ErrorMode);
  // The report's levels (200 down to 40) give the byte 60.
  EXPECT_TRUE(SimulatorLogged("command PTK<X", 2000));
}

TEST_F(SimulatorFixture, ASimulatorKilledMidRunIsReportedAndTheProgramKeepsRunning) {
  StartSimulator({"--presses", "-"});
  ASSERT_TRUE(Protocol.ReceiverStartUp(MinReceiverT));
  Pipeline.ReceiveEnabled = true;
  Simulator.Send(FirstRecords("fz-TVs-Vizio-Vizio_VX32L", 1));
  ASSERT_TRUE(PumpUntil([&] { return !Seen.Codes.empty(); }, 10000));

  const auto status = Simulator.Stop(SIGKILL, milliseconds(5000));
  ASSERT_TRUE(status.has_value());
  EXPECT_TRUE(WIFSIGNALED(*status));
  ASSERT_TRUE(PumpUntil([&] { return Seen.Logged("is gone"); }, 5000));
  EXPECT_TRUE(Seen.Logged("Serial port: "));

  // The loop still runs its timers, and the port can be closed and found missing.
  bool ticked = false;
  const auto timer = Loop.CreateTimer([&] { ticked = true; });
  timer->SetInterval(20);
  timer->Enable();
  EXPECT_TRUE(PumpUntil([&] { return ticked; }, 2000));
  Protocol.ClosePort();
  EXPECT_FALSE(Protocol.OpenPort(DevicePath, 9));
  EXPECT_FALSE(Protocol.StopReceiver());
}

}  // namespace
}  // namespace quillon

#include "core/receiver/ReceiverDiscovery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/FakeDesktopSystem.h"
#include "platform/fake/FakeEventLoop.h"
#include "platform/fake/FakeSerialDevice.h"
#include "platform/fake/FakeSerialPorts.h"

namespace quillon {
namespace {

using platform::PortStatus;

// Records what the search shows, in one list, with the clock in milliseconds where it matters.
struct Screen : DiscoveryView, MessageBoxes {
  void ShowHint(const std::string& text) override { Hints.push_back(text); }
  void Log(const std::string& text) override { Logs.push_back(text); }
  void ShowSelectedPort(std::int32_t port) override { Selected.push_back(port); }
  void SetConfigurationEnabled(bool enabled) override {
    Configuration.push_back(enabled ? "enabled" : "disabled");
  }
  void PtkReceiverInUse() override { PtkInUse = true; }
  MessageAnswer Show(const MessageBoxContent& box) override {
    Messages.push_back(box.Text);
    return MessageAnswer::Ok;
  }
  std::vector<std::string> Hints;
  std::vector<std::string> Logs;
  std::vector<std::int32_t> Selected;
  std::vector<std::string> Configuration;
  std::vector<std::string> Messages;
  bool PtkInUse = false;
};

// Four ports (COM2 taken by another program), one device that a receiver may sit behind.
struct DiscoveryBench {
  DiscoveryBench() {
    Clock.AdvanceTo(platform::CounterTicksPerSecond);
    Port.OnPortOpen = [this] { Discovery.PortOpened(); };
  }

  // A receiver on `path` that identifies itself on reset and, when `starts`, starts.
  void ReceiverAt(const std::string& path, bool starts) {
    Device.AnsweringPath = path;
    Device.Answer("RX>Rt", "RX>Rt\r\nIR Receiver PTK1.0\r\n");
    if (!starts) return;
    Device.Answer("RX>Sp", "RX>Sp\r\nNewRX-S,p\r\n");
    for (char t = ' '; t < 127; ++t) {
      Device.Answer(std::string("RX>T") + t, std::string("RX>T") + t + "\r\nNewRX-T" + t + "\r\n");
    }
    Device.Answer("RX>St", "RX>St\r\nNewRX-S,t\r\n");
  }

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  platform::FakeSerialDevice Device{Loop, Clock};
  platform::FakeSerialPorts Ports{{{"/dev/ttyS0", PortStatus::Free},
                                   {"/dev/ttyS1", PortStatus::Busy},
                                   {"/dev/pts/4", PortStatus::Free},
                                   {"/dev/pts/5", PortStatus::Absent}}};
  platform::EffectLog Effects;
  platform::FakeSystemControl System{Effects};
  ReceiveSettings Settings;
  LearnedTimings Timings;
  DecodingLimits Limits;
  ReceivePipeline Pipeline{Loop, Settings, Timings, Limits};
  PulseCapture Capture{Pipeline, Device};
  std::unique_ptr<RemoteData> Remote = NewRemoteData();
  Screen Seen;
  PtkOptions ProtocolOptions;
  PtkProtocol Protocol{Pipeline, Capture, Device, Loop, Clock, *Remote, Seen, ProtocolOptions};
  AfComPort Port{Ports, Protocol};
  DiscoveryOptions Options;
  ReceiverDiscovery Discovery{
      {Pipeline, Protocol, Port, Ports, System, Loop, Clock, *Remote, Seen, Seen}, Options};
};

struct ReceiverDiscoveryTest : ::testing::Test, DiscoveryBench {};

TEST(HighestFreePort, CountsDownFromTheTopOfThePortTable) {
  struct Case {
    std::vector<PortStatus> Statuses;
    std::int32_t Expected;
  };
  const std::vector<Case> cases = {
      {{PortStatus::Free, PortStatus::Free, PortStatus::Busy, PortStatus::Absent}, 2},
      {{PortStatus::Busy, PortStatus::Absent}, 0},
      {{PortStatus::Free}, 1},
      {{}, 0},
  };
  for (const Case& c : cases) {
    std::vector<platform::FakeSerialPorts::Port> table;
    for (const PortStatus status : c.Statuses) table.push_back({"/dev/pts/9", status});
    const platform::FakeSerialPorts ports(table);
    EXPECT_EQ(HighestFreePort(ports), c.Expected);
  }
}

TEST_F(ReceiverDiscoveryTest, TheSearchStopsAtTheFirstPortWhereAReceiverIdentifiesItself) {
  ReceiverAt("/dev/pts/4", true);
  EXPECT_EQ(Discovery.PortSearch(4), 3);
  EXPECT_TRUE(Pipeline.PtkFound);
  EXPECT_EQ(Port.ComNumber(), 3);
  EXPECT_TRUE(Port.IsOpen());
  // COM2 is taken and never opened; every port opened is reset so that a receiver answers.
  EXPECT_EQ(Device.Opens(), (std::vector<std::string>{"/dev/ttyS0", "/dev/pts/4"}));
  EXPECT_EQ(Device.Written(), "RX>RtRX>Rt");
  EXPECT_EQ(Ports.Probes, (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_EQ(Seen.Hints, (std::vector<std::string>{
                            "Search for \"PTK/PTW receiver\" at COM1",
                            "Search for \"PTK/PTW receiver\" at COM1",
                            "Search for \"PTK/PTW receiver\" at COM2",
                            "Search for \"PTK/PTW receiver\" at COM3",
                        }));
  EXPECT_EQ(Seen.Configuration,
            (std::vector<std::string>{"disabled", "enabled", "disabled", "enabled"}));
  EXPECT_EQ(Protocol.ReceiverVersion, "IR Receiver PTK1.0");
}

TEST_F(ReceiverDiscoveryTest, WithoutAnswerThePortSelectedBeforeIsOpenedAgain) {
  ASSERT_TRUE(Port.SetComNumber(3));
  ASSERT_TRUE(Port.Open());
  const std::int64_t start = Clock.Counter();
  EXPECT_EQ(Discovery.PortSearch(4), 0);
  EXPECT_FALSE(Pipeline.PtkFound);
  // COM3 is this program's own port: selected afresh like the others, not skipped as taken.
  EXPECT_EQ(Device.Opens(),
            (std::vector<std::string>{"/dev/pts/4", "/dev/ttyS0", "/dev/pts/4", "/dev/pts/4"}));
  EXPECT_EQ(Seen.Hints.back(), "PTK/PTW receiver not found");
  EXPECT_EQ(Seen.Selected, (std::vector<std::int32_t>{0, 3}));
  EXPECT_EQ(Port.ComNumber(), 3);
  EXPECT_TRUE(Port.IsOpen());
  // Each port probed: 20 ms; each port opened: the reset (five bytes, 10 ms each) and 500 ms
  // for it to take effect; each port searched: 500 ms more for the receiver to answer.
  EXPECT_EQ((Clock.Counter() - start) / platform::CounterTicksPerMillisecond,
            4 * 20 + 3 * (5 * 10 + 500) + 2 * 500);
}

TEST_F(ReceiverDiscoveryTest, APortThatWillNotOpenIsReportedAndTheSearchGoesOn) {
  ReceiverAt("/dev/pts/4", true);
  Device.FailOpens(1, "cannot open /dev/ttyS0: Permission denied");
  EXPECT_EQ(Discovery.PortSearch(4), 3);
  EXPECT_EQ(Seen.Messages,
            (std::vector<std::string>{"Can't open device COM\r\nIf you have \"PTW receiver\",turn "
                                      "out receiver and include again. Restart Quillon"}));
  EXPECT_EQ(Seen.Logs.front(), "cannot open /dev/ttyS0: Permission denied");
  EXPECT_TRUE(CantOpenDeviceText(Bulgarian, 12).starts_with("COM12 не може да бъде отворен!"));
}

TEST_F(ReceiverDiscoveryTest, TheProgramStartChoosesTheReceiverAndAlwaysEndsReceiving) {
  struct Case {
    const char* Name;
    bool LookForPTK;
    bool ReceiverStarts;  // a receiver on COM3 identifies itself; does it start?
    bool Warn;
    double ClockMHz;
    ReceiverInUse Expected;
    std::vector<std::string> Messages;
  };
  const std::string slow =
      "CPU speed (800.000000 MHz)  too low!\r\nMinimum CPU speed for \"IR receiver\" must be "
      "1000 MHz.\r\nQuillon possibly will not work correctly.\r\nYou can defy that alarm from "
      "\"Options->CPU low speed warning\"";
  const std::string failed = "Error: Unable initialize receiver!\r\nRestart Quillon.";
  const std::vector<Case> cases = {
      {"found and started: no processor check", true, true, true, 800, ReceiverInUse::Ptk, {}},
      {"will not start: goes on", true, false, true, 800, ReceiverInUse::PtkStartFailed, {failed}},
      {"no search, slow processor", false, true, true, 800, ReceiverInUse::Pts, {slow}},
      {"no search, the threshold is fast enough", false, true, true, 990, ReceiverInUse::Pts, {}},
      {"warning switched off", false, true, false, 500, ReceiverInUse::Pts, {}},
  };
  for (const Case& c : cases) {
    DiscoveryBench bench;
    bench.ReceiverAt("/dev/pts/4", c.ReceiverStarts);
    bench.Options.LookForPTK = c.LookForPTK;
    bench.Options.CPUSpeedWarning = c.Warn;
    bench.System.ClockMHz = c.ClockMHz;
    bench.Remote->ReceiverT = 20;
    EXPECT_EQ(bench.Discovery.StartAtProgramStart(4), c.Expected) << c.Name;
    EXPECT_EQ(bench.Seen.Messages, c.Messages) << c.Name;
    EXPECT_EQ(bench.Seen.PtkInUse, c.Expected == ReceiverInUse::Ptk) << c.Name;
    EXPECT_TRUE(bench.Pipeline.ReceiveEnabled) << c.Name;
    EXPECT_EQ(bench.Pipeline.ReceiveMode, ReceiveModeKind::Execute) << c.Name;
    EXPECT_EQ(bench.Remote->ReceiverT, ' ') << c.Name;  // a stored T below 32 is raised
  }
}

TEST_F(ReceiverDiscoveryTest, AReceiverIsResetOnOpeningOnlyWhileNoneIsKnown) {
  ASSERT_TRUE(Port.SetComNumber(1));
  Pipeline.PtkFound = true;
  ASSERT_TRUE(Port.Open());
  EXPECT_EQ(Device.Written(), "");
  Pipeline.PtkFound = false;
  ASSERT_TRUE(Port.SetComNumber(3));  // open: closed, renumbered, opened again
  EXPECT_EQ(Device.Opens(), (std::vector<std::string>{"/dev/ttyS0", "/dev/pts/4"}));
  EXPECT_EQ(Device.Written(), "RX>Rt");
  EXPECT_FALSE(Port.SetComNumber(7) ? Port.Open() : Result<Done>(Error{"not renumbered"}));
}

TEST_F(ReceiverDiscoveryTest, RestartAndTheReceiverLabel) {
  EXPECT_FALSE(Discovery.Restart());  // no receiver in use: nothing to restart
  EXPECT_TRUE(Seen.Hints.empty());

  EXPECT_FALSE(Discovery.StartFromLabel(4));  // nobody answers the search
  EXPECT_EQ(Seen.Messages, (std::vector<std::string>{"Receiver not found!"}));

  ReceiverAt("/dev/pts/4", true);
  Remote->ReceiverT = 'Z';
  EXPECT_TRUE(Discovery.StartFromLabel(4));
  EXPECT_EQ(Port.ComNumber(), 3);
  EXPECT_TRUE(Seen.PtkInUse);
  EXPECT_EQ(Remote->ReceiverT, 'Z');

  Seen.Hints.clear();
  EXPECT_TRUE(Discovery.Restart());
  EXPECT_EQ(Seen.Hints.front(), "Restarting...");
  EXPECT_NE(std::find(Seen.Logs.begin(), Seen.Logs.end(), "Restart receiver..."), Seen.Logs.end());
  EXPECT_EQ(Remote->ReceiverT, ' ');
}

TEST(CpuSpeedWarning, PrintsTheClockAsCDoesInBothLanguages) {
  EXPECT_EQ(CpuSpeedWarningText(English, 812.5).substr(0, 37),
            "CPU speed (812.500000 MHz)  too low!\r");
  EXPECT_EQ(CpuSpeedWarningText(Bulgarian, 812.5).find("(812.500000 MHz)  е много ниска!"),
            std::string("Честотата на която работи процесора ").size());
}

}  // namespace
}  // namespace quillon

#include "core/receiver/PtkProtocol.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/common/WaitPumping.h"
#include "core/receiver/PtkReplies.h"
#include "platform/fake/FakeEventLoop.h"
#include "platform/fake/FakeSerialDevice.h"

namespace quillon {
namespace {

using platform::CounterTicksPerMillisecond;

// A key-data line: the leading character, then byte values.
std::string KeyLineOf(std::initializer_list<int> values) {
  std::string line(1, ':');
  for (const int v : values) line += static_cast<char>(v);
  return line;
}

const std::string KeyA = KeyLineOf({127, 82, 43, 54, 43, 43, 43, 54});  // code 010001
const std::string KeyB = KeyLineOf({60, 45, 60, 45, 45, 60});           // code 101001

// Records what reaches the view and each consumer, in one list.
struct Recorder : ReceiverView,
                  KeyDispatcher,
                  ButtonCaptureConsumer,
                  RepeatCodeConsumer,
                  SignalLengthConsumer,
                  StartLearningTrigger,
                  ReceiverReadyConsumer,
                  HoldLineConsumer {
  void ShowHint(const std::string& text) override { Hints.push_back(text); }
  void Log(const std::string& text) override { Logs.push_back(text); }
  void KeyDispatch(const std::string& code, bool repeatFrame) override {
    Calls.push_back("dispatch " + code + (repeatFrame ? "repeat" : ""));
    if (DuringDispatch) DuringDispatch();
  }
  void ButtonCapture(const std::string& code, bool repeatFrame) override {
    Calls.push_back("capture " + code + (repeatFrame ? "repeat" : ""));
  }
  void RepeatCodeAnalysis(const std::string& code) override { Calls.push_back("repeat " + code); }
  void SignalLengthAnalysis(const std::string& code,
                            const std::optional<FrameSample>& sample) override {
    Calls.push_back("signal " + code + (sample ? " sample" : ""));
  }
  void EdgeWhileReceptionOff() override { Calls.push_back("start learning"); }
  void ReceiverReadyCheck(const std::string& code, std::uint8_t threshold) override {
    Calls.push_back("ready " + code + " " + std::to_string(threshold));
  }
  void HoldLineAnalysis(const KeyLine& line) override {
    Calls.push_back("hold " + line.Decoded.Code + " " + std::to_string(line.Text.size()));
  }

  std::vector<std::string> Hints;
  std::vector<std::string> Logs;
  std::vector<std::string> Calls;
  std::function<void()> DuringDispatch;
};

struct ProtocolBench {
  ProtocolBench() {
    Clock.AdvanceTo(platform::CounterTicksPerSecond);
    Pipeline.ReceiveEnabled = true;
    const BurstConsumers consumers{&Seen, &Seen, &Seen, &Seen, nullptr, &Seen};
    Protocol.SetConsumers(consumers, {&Seen, &Seen});
    EXPECT_TRUE(Protocol.OpenPort("/dev/pts/7", 3));
  }

  // `text` arrives 1 ms from now; the loop runs 5 ms.
  void Receive(const std::string& text) {
    Device.ArriveAfter(1, text);
    Loop.AdvanceBy(5);
  }
  void ReceiveLine(const std::string& line) { Receive(line + "\r\n"); }

  // A receiver that answers the start-up commands.
  void AnswerStartUp(char t) {
    Device.Answer("RX>Sp", "RX>Sp\r\nNewRX-S,p\r\n");
    Device.Answer(std::string("RX>T") + t, std::string("RX>T") + t + "\r\nNewRX-T" + t + "\r\n");
    Device.Answer("RX>St", "RX>St\r\nNewRX-S,t\r\n");
  }

  std::int64_t ElapsedMs(std::int64_t since) const {
    return (Clock.Counter() - since) / CounterTicksPerMillisecond;
  }

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  platform::FakeSerialDevice Device{Loop, Clock};
  ReceiveSettings Settings;
  LearnedTimings Timings;
  DecodingLimits Limits;
  ReceivePipeline Pipeline{Loop, Settings, Timings, Limits};
  PulseCapture Capture{Pipeline, Device};
  std::unique_ptr<RemoteData> Remote = NewRemoteData();
  Recorder Seen;
  PtkOptions Options;
  PtkProtocol Protocol{Pipeline, Capture, Device, Loop, Clock, *Remote, Seen, Options};
};

struct PtkProtocolTest : ::testing::Test, ProtocolBench {};

// --- The reply table ---------------------------------------------------------------------

TEST(PtkReplyTable, EveryReplyHasItsEffectAndItsTexts) {
  const struct {
    std::string Line;
    std::vector<std::string> Logs;
    std::vector<std::string> Hints;
    std::string LastReply;
    bool Found = false;  // an identification line: the receiver is found, its version kept
  } cases[] = {
      {"NewRX-D\x04", {"New D = 130", "Delay = 130"}, {}, ""},
      {"NewRX-d\x1b", {"New D = 100", "Delay = 100"}, {}, ""},
      {"NewRX-TA", {"New T = 65", "Receiver... Ok"}, {}, "New T"},
      {"NewRX-V,0", {"Get My Version"}, {}, ""},
      {"NewRX-S,p", {"STOP", "STOP Receiver"}, {}, "STOP"},
      {"NewRX-S,t", {"START", "START Receiver"}, {}, "START"},
      {"NewRX-N,o", {"Get Ser.Num"}, {}, ""},
      {"NewRX-Q", {"NEW RX ... Ok"}, {}, ""},
      {"Ser.No:0042", {"Ser.No:0042"}, {}, ""},
      {"RX>TA", {"Initializing the receiver"}, {}, "RX>TA"},
      {"RX>V0", {"Get receiver version..."}, {}, "RX>V0"},
      {"RX>St", {"Starting receiver..."}, {}, "RX>St"},
      {"RX>Sp", {"Stoping receiver..."}, {}, "RX>Sp"},
      {"RX>Rt", {}, {}, "RX>Rt"},
      {"IR Receiver PTK1.0", {"Receiver Version: IR Receiver PTK1.0"}, {}, "", true},
      {"IR Receiver PTW1.0 ...Ok", {}, {"Found...  IR Receiver PTW1.0 at COM3"}, "", true},
      {"Unknown Command", {"Unknown Command"}, {}, ""},
      {"ERROR", {"ERROR"}, {}, ""},
      {"New-Ok", {}, {}, ""},
  };
  for (const auto& c : cases) {
    ProtocolBench bench;
    bench.ReceiveLine(c.Line);
    EXPECT_EQ(bench.Seen.Logs, c.Logs) << c.Line;
    EXPECT_EQ(bench.Seen.Hints, c.Hints) << c.Line;
    EXPECT_EQ(bench.Protocol.LastReply, c.LastReply) << c.Line;
    EXPECT_TRUE(bench.Seen.Calls.empty()) << c.Line << ": a reply is no key data";
    EXPECT_FALSE(bench.Pipeline.LineHoldOff) << c.Line;
    EXPECT_EQ(bench.Pipeline.PtkFound, c.Found) << c.Line;
    EXPECT_EQ(bench.Protocol.ReceiverVersion, c.Found ? c.Line.substr(0, 18) : "") << c.Line;
  }
}

TEST_F(PtkProtocolTest, TextsFollowTheLanguageOfTheMoment) {
  ReceiveLine("NewRX-S,t");
  Options.Language = Bulgarian;
  ReceiveLine("NewRX-S,p");
  EXPECT_EQ(Seen.Logs,
            (std::vector<std::string>{"START", "START Receiver", "СТОП", "Приемникът е спрян"}));
}

TEST_F(PtkProtocolTest, NewOkEndsTheWaitForTheNewTDataOnly) {
  Protocol.AwaitingNewOk = true;
  ReceiveLine("New-Ok");
  EXPECT_FALSE(Protocol.AwaitingNewOk);
  ReceiveLine("New-Ok");  // nobody waits: ignored, and no key data either
  EXPECT_TRUE(Seen.Calls.empty());
}

TEST_F(PtkProtocolTest, PortProblemsAreLogged) {
  Device.ProblemAfter(1, "the serial device /dev/pts/7 is gone");
  Loop.AdvanceBy(5);
  EXPECT_EQ(Seen.Logs,
            (std::vector<std::string>{"Serial port: the serial device /dev/pts/7 is gone"}));
}

// --- Error reports -----------------------------------------------------------------------

TEST_F(PtkProtocolTest, AnErrorReportEndsWithTheNewTDataAndNewOk) {
  Device.Answer(std::string("PTK") + static_cast<char>(69) + "X", "New-Ok\r\n");
  // As byte values the report is 100 90 80; its line ends are no part of it (with them the
  // smallest value would be 10, and the byte 30).
  Receive("ERROR\r\nd\r\nZP\r\nT=A\r\n");
  Loop.AdvanceBy(3000);
  EXPECT_FALSE(Protocol.ErrorMode);
  EXPECT_FALSE(Protocol.AwaitingNewOk);
  EXPECT_EQ(Protocol.ErrorDump, "");
  EXPECT_EQ(Device.Written(), std::string("PTK") + static_cast<char>(69) + "X");
  const auto& writes = Device.Writes();
  for (std::size_t i = 1; i < writes.size(); ++i) {
    EXPECT_EQ(writes[i].Counter - writes[i - 1].Counter, 10 * CounterTicksPerMillisecond);
  }
  EXPECT_EQ(Seen.Logs, (std::vector<std::string>{"ERROR", "SEND NEW T"}));
}

TEST_F(PtkProtocolTest, ReportsEndingDuringAnExchangeAreAnsweredAfterItTheLatestOnly) {
  // No "New-Ok" comes: each exchange lasts its whole wait. The reports' bytes: "d" (100) gives
  // 69 ("E"), "Z" (90) 59 and "P" (80) 49 ("1").
  Device.ArriveAfter(1, "ERROR\r\nd\r\nT=\r\n");
  Device.ArriveAfter(20, "ERROR\r\nZ\r\nT=\r\n");
  Device.ArriveAfter(40, "ERROR\r\nP\r\nT=\r\n");
  Loop.AdvanceBy(10'000);
  EXPECT_EQ(Device.Written(), "PTKEXPTK1X");
  EXPECT_EQ(Seen.Logs,
            (std::vector<std::string>{"ERROR", "SEND NEW T", "ERROR", "ERROR", "SEND NEW T"}));
  EXPECT_FALSE(Protocol.AwaitingNewOk);
}

TEST_F(PtkProtocolTest, AReceiverRepeatingItsErrorReportGetsOneExchangeAtATime) {
  // A report every 5 ms for 10 s: one exchange after the other, never one inside another.
  for (std::int64_t ms = 1; ms < 10'000; ms += 5) {
    Device.ArriveAt(Clock.Counter() + ms * CounterTicksPerMillisecond, "ERROR\r\nd\r\nT=\r\n");
  }
  Loop.AdvanceBy(15'000);
  const std::size_t exchanges = Device.Written().size() / 5;
  EXPECT_GE(exchanges, 4U);
  EXPECT_LE(exchanges, 6U);  // each waits about 2.4 s
  EXPECT_FALSE(Protocol.AwaitingNewOk);
}

TEST_F(PtkProtocolTest, AnErrorReportWhoseEndIsLostDoesNotSwallowKeysForEver) {
  const struct {
    const char* What;
    std::function<void(ProtocolBench&)> After;
  } cases[] = {
      {"a recognised reply ends it", [](ProtocolBench& b) { b.ReceiveLine("NewRX-S,t"); }},
      {"a time-out ends it", [](ProtocolBench& b) { b.Loop.AdvanceBy(1000); }},
      {"the cap ends it",
       [](ProtocolBench& b) {
         for (int i = 0; i < 100 && b.Protocol.ErrorMode; ++i) {
           b.ReceiveLine(std::string(60, 'x'));
           EXPECT_LE(b.Protocol.ErrorDump.size(), PtkProtocol::MaxErrorDump);
         }
       }},
  };
  for (const auto& c : cases) {
    ProtocolBench bench;
    bench.ReceiveLine("ERROR");
    bench.ReceiveLine(KeyA);  // a row of the report, no key data
    EXPECT_TRUE(bench.Seen.Calls.empty()) << c.What;
    EXPECT_EQ(bench.Protocol.ErrorDump, KeyA) << c.What;
    c.After(bench);
    EXPECT_FALSE(bench.Protocol.ErrorMode) << c.What;
    EXPECT_LE(bench.Protocol.ErrorDump.size(), PtkProtocol::MaxErrorDump) << c.What;
    EXPECT_NE(std::find(bench.Seen.Logs.begin(), bench.Seen.Logs.end(),
                        "Incomplete error report of the receiver ignored"),
              bench.Seen.Logs.end())
        << c.What;
    bench.ReceiveLine(KeyB);
    EXPECT_EQ(bench.Seen.Calls, (std::vector<std::string>{"dispatch 101001"})) << c.What;
    EXPECT_EQ(bench.Device.Written(), "") << c.What << ": no new T data without the report";
  }
}

// --- Line assembly -----------------------------------------------------------------------

TEST_F(PtkProtocolTest, ALineSplitAcrossReadsIsOneLine) {
  Options.KeysDelay = 300;
  Receive(KeyA.substr(0, 4));
  Receive(KeyA.substr(4) + "\r\n");
  EXPECT_EQ(Seen.Calls, (std::vector<std::string>{"dispatch 010001"}));
  EXPECT_EQ(Protocol.LineBuffer, "");
}

TEST_F(PtkProtocolTest, TheHoldOffDropsKeyLinesWithinTheKeyTimeButNeverRepliesTillAnEcho) {
  Options.KeysDelay = 300;
  ReceiveLine(KeyA);
  ReceiveLine("NewRX-S,t");
  ReceiveLine(KeyB);  // within 300 ms of KeyA
  Receive("NewRX-S,p\r\n" + KeyB + "\r\n");
  EXPECT_EQ(Seen.Calls, (std::vector<std::string>{"dispatch 010001"}));
  EXPECT_EQ(Protocol.LastReply, "STOP");
  EXPECT_TRUE(Protocol.KeyTimerRunning());
  Loop.AdvanceBy(300);  // the key timer ends the hold-off
  EXPECT_FALSE(Pipeline.LineHoldOff);
  EXPECT_FALSE(Protocol.KeyTimerRunning());
  ReceiveLine(KeyB);
  ReceiveLine("RX>St");  // an echo ends the hold-off KeyB began
  ReceiveLine(KeyA);
  EXPECT_EQ(Seen.Calls,
            (std::vector<std::string>{"dispatch 010001", "dispatch 101001", "dispatch 010001"}));
}

TEST(PtkLineHoldOff, AppliesToTheFirstThreeReceiveModesOnly) {
  const struct {
    ReceiveModeKind Mode;
    std::size_t Handled;
  } cases[] = {
      {ReceiveModeKind::Execute, 1},
      {ReceiveModeKind::LearnButton, 1},
      {ReceiveModeKind::SignalLengthTest, 1},
      {ReceiveModeKind::HoldButtonTest, 3},
      {ReceiveModeKind::Pause, 3},
      {ReceiveModeKind::ReceiverReadyTest, 3},
  };
  for (const auto& c : cases) {
    ProtocolBench bench;
    bench.Options.KeysDelay = 100;
    bench.Pipeline.ReceiveMode = c.Mode;
    bench.Receive(KeyA + "\r\n" + KeyA + "\r\n");
    bench.ReceiveLine(KeyA);
    EXPECT_EQ(bench.Seen.Calls.size(), c.Handled) << static_cast<int>(c.Mode);
  }
}

TEST_F(PtkProtocolTest, LinesAreHandledOnceWhenAHandlerLetsTheLoopRun) {
  const std::string keyC = KeyLineOf({70, 45, 70, 45, 70, 45});
  bool first = true;
  Seen.DuringDispatch = [&] {
    if (!first) return;
    first = false;
    Device.ArriveAfter(5, keyC + "\r\n");
    WaitPumping(Loop, Clock, 20);
  };
  Receive(KeyA + "\r\n" + KeyB + "\r\n");
  Loop.AdvanceBy(50);
  EXPECT_EQ(Seen.Calls,
            (std::vector<std::string>{"dispatch 010001", "dispatch 101010", "dispatch 101001"}));
}

TEST_F(PtkProtocolTest, GarbageWithoutLineEndsAndOverlongLinesAreDroppedAndLogged) {
  Receive(std::string(400, 'x'));
  EXPECT_EQ(Protocol.LineBuffer.size(), 400U);
  Receive(std::string(200, 'x'));
  EXPECT_EQ(Protocol.LineBuffer, "");
  Receive(std::string(600, 'y') + "\r\n");
  ReceiveLine(KeyB);
  EXPECT_EQ(Seen.Logs,
            (std::vector<std::string>{"Receiver data without a line end dropped, bytes: 600",
                                      "Receiver data without a line end dropped, bytes: 600"}));
  EXPECT_EQ(Seen.Calls, (std::vector<std::string>{"dispatch 101001"}));
}

// --- Key data to the consumers of the receive mode ---------------------------------------

TEST(PtkKeyData, GoesToTheConsumerOfTheReceiveMode) {
  const struct {
    ReceiveModeKind Mode;
    std::string Expected;
  } cases[] = {
      {ReceiveModeKind::Execute, "dispatch 010001"},
      {ReceiveModeKind::LearnButton, "capture 010001"},
      {ReceiveModeKind::SignalLengthTest, "signal 010001"},
      {ReceiveModeKind::HoldButtonTest, "hold 010001 9"},
      {ReceiveModeKind::Pause, "ready 010001 82"},
      {ReceiveModeKind::ReceiverReadyTest, "hold 010001 9"},
  };
  for (const auto& c : cases) {
    ProtocolBench bench;
    bench.Pipeline.ReceiveMode = c.Mode;
    bench.ReceiveLine(KeyA);
    EXPECT_EQ(bench.Seen.Calls, (std::vector<std::string>{c.Expected}));
  }
}

TEST_F(PtkProtocolTest, WithReceptionOffAKeyLineOnlyOffersTheStartOfLearning) {
  Pipeline.ReceiveEnabled = false;
  Pipeline.EdgePhase = true;
  ReceiveLine(KeyA);
  EXPECT_FALSE(Pipeline.EdgePhase);
  EXPECT_EQ(Seen.Calls, (std::vector<std::string>{"start learning"}));
}

TEST_F(PtkProtocolTest, AHeldButtonRepeatsThroughItsRepeatFrame) {
  Remote->Repeat.Valid = 1;
  Remote->Repeat.RepeatTop = 3;
  Remote->Repeat.RepeatFrame[0] = 151;
  Remote->Repeat.RepeatFrame[1] = 64;
  Remote->Repeat.RepeatFrame[2] = 45;
  const std::string repeat = {static_cast<char>(151), static_cast<char>(64), static_cast<char>(45)};
  for (const std::string& line : {KeyA, repeat, repeat, repeat, repeat}) {
    ReceiveLine(line);
    Loop.AdvanceBy(100);
  }
  EXPECT_EQ(Seen.Calls,
            (std::vector<std::string>{"dispatch 010001", "dispatch ", "dispatch 151 64 45 repeat",
                                      "dispatch ", "dispatch 151 64 45 repeat"}));
}

TEST_F(PtkProtocolTest, DataArrivalsAreTimedOnceTheReceiverIsFound) {
  ReceiveLine("IR Receiver PTK1.0");
  Receive("a");
  Loop.AdvanceBy(2);
  Receive("b");
  EXPECT_EQ(Pipeline.PulseCount, 1);
  EXPECT_EQ(Pipeline.PulseBuffer[0], 7 * CounterTicksPerMillisecond);
}

// --- Commands and the start-up -----------------------------------------------------------

TEST_F(PtkProtocolTest, CommandsGoOneByteAtATimeWithTenMillisecondPauses) {
  const std::int64_t start = Clock.Counter();
  Protocol.ResetReceiver();
  Protocol.AskSerialNumber();
  EXPECT_EQ(Device.Written(), "RX>RtRX>No");
  const auto& writes = Device.Writes();
  for (std::size_t i = 0; i < writes.size(); ++i) {
    EXPECT_EQ(writes[i].Counter - start, std::int64_t(i) * 10 * CounterTicksPerMillisecond);
  }
  EXPECT_EQ(ElapsedMs(start), 100);
}

TEST(PtkCommand, WaitsSixtyPassesThenHalfASecondForItsAnswer) {
  const struct {
    std::int32_t AnswerAfterMs;  // from the last byte; -1: never
    bool Answered;
    std::int64_t ElapsedMs;
  } cases[] = {
      {1, true, 50 + 1 + 500},        // found in the first pass
      {2300, true, 50 + 1830 + 500},  // within the half second after the passes
      {2400, false, 50 + 1830 + 500},
      {-1, false, 50 + 1830 + 500},
  };
  for (const auto& c : cases) {
    ProtocolBench bench;
    if (c.AnswerAfterMs >= 0) {
      bench.Device.Answer("RX>St", "NewRX-S,t\r\n", static_cast<std::uint32_t>(c.AnswerAfterMs));
    }
    const std::int64_t start = bench.Clock.Counter();
    EXPECT_EQ(bench.Protocol.StartReceiver(), c.Answered) << c.AnswerAfterMs;
    EXPECT_EQ(bench.ElapsedMs(start), c.ElapsedMs) << c.AnswerAfterMs;
  }
}

TEST_F(PtkProtocolTest, AKeywordLeftFromAnEarlierCommandIsNoAnswer) {
  Protocol.LastReply = "START";
  EXPECT_FALSE(Protocol.StartReceiver());
}

TEST_F(PtkProtocolTest, TheStartUpStopsTunesAndStartsTheReceiver) {
  AnswerStartUp('A');
  EXPECT_TRUE(Protocol.ReceiverStartUp('A'));
  EXPECT_TRUE(Pipeline.PtkFound);
  EXPECT_EQ(Device.Written(), "RX>SpRX>TARX>St");
  EXPECT_EQ(Seen.Hints, (std::vector<std::string>{"Initializing... Please wait", "STOP receiver",
                                                  "Receiver... OK.", "START receiver"}));
  EXPECT_EQ(Remote->ReceiverT, 'A');
  EXPECT_EQ(Protocol.ReceiverT, 'A');
  EXPECT_EQ(Protocol.LastReply, "START");
  EXPECT_EQ(Device.Opens().size(), 1U);
}

TEST_F(PtkProtocolTest, TheStartUpSucceedsWhileKeyLinesAreHeldOff) {
  Options.KeysDelay = 300;
  Device.Answer("RX>Sp", "NewRX-S,p\r\n" + KeyA + "\r\n");  // no echo ends the hold-off
  Device.Answer("RX>TA", "NewRX-TA\r\n");
  Device.Answer("RX>St", "NewRX-S,t\r\n");
  ReceiveLine(KeyB);
  EXPECT_TRUE(Protocol.ReceiverStartUp('A'));
  // The replies came within the key time of KeyB, and so did KeyA, which is dropped.
  EXPECT_EQ(Seen.Calls, (std::vector<std::string>{"dispatch 101001"}));
}

TEST_F(PtkProtocolTest, AFailedTuningReopensThePortResetsTheReceiverAndTriesAgain) {
  Device.Answer("RX>Sp", "RX>Sp\r\nNewRX-S,p\r\n");
  Device.Answer("RX>TA", "RX>TA\r\n", 2, 1);  // echoed, never confirmed
  Device.Answer("RX>Rt", "RX>Rt\r\nIR Receiver PTK1.0\r\n");
  Device.Answer("RX>TA", "RX>TA\r\nNewRX-TA\r\n");
  Device.Answer("RX>St", "RX>St\r\nNewRX-S,t\r\n");
  EXPECT_TRUE(Protocol.ReceiverStartUp('A'));
  EXPECT_EQ(Device.Written(), "RX>SpRX>TARX>RtRX>TARX>St");
  EXPECT_EQ(Device.Opens(), (std::vector<std::string>{"/dev/pts/7", "/dev/pts/7"}));
  EXPECT_EQ(Device.Closes(), 1);
  EXPECT_EQ(Seen.Hints, (std::vector<std::string>{"Initializing... Please wait", "STOP receiver",
                                                  "Error occuring... Restarting...",
                                                  "Receiver... OK.", "START receiver"}));
  EXPECT_TRUE(Pipeline.PtkFound);
}

TEST_F(PtkProtocolTest, ASilentReceiverIsNotFound) {
  Pipeline.PtkFound = true;
  EXPECT_FALSE(Protocol.ReceiverStartUp('A'));
  EXPECT_FALSE(Pipeline.PtkFound);
  EXPECT_EQ(Device.Written(), "RX>SpRX>TARX>RtRX>TARX>SpRX>TARX>RtRX>TA");
  EXPECT_EQ(Device.Opens().size(), 3U);
  EXPECT_EQ(Seen.Hints,
            (std::vector<std::string>{"Initializing... Please wait", "Error: STOP receiver",
                                      "Error occuring... Restarting...", "Error: STOP receiver",
                                      "Error occuring... Restarting...", "Receiver not found!"}));
}

TEST_F(PtkProtocolTest, AReceiverThatWillNotStartIsNotFound) {
  Device.Answer("RX>Sp", "RX>Sp\r\nNewRX-S,p\r\n");
  Device.Answer("RX>TA", "RX>TA\r\nNewRX-TA\r\n");
  Device.Answer("RX>St", "RX>St\r\n");
  EXPECT_FALSE(Protocol.ReceiverStartUp('A'));
  EXPECT_EQ(Device.Written(), "RX>SpRX>TARX>StRX>St");
  EXPECT_EQ(Seen.Hints, (std::vector<std::string>{"Initializing... Please wait", "STOP receiver",
                                                  "Receiver... OK.", "Error: START receiver",
                                                  "Receiver not found!"}));
  EXPECT_FALSE(Pipeline.PtkFound);
}

TEST_F(PtkProtocolTest, AReopenThatFailsIsLoggedAndTheStartUpGoesOn) {
  Device.FailOpens(1, "cannot open /dev/pts/7: No such file or directory");
  EXPECT_FALSE(Protocol.ReceiverStartUp('A'));
  EXPECT_EQ(Seen.Logs.front(), "Serial port: cannot open /dev/pts/7: No such file or directory");
}

TEST(PtkReceiverT, StaysAPrintableCharacter) {
  const struct {
    std::int32_t Asked;
    int Sent;
  } cases[] = {{0, 32}, {31, 32}, {32, 32}, {'A', 'A'}, {125, 125}, {126, 125}, {122 + 10, 125}};
  for (const auto& c : cases) {
    EXPECT_EQ(ClampReceiverT(c.Asked), c.Sent) << c.Asked;
    ProtocolBench bench;
    bench.AnswerStartUp(static_cast<char>(c.Sent));
    EXPECT_TRUE(bench.Protocol.ReceiverStartUp(static_cast<std::uint8_t>(std::min(c.Asked, 255))))
        << c.Asked;
    EXPECT_EQ(bench.Device.Written().substr(5, 5), std::string("RX>T") + static_cast<char>(c.Sent));
  }
}

}  // namespace
}  // namespace quillon

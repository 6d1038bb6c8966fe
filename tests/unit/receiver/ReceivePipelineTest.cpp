#include "core/receiver/ReceivePipeline.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/fake/FakeEventLoop.h"
#include "receiver/TrainBuilder.h"

namespace quillon {
namespace {

using platform::CounterTicksPerMillisecond;

constexpr std::int64_t Ms = CounterTicksPerMillisecond;
const std::string Bits = "00000000111111110100100010110111";

// Records what reaches each consumer.
struct Recorder : KeyDispatcher,
                  ButtonCaptureConsumer,
                  RepeatCodeConsumer,
                  SignalLengthConsumer,
                  RepeatFrameJudge,
                  StartLearningTrigger {
  void KeyDispatch(const std::string& code, bool repeatFrame) override {
    Calls.push_back("dispatch " + code + (repeatFrame ? " repeat" : ""));
    if (DuringDispatch) DuringDispatch();
  }
  void ButtonCapture(const std::string& code, bool repeatFrame) override {
    Calls.push_back("capture " + code + (repeatFrame ? " repeat" : ""));
  }
  void RepeatCodeAnalysis(const std::string& code) override { Calls.push_back("repeat " + code); }
  void SignalLengthAnalysis(const std::string& code,
                            const std::optional<FrameSample>& sample) override {
    Calls.push_back("signal " + code);
    Samples.push_back(sample);
  }
  bool RepeatFrameVerdict(const PulseTrain& train) override {
    TrainSizes.push_back(train.Size());
    return Verdict;
  }
  void EdgeWhileReceptionOff() override { ++OffEdges; }

  std::vector<std::string> Calls;
  std::vector<std::optional<FrameSample>> Samples;
  std::vector<std::int32_t> TrainSizes;
  bool Verdict = false;
  int OffEdges = 0;
  std::function<void()> DuringDispatch;
};

struct PipelineFixture : ::testing::Test {
  PipelineFixture() {
    Pipeline.SetConsumers({&Consumers, &Consumers, &Consumers, &Consumers, &Consumers, &Consumers});
    Pipeline.ReceiveEnabled = true;
    // The learned remote of the NEC-like burst below.
    Timings.StartPulse = 90000;
    Timings.FrameGap = 400000;
    Timings.MaxValue = 16900;
    Limits.MinFrameLength = 63;
    Limits.MaxFrameLength = 69;
  }

  // Delivers edges at the given counter readings, advancing virtual time to each first.
  void EdgesAt(const std::vector<std::int64_t>& times) {
    for (const std::int64_t t : times) {
      Loop.AdvanceTo(t);
      Pipeline.TakeEdge(t, EdgeSource::ModemStatus);
    }
  }

  // Plays durations as edges from the current time, then waits for the burst to close.
  void Press(const std::vector<std::int64_t>& durations) {
    std::vector<std::int64_t> times{Clock.Counter()};
    for (const std::int64_t d : durations) times.push_back(times.back() + d);
    EdgesAt(times);
    Loop.AdvanceBy(1000);
  }

  // A press in counter ticks: a 9 ms / 4.5 ms header, 32 bits of 0.56 ms marks and 0.56 or
  // 1.69 ms spaces, the 40 ms gap and a repeat frame.
  std::vector<std::int64_t> NecPress() const {
    test::TrainBuilder train;
    train.Add({9000, 4500}).Add(test::PulseDistance(Bits)).Add({40000, 9000, 2250, 560});
    std::vector<std::int64_t> ticks;
    for (const std::int64_t d : train.Durations) ticks.push_back(d * 10);
    return ticks;
  }

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  ReceiveSettings Settings;
  LearnedTimings Timings;
  DecodingLimits Limits;
  ReceivePipeline Pipeline{Loop, Settings, Timings, Limits};
  Recorder Consumers;
};

TEST_F(PipelineFixture, BurstReachingImpulseNumberStartsAgain) {
  // With 3 the count is reached when a mark ends, with 4 when a space ends.
  for (const std::int32_t limit : {3, 4}) {
    Settings.ImpulseNumber = limit;
    Pipeline.PulseCount = 0;
    Pipeline.EdgePhase = false;
    std::vector<std::int64_t> times;
    for (std::int32_t k = 0; k <= limit; ++k) times.push_back(Clock.Counter() + k * 2000);
    EdgesAt(times);
    EXPECT_EQ(Pipeline.PulseCount, 0) << limit;
    EXPECT_FALSE(Pipeline.EdgePhase) << limit;

    const std::int64_t t = Clock.Counter() + 5000;
    EdgesAt({t});  // only opens a mark
    EXPECT_EQ(Pipeline.PulseCount, 0) << limit;
    EXPECT_TRUE(Pipeline.EdgePhase) << limit;
    EdgesAt({t + 3000});
    EXPECT_EQ(Pipeline.PulseCount, 1) << limit;
    EXPECT_EQ(Pipeline.PulseBuffer[0], 3000) << limit;
  }
}

TEST_F(PipelineFixture, EdgesWhileReceptionIsOffChangeNothing) {
  Pipeline.ReceiveEnabled = false;
  Pipeline.EdgePhase = true;
  Pipeline.PulseBuffer.fill(7);
  EdgesAt({100, 9100, 13600});
  EXPECT_EQ(Pipeline.PulseCount, 0);
  for (const std::int64_t d : Pipeline.PulseBuffer) ASSERT_EQ(d, 7);
  EXPECT_FALSE(Pipeline.BurstTimerRunning());
  EXPECT_FALSE(Pipeline.EdgePhase);
  EXPECT_EQ(Consumers.OffEdges, 3);  // each offered to start learning
}

TEST_F(PipelineFixture, BurstIsBoundedBySignalLengthFromItsFirstEdge) {
  // Edges every 10 ms for 400 ms: the timer started by the first edge closes the burst at
  // 250 ms, and later edges form the next burst. The first burst ends inside a mark, so the
  // second begins by closing it.
  std::vector<std::int64_t> times;
  for (std::int64_t t = 0; t <= 400; t += 10) times.push_back(t * Ms);
  EdgesAt(times);
  Loop.AdvanceBy(1000);
  EXPECT_EQ(Consumers.TrainSizes, (std::vector<std::int32_t>{24, 16}));
}

TEST_F(PipelineFixture, EachModeHandsTheBurstToItsConsumer) {
  // The learned start pulse is the header space, so the bit form reads the frame too.
  Timings.StartPulse = 45000;
  Limits.MinFrameLength = 62;
  Limits.MaxFrameLength = 68;
  std::string bits;  // marks "0", then each space's bit; the closing mark "0"
  for (const char bit : Bits) bits += std::string("0") + bit;
  bits += "0";
  const std::string withPrefix = "7" + bits.substr(1);
  const std::string signalLength = "7" + ("2" + bits).substr(1);  // the header space is "2"

  const struct {
    ReceiveModeKind Mode;
    bool MultiLevelBefore;
    std::string ExpectedCall;
    bool MultiLevelAfter;
    bool PrefixKept;
  } cases[] = {
      {ReceiveModeKind::Execute, false, "dispatch " + withPrefix, false, true},
      {ReceiveModeKind::Execute, true, "dispatch " + withPrefix, true, true},
      {ReceiveModeKind::LearnButton, false, "capture " + withPrefix, false, false},
      {ReceiveModeKind::HoldButtonTest, true, "repeat " + bits, false, false},
      {ReceiveModeKind::ReceiverReadyTest, false, "repeat " + withPrefix, false, true},
      {ReceiveModeKind::SignalLengthTest, false, "signal " + signalLength, false, true},
      {ReceiveModeKind::Pause, false, "", false, true},
  };
  for (const auto& c : cases) {
    const int mode = static_cast<int>(c.Mode);
    Consumers.Calls.clear();
    Timings.PrefixText = "7";
    Timings.PrefixLength = 1;
    Timings.LevelTable.fill(0);
    Pipeline.ReceiveMode = c.Mode;
    Pipeline.MultiLevelCoding = c.MultiLevelBefore;
    Limits.LevelCount = 2;
    Press(NecPress());
    const std::vector<std::string> expected =
        c.ExpectedCall.empty() ? std::vector<std::string>{} : std::vector{c.ExpectedCall};
    EXPECT_EQ(Consumers.Calls, expected) << mode;
    EXPECT_EQ(Pipeline.MultiLevelCoding, c.MultiLevelAfter) << mode;
    EXPECT_EQ(Timings.PrefixText.empty(), !c.PrefixKept) << mode;
    EXPECT_EQ(Pipeline.PulseCount, 0) << mode;
    EXPECT_TRUE(Pipeline.ReceiveEnabled) << mode;
  }
}

TEST_F(PipelineFixture, PauseModeDecodesAndDropsTheBurst) {
  Pipeline.ReceiveMode = ReceiveModeKind::Pause;
  Pipeline.MultiLevelCoding = true;
  Press(NecPress());
  EXPECT_TRUE(Consumers.Calls.empty());
  EXPECT_EQ(Timings.LevelTable[0], 45000);  // the multi-level decode wrote its classes
}

TEST_F(PipelineFixture, KeyDispatchTakesOneBurstAndDropsThoseDuringTheCommand) {
  Pipeline.MultiLevelCoding = true;
  Consumers.Verdict = true;
  // A burst that arrives while the command runs (the loop keeps delivering edges) is dropped.
  Consumers.DuringDispatch = [this] {
    const std::int64_t t = Clock.Counter();
    EdgesAt({t + 10 * Ms, t + 11 * Ms, t + 12 * Ms});
  };
  Press(NecPress());
  ASSERT_EQ(Consumers.Calls.size(), 1U);
  EXPECT_TRUE(Consumers.Calls[0].starts_with("dispatch 2"));
  EXPECT_TRUE(Consumers.Calls[0].ends_with(" repeat"));
  EXPECT_FALSE(Pipeline.BurstTimerRunning());
  EXPECT_TRUE(Pipeline.ReceiveEnabled);
}

TEST_F(PipelineFixture, EdgeWhileBusyRestartsCollection) {
  // A consumer that lets reception on while it still runs sees the edge reset the buffer.
  Consumers.DuringDispatch = [this] {
    Pipeline.ReceiveEnabled = true;
    Pipeline.PulseCount = 9;
    Pipeline.TakeEdge(Clock.Counter(), EdgeSource::ModemStatus);
    EXPECT_EQ(Pipeline.PulseCount, 0);
    EXPECT_FALSE(Pipeline.BurstBusy);
  };
  Press(NecPress());
  EXPECT_EQ(Consumers.Calls.size(), 1U);
}

TEST_F(PipelineFixture, HoldOffKeepsReceptionOffUntilItsTick) {
  Consumers.DuringDispatch = [this] { Pipeline.HoldOff(1000); };
  const std::vector<std::int64_t> press = NecPress();
  std::vector<std::int64_t> times{0};
  for (const std::int64_t d : press) times.push_back(times.back() + d);
  EdgesAt(times);
  Loop.AdvanceTo(250 * Ms);  // the burst closes; the consumer starts the hold-off
  EXPECT_FALSE(Pipeline.ReceiveEnabled);
  Loop.AdvanceTo(1249 * Ms);
  EXPECT_FALSE(Pipeline.ReceiveEnabled);
  Loop.AdvanceTo(1250 * Ms);
  EXPECT_TRUE(Pipeline.ReceiveEnabled);
  EXPECT_FALSE(Pipeline.HoldOffRunning());
}

}  // namespace
}  // namespace quillon

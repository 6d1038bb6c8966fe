// Recorded bursts played into the receive pipeline at their recorded pace, on virtual time.

#include "core/receiver/EdgePlayer.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/fake/FakeEventLoop.h"

namespace quillon {
namespace {

constexpr std::int64_t Ms = platform::CounterTicksPerMillisecond;

// Notes the virtual time at which each edge reaches the pipeline: with reception off, every
// edge is offered to the start-learning trigger.
struct EdgeTimes : StartLearningTrigger {
  explicit EdgeTimes(const platform::Clock& clock) : Clock(clock) {}
  void EdgeWhileReceptionOff() override { Taken.push_back(Clock.Counter()); }
  const platform::Clock& Clock;
  std::vector<std::int64_t> Taken;
};

struct EdgePlayerFixture : ::testing::Test {
  EdgePlayerFixture() {
    Clock.AdvanceTo(1'000'003);  // not on a millisecond: bursts open where a tick plays them
    BurstConsumers consumers;
    consumers.StartLearning = &Times;
    Pipeline.SetConsumers(consumers);
  }

  std::vector<std::int64_t> Stored() const {
    return {Pipeline.PulseBuffer.begin(), Pipeline.PulseBuffer.begin() + Pipeline.PulseCount};
  }

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  ReceiveSettings Settings;
  LearnedTimings Timings;
  DecodingLimits Limits;
  ReceivePipeline Pipeline{Loop, Settings, Timings, Limits};
  EdgeTimes Times{Clock};
  int DrainedCount = 0;
  EdgePlayer Player{Pipeline, Loop, Clock, [this] { ++DrainedCount; }};
};

TEST_F(EdgePlayerFixture, EachEdgeComesOnTheLastTickBeforeItsTime) {
  const std::vector<std::int64_t> burst = {90240, 45120, 5640, 16920, 5640, 5640, 5640};
  const std::int64_t start = Clock.Counter();
  ASSERT_TRUE(Player.Queue(burst, 0));
  Loop.AdvanceBy(100);

  ASSERT_EQ(Times.Taken.size(), burst.size() + 1);
  EXPECT_EQ(Times.Taken.front(), start);  // the first edge at once
  std::int64_t due = start;
  for (std::size_t i = 0; i < burst.size(); ++i) {
    due += burst[i];
    const std::int64_t taken = Times.Taken[i + 1];
    EXPECT_LE(taken, due) << "edge " << i + 1 << " late";
    EXPECT_GT(taken, due - Ms) << "edge " << i + 1 << " more than a millisecond early";
    EXPECT_EQ((taken - start) % Ms, 0) << "edge " << i + 1 << " off the ticks";
  }
  EXPECT_EQ(DrainedCount, 1);
}

TEST_F(EdgePlayerFixture, ThePipelineMeasuresExactlyTheRecordedDurations) {
  Pipeline.ReceiveEnabled = true;
  // Below 1001 ticks a carrier-detect duration would be a glitch; a measured one counts.
  const std::vector<std::int64_t> burst = {90241, 45119, 500, 1000, 5639, 16921, 5641};
  ASSERT_TRUE(Player.Queue(burst, 0));
  Loop.AdvanceBy(100);
  EXPECT_EQ(Stored(), burst);
}

TEST_F(EdgePlayerFixture, BurstsFollowEachOtherAfterTheirQuietTime) {
  for (const std::int64_t idle : {300 * Ms, 300 * Ms + 1, std::int64_t{0}}) {
    Times.Taken.clear();
    const std::int64_t start = Clock.Counter();
    ASSERT_TRUE(Player.Queue({56400, 56400, 56400}, 777 * Ms));  // at once: nothing before
    ASSERT_TRUE(Player.Queue({5640}, idle));
    Loop.AdvanceBy(1000);
    ASSERT_EQ(Times.Taken.size(), 6U);
    // The quiet runs from the last edge's recorded time, in whole milliseconds, never short.
    const std::int64_t lastEdge = start + 3 * 56400;
    EXPECT_GE(Times.Taken[4], lastEdge + idle) << idle;
    EXPECT_LT(Times.Taken[4], lastEdge + idle + Ms) << idle;
    Player.Clear();
  }
}

TEST_F(EdgePlayerFixture, AnEmptyBurstIsAWaitAndDrainedFollowsTheLastBurst) {
  const std::int64_t lastEdge = Clock.Counter() + 56400;
  ASSERT_TRUE(Player.Queue({56400}, 0));
  ASSERT_TRUE(Player.Queue({}, 250 * Ms));
  Loop.AdvanceTo(lastEdge + 250 * Ms - 1);
  EXPECT_EQ(DrainedCount, 0);
  Loop.AdvanceTo(lastEdge + 251 * Ms);
  EXPECT_EQ(DrainedCount, 1);
  EXPECT_EQ(Player.Waiting(), 0U);
}

TEST_F(EdgePlayerFixture, ClearingStopsThePlayAndTheNextBurstPlaysAtOnce) {
  ASSERT_TRUE(Player.Queue({56400, 56400, 56400}, 0));
  ASSERT_TRUE(Player.Queue({56400, 56400, 56400}, 500 * Ms));
  EXPECT_EQ(Player.Waiting(), 6U);
  Player.Clear();
  EXPECT_EQ(Player.Waiting(), 0U);
  Loop.AdvanceBy(1000);
  EXPECT_EQ(Times.Taken.size(), 1U);  // the first edge, taken when queued
  EXPECT_EQ(DrainedCount, 0);

  const std::int64_t now = Clock.Counter();
  ASSERT_TRUE(Player.Queue({56400}, 500 * Ms));
  ASSERT_EQ(Times.Taken.size(), 2U);
  EXPECT_EQ(Times.Taken.back(), now);
}

TEST_F(EdgePlayerFixture, RefusesMoreDurationsThanItWillKeepWaiting) {
  ASSERT_TRUE(Player.Queue(std::vector<std::int64_t>(EdgePlayer::MaxWaiting, 10 * Ms), 0));
  EXPECT_EQ(Player.Waiting(), EdgePlayer::MaxWaiting);
  const auto refused = Player.Queue({5640}, 0);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.ErrorMessage(), "more than 1000000 durations wait to be played");
}

TEST_F(EdgePlayerFixture, RefusesDurationsNoBurstHolds) {
  const struct {
    std::int64_t Duration;
    const char* Error;
  } cases[] = {
      {0, "a duration of 0 ticks is no part of an infrared burst"},
      {-5640, "a duration of -5640 ticks is no part of an infrared burst"},
      {EdgePlayer::MaxTicks + 1, "a duration of 2147483648 ticks is no part of an infrared burst"},
  };
  for (const auto& c : cases) {
    const auto refused = Player.Queue({5640, c.Duration, 5640}, 0);
    ASSERT_FALSE(refused) << c.Duration;
    EXPECT_EQ(refused.ErrorMessage(), c.Error);
    EXPECT_EQ(Player.Waiting(), 0U);
  }
  EXPECT_TRUE(Player.Queue({EdgePlayer::MaxTicks}, 0));
}

}  // namespace
}  // namespace quillon

// The Qt event loop against the seam's rules, on the real clock. Timing assertions leave wide
// margins: they tell a restarted timer from one that kept its time, not milliseconds apart.

#include "gui/QtEventLoop.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <thread>
#include <vector>

#include "core/common/WaitPumping.h"
#include "platform/linux/LinuxClock.h"

namespace quillon::gui {
namespace {

struct LoopFixture : testing::Test {
  // The process's processor time in milliseconds.
  static std::int64_t ProcessorMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (std::int64_t{usage.ru_utime.tv_sec} + usage.ru_stime.tv_sec) * 1000 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
  }
  std::uint32_t Now() const { return Clock.TickCount(); }
  void RunFor(std::uint32_t milliseconds) { Loop.RunUntil(Now() + milliseconds); }

  platform::LinuxClock Clock;
  QtEventLoop Loop{Clock};
};

TEST_F(LoopFixture, TimerStartsDisabledWithOneSecond) {
  int ticks = 0;
  const auto timer = Loop.CreateTimer([&] { ++ticks; });
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 1000u);
  RunFor(50);
  EXPECT_EQ(ticks, 0);
}

TEST_F(LoopFixture, EnabledTimerTicksEveryIntervalUntilDisabled) {
  std::vector<std::uint32_t> ticks;
  std::unique_ptr<platform::Timer> timer;
  timer = Loop.CreateTimer([&] {
    ticks.push_back(Now());
    if (ticks.size() == 3) timer->Disable();
  });
  timer->SetInterval(40);
  const std::uint32_t start = Now();
  timer->Enable();
  RunFor(400);
  ASSERT_EQ(ticks.size(), 3u);
  EXPECT_GE(ticks[0] - start, 39u);
  EXPECT_GE(ticks[2] - start, 3 * 40u - 2);
  EXPECT_FALSE(timer->Enabled());
}

TEST_F(LoopFixture, EnablingARunningTimerDoesNotRestartIt) {
  std::uint32_t tick = 0;
  const auto timer = Loop.CreateTimer([&] {
    if (tick == 0) tick = Now();
  });
  timer->SetInterval(300);
  const std::uint32_t start = Now();
  timer->Enable();
  RunFor(200);
  timer->Enable();
  RunFor(400);
  ASSERT_NE(tick, 0u);
  // Kept: the first tick 300 ms after the start; restarted it would come at 500 ms.
  EXPECT_LT(tick - start, 450u);
}

TEST_F(LoopFixture, ChangingTheIntervalOfARunningTimerRestartsIt) {
  std::uint32_t tick = 0;
  const auto timer = Loop.CreateTimer([&] {
    if (tick == 0) tick = Now();
  });
  timer->SetInterval(300);
  const std::uint32_t start = Now();
  timer->Enable();
  RunFor(200);
  timer->SetInterval(300);
  RunFor(400);
  ASSERT_NE(tick, 0u);
  EXPECT_GE(tick - start, 490u);
}

TEST_F(LoopFixture, ZeroIntervalCountsAsOneMillisecond) {
  const auto timer = Loop.CreateTimer([] {});
  timer->SetInterval(0);
  EXPECT_EQ(timer->Interval(), 1u);
}

TEST_F(LoopFixture, RunUntilReturnsAtTheDeadlineAndSleepsMeanwhile) {
  const std::uint32_t start = Now();
  const std::int64_t processor = ProcessorMs();
  RunFor(300);
  const std::uint32_t waited = Now() - start;
  EXPECT_GE(waited, 300u);
  EXPECT_LT(waited, 1000u);
  // A busy wait would burn the whole 300 ms.
  EXPECT_LT(ProcessorMs() - processor, 100);
}

TEST_F(LoopFixture, RunUntilAPassedDeadlineReturnsAtOnce) {
  int ticks = 0;
  const auto timer = Loop.CreateTimer([&] { ++ticks; });
  timer->SetInterval(1);
  timer->Enable();
  Loop.RunUntil(Now() - 5);
  EXPECT_EQ(ticks, 0);
}

TEST_F(LoopFixture, PostFromAnotherThreadRunsOnTheLoopsThread) {
  std::thread::id ranOn;
  std::uint32_t ranAt = 0;
  std::thread poster([&] {
    Loop.Post([&] {
      ranOn = std::this_thread::get_id();
      ranAt = Now();
    });
  });
  poster.join();
  const std::uint32_t start = Now();
  RunFor(100);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  EXPECT_LT(ranAt - start, 100u);
  EXPECT_GE(Now() - start, 100u);
}

TEST_F(LoopFixture, PostedTasksRunInOrder) {
  std::vector<int> order;
  for (int i = 0; i < 5; ++i) Loop.Post([&order, i] { order.push_back(i); });
  RunFor(20);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(LoopFixture, WaitPumpingHandlesTimersAndNestsWithinAHandler) {
  int outer = 0;
  int inner = 0;
  const auto innerTimer = Loop.CreateTimer([&] { ++inner; });
  innerTimer->SetInterval(10);
  std::unique_ptr<platform::Timer> outerTimer;
  outerTimer = Loop.CreateTimer([&] {
    ++outer;
    outerTimer->Disable();
    // A command's pause inside a timer's handler: the other timer keeps ticking.
    WaitPumping(Loop, Clock, 100);
  });
  outerTimer->SetInterval(20);
  outerTimer->Enable();
  innerTimer->Enable();
  const std::uint32_t start = Now();
  WaitPumping(Loop, Clock, 200);
  EXPECT_GE(Now() - start, 200u);
  EXPECT_EQ(outer, 1);
  EXPECT_GE(inner, 5);
}

}  // namespace
}  // namespace quillon::gui

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/common/WaitPumping.h"
#include "platform/fake/FakeEventLoop.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/PollEventLoop.h"

namespace quillon::platform {
namespace {

TEST(FakeEventLoop, TimersFireInDueOrderWithTheClockAtTheirDueTime) {
  FakeClock clock;
  FakeEventLoop loop(clock);
  std::vector<std::string> fired;
  auto slow =
      loop.CreateTimer([&] { fired.push_back("slow@" + std::to_string(clock.TickCount())); });
  auto fast =
      loop.CreateTimer([&] { fired.push_back("fast@" + std::to_string(clock.TickCount())); });
  slow->SetInterval(30);
  fast->SetInterval(20);
  slow->Enable();
  fast->Enable();
  loop.AdvanceBy(60);
  EXPECT_EQ(fired,
            (std::vector<std::string>{"fast@20", "slow@30", "fast@40", "slow@60", "fast@60"}));
  EXPECT_EQ(clock.TickCount(), 60U);
}

TEST(FakeEventLoop, EnablingARunningTimerDoesNotRestartIt) {
  FakeClock clock;
  FakeEventLoop loop(clock);
  int ticks = 0;
  auto timer = loop.CreateTimer([&] { ++ticks; });
  timer->SetInterval(250);
  timer->Enable();
  loop.AdvanceBy(200);
  timer->Enable();
  loop.AdvanceBy(50);
  EXPECT_EQ(ticks, 1);

  timer->SetInterval(100);  // a new interval restarts it
  loop.AdvanceBy(99);
  EXPECT_EQ(ticks, 1);
  loop.AdvanceBy(1);
  EXPECT_EQ(ticks, 2);

  timer->Disable();
  loop.AdvanceBy(1000);
  EXPECT_EQ(ticks, 2);
}

TEST(FakeEventLoop, WaitPumpingHandlesEventsUntilTheDeadline) {
  FakeClock clock;
  FakeEventLoop loop(clock);
  std::vector<std::string> seen;
  auto timer =
      loop.CreateTimer([&] { seen.push_back("tick@" + std::to_string(clock.TickCount())); });
  timer->SetInterval(200);
  timer->Enable();
  loop.Post([&] { seen.push_back("posted"); });
  WaitPumping(loop, clock, 500);
  EXPECT_EQ(seen, (std::vector<std::string>{"posted", "tick@200", "tick@400"}));
  EXPECT_EQ(clock.TickCount(), 500U);
}

TEST(PollEventLoop, RunsPostedTasksAndTimersOnRealTime) {
  LinuxClock clock;
  PollEventLoop loop(clock);
  std::atomic<int> fromThread{0};
  int ticks = 0;
  auto timer = loop.CreateTimer([&] { ++ticks; });
  timer->SetInterval(5);
  timer->Enable();

  const std::uint32_t start = clock.TickCount();
  std::thread poster([&] { loop.Post([&] { fromThread = 1; }); });
  WaitPumping(loop, clock, 30);
  timer->Disable();
  const std::uint32_t elapsed = clock.TickCount() - start;
  poster.join();
  while (fromThread == 0) WaitPumping(loop, clock, 10);  // in case the thread started late

  EXPECT_EQ(fromThread, 1);
  EXPECT_GE(ticks, 1);
  // Late ticks are not made up in a burst: at most one per interval that passed.
  EXPECT_LE(ticks, static_cast<int>(elapsed / 5));
  EXPECT_TRUE(TickReached(clock.TickCount(), start + 30));
}

TEST(LinuxClock, CounterRunsAt10MHzAlongsideTheTickCount) {
  LinuxClock clock;
  const std::int64_t counter = clock.Counter();
  const std::uint32_t ticks = clock.TickCount();
  const auto counterMs = static_cast<std::uint32_t>(counter / CounterTicksPerMillisecond);
  EXPECT_LE(ticks - counterMs, 1U);  // the same millisecond, or the next
  EXPECT_GE(clock.Counter(), counter);
}

}  // namespace
}  // namespace quillon::platform

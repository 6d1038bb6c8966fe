#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/support/TaskQueue.h"
#include "platform/support/TimerList.h"

namespace quillon::platform {

// Virtual time for tests and dry runs: it moves only when a test (or a wait of the program on
// the fake loop) advances it.
class FakeClock : public Clock {
 public:
  std::int64_t Counter() const override { return Now; }
  std::uint32_t TickCount() const override {
    return static_cast<std::uint32_t>(Now / CounterTicksPerMillisecond);
  }

  // Moves the counter forward to `counter`; never backward.
  void AdvanceTo(std::int64_t counter) {
    if (counter > Now) Now = counter;
  }

 private:
  std::int64_t Now = 0;
};

// A deterministic event loop over a FakeClock. Due timers fire in the order of their due
// times, with the clock set to each due time; posted tasks run after each timer and whenever
// time is advanced.
class FakeEventLoop : public EventLoop {
 public:
  explicit FakeEventLoop(FakeClock& clock) : Clock(clock), Timers(clock) {}

  std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) override {
    return Timers.Create(std::move(onTick));
  }
  void Post(std::function<void()> task) override { Posted.Push(std::move(task)); }

  // Advances virtual time to the deadline, handling what falls due on the way.
  void RunUntil(std::uint32_t deadlineTick) override;

  // Advances virtual time to `counter` (counter ticks), firing every timer due until then.
  void AdvanceTo(std::int64_t counter);
  void AdvanceBy(std::uint32_t milliseconds);

 private:
  FakeClock& Clock;
  TimerList Timers;
  TaskQueue Posted;
};

}  // namespace quillon::platform

#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Clock.h"
#include "platform/EventLoop.h"

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
// times (ties in the order they were scheduled), with the clock set to each due time; posted
// tasks run after each timer and whenever time is advanced.
class FakeEventLoop : public EventLoop {
 public:
  explicit FakeEventLoop(FakeClock& clock) : Clock(clock) {}
  ~FakeEventLoop() override;

  std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) override;
  void Post(std::function<void()> task) override;

  // Advances virtual time to the deadline, handling what falls due on the way.
  void RunUntil(std::uint32_t deadlineTick) override;

  // Advances virtual time to `counter` (counter ticks), firing every timer due until then.
  void AdvanceTo(std::int64_t counter);
  void AdvanceBy(std::uint32_t milliseconds);

  // Runs the posted tasks, those they post included.
  void RunPosted();

 private:
  class FakeTimer;
  friend class FakeTimer;

  void Schedule(FakeTimer& timer);
  void Forget(const FakeTimer& timer);
  FakeTimer* NextDue(std::int64_t until) const;

  FakeClock& Clock;
  std::vector<FakeTimer*> Timers;
  std::uint64_t Sequence = 0;
  std::mutex PostedMutex;
  std::deque<std::function<void()>> Posted;
};

}  // namespace quillon::platform

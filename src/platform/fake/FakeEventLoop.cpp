#include "platform/fake/FakeEventLoop.h"

#include <algorithm>

namespace quillon::platform {

class FakeEventLoop::FakeTimer : public Timer {
 public:
  FakeTimer(FakeEventLoop& loop, std::function<void()> onTick)
      : Loop(loop), OnTick(std::move(onTick)) {}
  ~FakeTimer() override { Loop.Forget(*this); }

  void SetInterval(std::uint32_t milliseconds) override {
    IntervalMs = std::max<std::uint32_t>(milliseconds, 1);
    if (Active) Loop.Schedule(*this);
  }
  std::uint32_t Interval() const override { return IntervalMs; }
  void Enable() override {
    if (Active) return;
    Active = true;
    Loop.Schedule(*this);
  }
  void Disable() override { Active = false; }
  bool Enabled() const override { return Active; }

  FakeEventLoop& Loop;
  std::function<void()> OnTick;
  std::uint32_t IntervalMs = 1000;
  bool Active = false;
  std::int64_t Due = 0;
  std::uint64_t Order = 0;
};

FakeEventLoop::~FakeEventLoop() = default;

std::unique_ptr<Timer> FakeEventLoop::CreateTimer(std::function<void()> onTick) {
  auto timer = std::make_unique<FakeTimer>(*this, std::move(onTick));
  Timers.push_back(timer.get());
  return timer;
}

void FakeEventLoop::Post(std::function<void()> task) {
  const std::lock_guard lock(PostedMutex);
  Posted.push_back(std::move(task));
}

void FakeEventLoop::RunPosted() {
  for (;;) {
    std::function<void()> task;
    {
      const std::lock_guard lock(PostedMutex);
      if (Posted.empty()) return;
      task = std::move(Posted.front());
      Posted.pop_front();
    }
    task();
  }
}

void FakeEventLoop::Schedule(FakeTimer& timer) {
  timer.Due = Clock.Counter() + std::int64_t{timer.IntervalMs} * CounterTicksPerMillisecond;
  timer.Order = ++Sequence;
}

void FakeEventLoop::Forget(const FakeTimer& timer) {
  Timers.erase(std::remove(Timers.begin(), Timers.end(), &timer), Timers.end());
}

FakeEventLoop::FakeTimer* FakeEventLoop::NextDue(std::int64_t until) const {
  FakeTimer* next = nullptr;
  for (FakeTimer* timer : Timers) {
    if (!timer->Active || timer->Due > until) continue;
    if (next == nullptr || timer->Due < next->Due ||
        (timer->Due == next->Due && timer->Order < next->Order)) {
      next = timer;
    }
  }
  return next;
}

void FakeEventLoop::AdvanceTo(std::int64_t counter) {
  RunPosted();
  while (FakeTimer* timer = NextDue(counter)) {
    Clock.AdvanceTo(timer->Due);
    // The next tick is scheduled before this one runs, so a handler that disables its timer
    // stops it and one that enables it again does not restart it.
    timer->Due += std::int64_t{timer->IntervalMs} * CounterTicksPerMillisecond;
    timer->Order = ++Sequence;
    timer->OnTick();
    RunPosted();
  }
  Clock.AdvanceTo(counter);
  RunPosted();
}

void FakeEventLoop::AdvanceBy(std::uint32_t milliseconds) {
  AdvanceTo(Clock.Counter() + std::int64_t{milliseconds} * CounterTicksPerMillisecond);
}

void FakeEventLoop::RunUntil(std::uint32_t deadlineTick) {
  const auto remaining = static_cast<std::int32_t>(deadlineTick - Clock.TickCount());
  if (remaining > 0) {
    AdvanceTo((Clock.Counter() / CounterTicksPerMillisecond + remaining) *
              CounterTicksPerMillisecond);
  } else {
    RunPosted();
  }
}

}  // namespace quillon::platform

#include "platform/linux/PollEventLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace quillon::platform {

class PollEventLoop::PollTimer : public Timer {
 public:
  PollTimer(PollEventLoop& loop, std::function<void()> onTick)
      : Loop(loop), OnTick(std::move(onTick)) {}
  ~PollTimer() override { Loop.Forget(*this); }

  void SetInterval(std::uint32_t milliseconds) override {
    IntervalMs = std::max<std::uint32_t>(milliseconds, 1);
    if (Active) Schedule();
  }
  std::uint32_t Interval() const override { return IntervalMs; }
  void Enable() override {
    if (Active) return;
    Active = true;
    Schedule();
  }
  void Disable() override { Active = false; }
  bool Enabled() const override { return Active; }

  void Schedule() {
    Due = Loop.TheClock.TickCount() + IntervalMs;
    Order = ++Loop.Sequence;
  }

  PollEventLoop& Loop;
  std::function<void()> OnTick;
  std::uint32_t IntervalMs = 1000;
  bool Active = false;
  std::uint32_t Due = 0;
  std::uint64_t Order = 0;
};

PollEventLoop::PollEventLoop(const Clock& clock)
    : TheClock(clock), WakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (WakeFd < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

PollEventLoop::~PollEventLoop() { close(WakeFd); }

std::unique_ptr<Timer> PollEventLoop::CreateTimer(std::function<void()> onTick) {
  auto timer = std::make_unique<PollTimer>(*this, std::move(onTick));
  Timers.push_back(timer.get());
  return timer;
}

void PollEventLoop::Forget(const PollTimer& timer) {
  Timers.erase(std::remove(Timers.begin(), Timers.end(), &timer), Timers.end());
}

void PollEventLoop::Post(std::function<void()> task) {
  {
    const std::lock_guard lock(PostedMutex);
    Posted.push_back(std::move(task));
  }
  const std::uint64_t one = 1;
  // A full counter already means a wake-up is pending, so a failed write loses nothing.
  [[maybe_unused]] const ssize_t written = write(WakeFd, &one, sizeof one);
}

void PollEventLoop::RunPosted() {
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

bool PollEventLoop::FireOneDue() {
  const std::uint32_t now = TheClock.TickCount();
  PollTimer* next = nullptr;
  for (PollTimer* timer : Timers) {
    if (!timer->Active || !TickReached(now, timer->Due)) continue;
    if (next == nullptr || static_cast<std::int32_t>(timer->Due - next->Due) < 0 ||
        (timer->Due == next->Due && timer->Order < next->Order)) {
      next = timer;
    }
  }
  if (next == nullptr) return false;
  // Scheduled before the handler runs: a handler that enables its own timer does not restart it.
  next->Due += next->IntervalMs;
  if (TickReached(now, next->Due)) next->Due = now + next->IntervalMs;  // no burst of late ticks
  next->Order = ++Sequence;
  next->OnTick();
  return true;
}

void PollEventLoop::Sleep(std::uint32_t deadlineTick) {
  const std::uint32_t now = TheClock.TickCount();
  auto wait = static_cast<std::int32_t>(deadlineTick - now);
  for (const PollTimer* timer : Timers) {
    if (timer->Active) wait = std::min(wait, static_cast<std::int32_t>(timer->Due - now));
  }
  pollfd wake{WakeFd, POLLIN, 0};
  if (poll(&wake, 1, std::max(wait, 0)) > 0) {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(WakeFd, &count, sizeof count);
  }
}

void PollEventLoop::RunUntil(std::uint32_t deadlineTick) {
  for (;;) {
    RunPosted();
    while (FireOneDue()) RunPosted();
    if (TickReached(TheClock.TickCount(), deadlineTick)) return;
    Sleep(deadlineTick);
  }
}

}  // namespace quillon::platform

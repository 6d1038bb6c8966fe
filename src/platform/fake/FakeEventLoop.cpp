#include "platform/fake/FakeEventLoop.h"

namespace quillon::platform {

void FakeEventLoop::AdvanceTo(std::int64_t counter) {
  Posted.RunAll();
  const auto reachDue = [this](std::int64_t due) { Clock.AdvanceTo(due); };
  while (Timers.FireNextDue(counter, reachDue, /*skipMissed=*/false)) Posted.RunAll();
  Clock.AdvanceTo(counter);
  Posted.RunAll();
}

void FakeEventLoop::AdvanceBy(std::uint32_t milliseconds) {
  AdvanceTo(Clock.Counter() + std::int64_t{milliseconds} * CounterTicksPerMillisecond);
}

void FakeEventLoop::RunUntil(std::uint32_t deadlineTick) {
  const auto remaining = static_cast<std::int32_t>(deadlineTick - Clock.TickCount());
  const std::int64_t thisMs = Clock.Counter() / CounterTicksPerMillisecond;
  if (remaining > 0) {
    AdvanceTo((thisMs + remaining) * CounterTicksPerMillisecond);
  } else {
    Posted.RunAll();
  }
}

}  // namespace quillon::platform

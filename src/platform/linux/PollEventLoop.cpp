#include "platform/linux/PollEventLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace quillon::platform {

PollEventLoop::PollEventLoop(const Clock& clock)
    : TheClock(clock), WakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), Timers(clock) {
  if (WakeFd < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

PollEventLoop::~PollEventLoop() { close(WakeFd); }

void PollEventLoop::Post(std::function<void()> task) {
  Posted.Push(std::move(task));
  const std::uint64_t one = 1;
  // A full counter already means a wake-up is pending, so a failed write loses nothing.
  [[maybe_unused]] const ssize_t written = write(WakeFd, &one, sizeof one);
}

void PollEventLoop::Sleep(std::int64_t deadline) {
  const std::int64_t wake = std::min(deadline, Timers.NextDue().value_or(deadline));
  const std::int64_t waitTicks = std::max<std::int64_t>(wake - TheClock.Counter(), 0);
  // Round up, so that the loop never wakes just before a deadline and spins on it.
  const auto waitMs = static_cast<int>(std::min<std::int64_t>(
      (waitTicks + CounterTicksPerMillisecond - 1) / CounterTicksPerMillisecond, 60'000));
  pollfd wakeFd{WakeFd, POLLIN, 0};
  if (poll(&wakeFd, 1, waitMs) > 0) {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(WakeFd, &count, sizeof count);
  }
}

void PollEventLoop::RunUntil(std::uint32_t deadlineTick) {
  const auto remaining = static_cast<std::int32_t>(deadlineTick - TheClock.TickCount());
  const std::int64_t deadline =
      TheClock.Counter() + std::int64_t{std::max(remaining, 0)} * CounterTicksPerMillisecond;
  const auto reachDue = [](std::int64_t) {};
  for (;;) {
    Posted.RunAll();
    while (Timers.FireNextDue(TheClock.Counter(), reachDue, /*skipMissed=*/true)) {
      Posted.RunAll();
    }
    if (TheClock.Counter() >= deadline) return;
    Sleep(deadline);
  }
}

}  // namespace quillon::platform

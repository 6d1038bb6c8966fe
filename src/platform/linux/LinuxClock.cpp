#include "platform/linux/LinuxClock.h"

#include <time.h>

namespace quillon::platform {

namespace {

timespec Monotonic() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now;
}

}  // namespace

std::int64_t LinuxClock::Counter() const {
  const timespec now = Monotonic();
  return std::int64_t{now.tv_sec} * CounterTicksPerSecond + now.tv_nsec / 100;
}

std::uint32_t LinuxClock::TickCount() const {
  const timespec now = Monotonic();
  return static_cast<std::uint32_t>(std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000);
}

}  // namespace quillon::platform

#pragma once

#include <cstdint>

namespace quillon::platform {

// Counter ticks are 100 ns (10 MHz). Durations stay raw tick differences so that remote files
// learned on Linux and on Windows hold comparable values.
inline constexpr std::int64_t CounterTicksPerSecond = 10'000'000;
inline constexpr std::int64_t CounterTicksPerMillisecond = CounterTicksPerSecond / 1000;

// The two time sources of the program: the high-resolution counter for pulse timing and the
// millisecond tick count for waits. Both are monotonic.
class Clock {
 public:
  virtual ~Clock() = default;

  // High-resolution counter in ticks of 100 ns.
  virtual std::int64_t Counter() const = 0;

  // Milliseconds since an arbitrary start; wraps around after about 49.7 days like the
  // Windows tick count, so compare tick counts only through TickReached().
  virtual std::uint32_t TickCount() const = 0;
};

// True when `now` is at or past `deadline`, across a wrap of the 32-bit tick count.
constexpr bool TickReached(std::uint32_t now, std::uint32_t deadline) {
  return static_cast<std::int32_t>(now - deadline) >= 0;
}

}  // namespace quillon::platform

#pragma once

#include "platform/Clock.h"

namespace quillon::platform {

// CLOCK_MONOTONIC, read as 100 ns counter ticks and as milliseconds.
class LinuxClock : public Clock {
 public:
  std::int64_t Counter() const override;
  std::uint32_t TickCount() const override;
};

}  // namespace quillon::platform

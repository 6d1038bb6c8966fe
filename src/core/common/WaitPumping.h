#pragma once

#include <cstdint>

#include "platform/Clock.h"
#include "platform/EventLoop.h"

namespace quillon {

// Waits `milliseconds` on the tick count while the event loop keeps handling timers and posted
// events. Every pause inside a command goes through here: the loop sleeps between events, so
// the applications that the program types into are never starved by a busy wait.
void WaitPumping(platform::EventLoop& loop, const platform::Clock& clock,
                 std::uint32_t milliseconds);

}  // namespace quillon

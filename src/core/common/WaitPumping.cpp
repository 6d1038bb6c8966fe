#include "core/common/WaitPumping.h"

namespace quillon {

void WaitPumping(platform::EventLoop& loop, const platform::Clock& clock,
                 std::uint32_t milliseconds) {
  loop.RunUntil(clock.TickCount() + milliseconds);
}

}  // namespace quillon

#include "core/shell/SideWindows.h"

#include <algorithm>

namespace quillon {

namespace {

// The start of a span of `length` moved into [low, low + room), its start kept in view when the
// room is too small.
std::int32_t Within(std::int32_t start, std::int32_t length, std::int32_t low, std::int32_t room) {
  return std::max(low, std::min(start, low + room - length));
}

}  // namespace

WindowRect PlaceSideWindow(const WindowRect& main, std::int32_t width, std::int32_t height,
                           const WindowRect& screen, bool fullWindow) {
  const std::int32_t x = fullWindow ? main.X + main.Width : main.X + main.Width - width;
  return {Within(x, width, screen.X, screen.Width), Within(main.Y, height, screen.Y, screen.Height),
          width, height};
}

}  // namespace quillon

#pragma once

#include <cstdint>

namespace quillon {

// A window's place and size on the screen, its frame included.
struct WindowRect {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  bool operator==(const WindowRect&) const = default;
};

// Where a side window of the configuration window (audio commands, key combinations, the window
// list) opens, given the configuration window's place and the screen's area. With "Show full
// window" it stands at the configuration window's right edge, top to top, the two making one wide
// window; without it, over the configuration window's right part, so that the pair needs no
// more room than the configuration window alone (the choice for small screens). Either way it
// is moved back onto the screen when it would leave it.
WindowRect PlaceSideWindow(const WindowRect& main, std::int32_t width, std::int32_t height,
                           const WindowRect& screen, bool fullWindow);

}  // namespace quillon

#pragma once

#include <cstdint>

namespace quillon::platform {

struct Point {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  bool operator==(const Point&) const = default;
};

enum class MouseButton : std::uint8_t { Left, Right };

// The pointer, in screen pixels from the top left corner.
class Mouse {
 public:
  virtual ~Mouse() = default;
  virtual Point Position() const = 0;
  virtual void MoveTo(Point point) = 0;
  virtual void Button(MouseButton button, bool down) = 0;
};

}  // namespace quillon::platform

#pragma once

#include <memory>

#include "platform/Mouse.h"
#include "platform/linux/X11Connection.h"

namespace quillon::platform {

// The pointer of the X server's default screen, moved and clicked through the XTEST extension
// so that clients see real motion and button events. The left button is X button 1, the right
// one X button 3. Without a connection or the extension nothing moves and the position is 0,0.
class X11Mouse final : public Mouse {
 public:
  explicit X11Mouse(std::shared_ptr<X11Connection> connection)
      : Connection(std::move(connection)) {}

  Point Position() const override;
  void MoveTo(Point point) override;
  void Button(MouseButton button, bool down) override;

 private:
  std::shared_ptr<X11Connection> Connection;
};

}  // namespace quillon::platform

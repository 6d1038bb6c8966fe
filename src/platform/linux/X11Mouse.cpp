#include "platform/linux/X11Mouse.h"

#include <X11/extensions/XTest.h>

namespace quillon::platform {

Point X11Mouse::Position() const {
  Display* display = Connection->Handle();
  if (Connection->Lost()) return {};
  Window root = None;
  Window child = None;
  int rootX = 0;
  int rootY = 0;
  int windowX = 0;
  int windowY = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(display, Connection->Root(), &root, &child, &rootX, &rootY, &windowX, &windowY,
                     &mask)) {
    return {};
  }
  return {rootX, rootY};
}

void X11Mouse::MoveTo(Point point) {
  Display* display = Connection->Handle();
  if (Connection->Lost() || !Connection->HasXTest()) return;
  XTestFakeMotionEvent(display, DefaultScreen(display), point.X, point.Y, CurrentTime);
  XFlush(display);
}

void X11Mouse::Button(MouseButton button, bool down) {
  Display* display = Connection->Handle();
  if (Connection->Lost() || !Connection->HasXTest()) return;
  const unsigned int number = button == MouseButton::Left ? Button1 : Button3;
  XTestFakeButtonEvent(display, number, down ? True : False, CurrentTime);
  XFlush(display);
}

}  // namespace quillon::platform

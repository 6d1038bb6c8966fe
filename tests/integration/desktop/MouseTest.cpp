// The pointer moved and clicked through the X11 mouse, read back from the server and seen by a
// real client.

#include "X11Fixture.h"

namespace quillon::test {
namespace {

using platform::MouseButton;
using platform::Point;

class MouseTest : public X11Fixture {};

TEST_F(MouseTest, MovesThePointerAndReadsItBack) {
  for (const Point point : {Point{10, 20}, Point{1023, 767}, Point{0, 0}, Point{512, 384}}) {
    Pointer->MoveTo(point);
    EXPECT_EQ(Pointer->Position(), point);
  }
}

TEST_F(MouseTest, ClicksReachTheWindowUnderThePointer) {
  const Client& client = StartClient("Click Target");
  Pointer->MoveTo(CentreOf(Windows->FindByTitle("Click Target")));

  Pointer->Button(MouseButton::Left, true);
  Pointer->Button(MouseButton::Left, false);
  Pointer->Button(MouseButton::Right, true);
  Pointer->Button(MouseButton::Right, false);

  const std::vector<std::string> expected = {"button 1", "button 3"};
  EXPECT_EQ(Received(client, expected.size()), expected);
}

}  // namespace
}  // namespace quillon::test

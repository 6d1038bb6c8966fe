// The X server ends while the backends run: they become unavailable, and nothing ends the
// program.

#include "X11Fixture.h"

namespace quillon::test {
namespace {

class LostDisplayTest : public X11Fixture {};

TEST_F(LostDisplayTest, BackendsBecomeUnavailableWhenTheServerEnds) {
  StartClient("Before The End");
  ASSERT_TRUE(Keys->IsAvailable());

  Server.Stop();
  Keys->KeyEvent('A', 0, false);
  Keys->KeyEvent('A', 0, true);
  Pointer->MoveTo({5, 5});
  Pointer->Button(platform::MouseButton::Left, true);

  EXPECT_FALSE(Keys->IsAvailable());
  EXPECT_FALSE(Keys->NumLockOn());
  EXPECT_EQ(Pointer->Position(), platform::Point{});
  EXPECT_TRUE(Windows->TopLevelWindows().empty());
  EXPECT_EQ(Windows->FindByTitle("Before The End"), 0u);
  EXPECT_EQ(Windows->Foreground(), 0u);
  Windows->Activate(1);
  Windows->Close(1);
  EXPECT_EQ(System->Screen(), platform::ScreenSize{});
  EXPECT_FALSE(System->ScreenSaverActive());
  System->SetScreenSaverActive(true);
  Keys.reset();
  Windows.reset();
  Connection.reset();
}

}  // namespace
}  // namespace quillon::test

// The screen and the X server's screen saver through the X11 system control, read back
// through a connection of the test's own; shut-down through it to a stand-in logind.

#include "X11Fixture.h"
#include "platform/linux/X11Backends.h"

namespace quillon::test {
namespace {

using platform::ShutdownKind;

struct SaverSettings {
  int Timeout = 0;
  int Interval = 0;
  int Blanking = 0;
  int Exposures = 0;
};

class SystemControlTest : public X11Fixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(X11Fixture::SetUp());
    Original = Saver();
  }
  void TearDown() override {
    if (Probe) SetSaverTimeout(Original.Timeout);
    X11Fixture::TearDown();
  }

  SaverSettings Saver() const {
    SaverSettings saver;
    XGetScreenSaver(Probe->Handle(), &saver.Timeout, &saver.Interval, &saver.Blanking,
                    &saver.Exposures);
    return saver;
  }
  void SetSaverTimeout(int timeout) const {
    const SaverSettings saver = Saver();
    XSetScreenSaver(Probe->Handle(), timeout, saver.Interval, saver.Blanking, saver.Exposures);
    XSync(Probe->Handle(), False);
  }

  SaverSettings Original;
};

TEST_F(SystemControlTest, TurnsTheScreenSaverOffAndBackOnWithItsTimeout) {
  SetSaverTimeout(123);
  ASSERT_TRUE(System->ScreenSaverActive());

  System->SetScreenSaverActive(false);
  EXPECT_FALSE(System->ScreenSaverActive());
  EXPECT_EQ(Saver().Timeout, 0);

  System->SetScreenSaverActive(true);
  EXPECT_TRUE(System->ScreenSaverActive());
  EXPECT_EQ(Saver().Timeout, 123);
}

TEST_F(SystemControlTest, TurnsOnAScreenSaverThatWasOffWithTheDefaultTimeout) {
  SetSaverTimeout(0);
  ASSERT_FALSE(System->ScreenSaverActive());

  System->SetScreenSaverActive(true);
  EXPECT_EQ(Saver().Timeout, 600);
}

TEST_F(SystemControlTest, ShutdownGoesToLogind) {
  LogindOnPrivateBus logind;
  ASSERT_TRUE(logind.Start(Scratch.Path(), false)) << "the private bus or logind did not start";
  Environment.Set("DBUS_SYSTEM_BUS_ADDRESS", logind.Address());

  EXPECT_TRUE(System->Shutdown(ShutdownKind::PowerOff, true));
  EXPECT_TRUE(System->Shutdown(ShutdownKind::Reboot, false));

  const std::vector<std::string> expected = {"PowerOff false", "Reboot true"};
  EXPECT_EQ(FileLines(logind.Record()), expected);
}

class X11BackendsTest : public X11Fixture {};

TEST_F(X11BackendsTest, OpenOverOneConnectionToTheNamedDisplay) {
  auto opened = platform::OpenX11Backends(Server.Name().c_str());
  ASSERT_TRUE(opened) << opened.ErrorMessage();
  const platform::X11Backends& backends = opened.Value();

  EXPECT_TRUE(backends.TheKeyboard->IsAvailable());
  EXPECT_EQ(backends.TheSystem->Screen(), (platform::ScreenSize{1024, 768}));
  backends.TheMouse->MoveTo({7, 9});
  EXPECT_EQ(backends.TheMouse->Position(), (platform::Point{7, 9}));
  EXPECT_TRUE(backends.TheDesktop->TopLevelWindows().empty());
}

TEST(X11BackendsOpenTest, SaysWhichDisplayCouldNotBeOpened) {
  const auto backends = platform::OpenX11Backends(":65000");
  ASSERT_FALSE(backends);
  EXPECT_NE(backends.ErrorMessage().find(":65000"), std::string::npos) << backends.ErrorMessage();
}

}  // namespace
}  // namespace quillon::test

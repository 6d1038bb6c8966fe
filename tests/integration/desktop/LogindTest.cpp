// Power-off and restart requests to a stand-in logind on a private bus.

#include <gtest/gtest.h>

#include "TestServers.h"
#include "TestSupport.h"
#include "platform/linux/LogindPower.h"

namespace quillon::test {
namespace {

using platform::LogindShutdown;
using platform::ShutdownKind;

class LogindTest : public ::testing::Test {
 protected:
  void Start(bool refuse) {
    ASSERT_TRUE(Logind.Start(Scratch.Path(), refuse)) << "the bus or the stand-in did not start";
    Environment.Set("DBUS_SYSTEM_BUS_ADDRESS", Logind.Address());
  }
  void TearDown() override {
    Logind.Stop();
    Environment.Restore();
  }

  ScratchFolder Scratch;
  EnvironmentChanges Environment;
  LogindOnPrivateBus Logind;
};

TEST_F(LogindTest, PowerOffAndRebootReachLogindWithTheInteractiveFlag) {
  ASSERT_NO_FATAL_FAILURE(Start(false));

  const Result<Done> powerOff = LogindShutdown(ShutdownKind::PowerOff, false);
  const Result<Done> reboot = LogindShutdown(ShutdownKind::Reboot, true);

  EXPECT_TRUE(powerOff) << (powerOff ? "" : powerOff.ErrorMessage());
  EXPECT_TRUE(reboot) << (reboot ? "" : reboot.ErrorMessage());
  const std::vector<std::string> expected = {"PowerOff false", "Reboot true"};
  EXPECT_EQ(FileLines(Logind.Record()), expected);
}

TEST_F(LogindTest, ARefusalIsAnErrorWithLogindsMessage) {
  ASSERT_NO_FATAL_FAILURE(Start(true));

  const Result<Done> refused = LogindShutdown(ShutdownKind::Reboot, false);

  ASSERT_FALSE(refused);
  EXPECT_NE(refused.ErrorMessage().find("Access denied by the stand-in"), std::string::npos)
      << refused.ErrorMessage();
}

TEST_F(LogindTest, NoBusIsAnError) {
  Environment.Set("DBUS_SYSTEM_BUS_ADDRESS",
                  "unix:path=" + (Scratch.Path() / "no-bus-here").string());

  const Result<Done> failed = LogindShutdown(ShutdownKind::PowerOff, false);

  ASSERT_FALSE(failed);
  EXPECT_NE(failed.ErrorMessage().find("system bus"), std::string::npos) << failed.ErrorMessage();
}

}  // namespace
}  // namespace quillon::test

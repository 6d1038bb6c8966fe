// The key sender over the X11 backends: a key string typed into a real client found by part of
// its title, as a send-keys command does it.

#include "X11Fixture.h"

#include "core/actions/SendKey.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/PollEventLoop.h"

namespace quillon::test {
namespace {

class SendKeyTest : public WithAndWithoutWindowManager {
 protected:
  platform::LinuxClock Clock;
  platform::PollEventLoop Loop{Clock};
};

TEST_P(SendKeyTest, TypesAKeyStringIntoAWindowFoundByPartOfItsTitle) {
  const Client& client = StartClient("Photo Viewer - holiday.jpg");
  TSendKey sender(*Keys, *Windows, Loop, Clock);
  sender.TitleText = "VIEWER";
  sender.Keys = "ab!{c}12?:_[Return]^{a}[ f1 ][NoSuchKey]z";
  sender.Delay = 5;
  sender.execute();

  const std::vector<std::string> expected = {
      "key a",     "key b",          "key C",      "key 1",   "key 2",  "key question",
      "key colon", "key underscore", "key Return", "key C-a", "key F1", "key z"};
  EXPECT_EQ(Received(client, expected.size()), expected);
}

INSTANTIATE_TEST_SUITE_P(Desktops, SendKeyTest, ::testing::Values(false, true), WindowManagerName);

}  // namespace
}  // namespace quillon::test

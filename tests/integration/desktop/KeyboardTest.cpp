// Keys injected through the X11 keyboard into a real client that the desktop backend found by
// its title and activated, with and without a window manager.

#include "X11Fixture.h"

#include <X11/keysym.h>

#include <algorithm>
#include <initializer_list>

namespace quillon::test {
namespace {

constexpr std::uint8_t Shift = 16;
constexpr std::uint8_t Control = 17;
constexpr std::uint8_t NumLock = 144;

class KeyboardTest : public WithAndWithoutWindowManager {
 protected:
  void Tap(std::uint8_t key) {
    Keys->KeyEvent(key, 0, false);
    Keys->KeyEvent(key, 0, true);
  }
  // Taps `keys` while `modifier` is held.
  void Holding(std::uint8_t modifier, std::initializer_list<std::uint8_t> keys) {
    Keys->KeyEvent(modifier, 0, false);
    for (const std::uint8_t key : keys) Tap(key);
    Keys->KeyEvent(modifier, 0, true);
  }
  // Whether a keycode carries `symbol` in the server's keyboard mapping now.
  bool ServerMapsKeysym(KeySym symbol) const {
    Display* display = Probe->Handle();
    int low = 0;
    int high = 0;
    XDisplayKeycodes(display, &low, &high);
    int perKeycode = 0;
    KeySym* mapping =
        XGetKeyboardMapping(display, static_cast<KeyCode>(low), high - low + 1, &perKeycode);
    const KeySym* end = mapping + static_cast<std::ptrdiff_t>(high - low + 1) * perKeycode;
    const bool found = std::find(static_cast<const KeySym*>(mapping), end, symbol) != end;
    XFree(mapping);
    return found;
  }
  // Starts a client and makes it the window that receives keys.
  Client& FocusedClient() {
    Client& client = StartClient("Key Target");
    const platform::WindowId window = Windows->FindByTitle("Key Target");
    Windows->Activate(window);
    EXPECT_EQ(Windows->Foreground(), window);
    return client;
  }
};

TEST_P(KeyboardTest, IsAvailableOnAServerWithXTest) { EXPECT_TRUE(Keys->IsAvailable()); }

TEST_P(KeyboardTest, TypesAMixedSequenceIntoTheActivatedWindow) {
  const Client& client = FocusedClient();
  Tap('A');
  Tap('B');
  Holding(Shift, {'C'});
  Tap('1');
  Tap('2');
  Holding(Shift, {'1', 186, 191});
  Tap(189);
  Tap(222);
  Tap(32);
  Tap(9);
  Tap(8);
  Tap(27);
  Tap(37);
  Tap(112);
  Tap(13);
  Holding(Control, {'A'});

  const std::vector<std::string> expected = {
      "key a",         "key b",        "key C",     "key 1",          "key 2",      "key exclam",
      "key colon",     "key question", "key minus", "key apostrophe", "key space",  "key Tab",
      "key BackSpace", "key Escape",   "key Left",  "key F1",         "key Return", "key C-a"};
  EXPECT_EQ(Received(client, expected.size()), expected);
}

TEST_P(KeyboardTest, TypesKeysTheKeyboardMappingLacksThroughASpareKeycode) {
  const Client& client = FocusedClient();
  Tap(124);  // F13: no keycode carries it in the server's mapping
  Tap(135);  // F24
  Tap('A');
  Tap(124);

  const std::vector<std::string> expected = {"key F13", "key F24", "key a", "key F13"};
  EXPECT_EQ(Received(client, expected.size()), expected);
  Keys.reset();
  EXPECT_FALSE(ServerMapsKeysym(XK_F13)) << "the spare keycode stayed bound";
}

TEST_P(KeyboardTest, NumLockTogglesAndDecidesWhatTheKeypadTypes) {
  const Client& client = FocusedClient();
  ASSERT_FALSE(Keys->NumLockOn());
  Tap(NumLock);
  EXPECT_TRUE(Keys->NumLockOn());
  Tap(103);  // numeric-pad 7
  Tap(110);  // numeric-pad decimal point
  Tap(NumLock);
  EXPECT_FALSE(Keys->NumLockOn());
  Tap(103);

  const std::vector<std::string> expected = {"key KP_7", "key KP_Decimal", "key KP_Home"};
  EXPECT_EQ(Received(client, expected.size()), expected);
}

TEST_P(KeyboardTest, IgnoresCodesThatNameNoKey) {
  const Client& client = FocusedClient();
  Tap(1);  // the left mouse button
  Tap(255);
  Tap('Z');
  EXPECT_EQ(Received(client, 1), std::vector<std::string>{"key z"});
}

INSTANTIATE_TEST_SUITE_P(Desktops, KeyboardTest, ::testing::Values(false, true), WindowManagerName);

}  // namespace
}  // namespace quillon::test

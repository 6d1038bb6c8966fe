#include "core/actions/SendKey.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EffectTrace.h"
#include "core/actions/KeyNames.h"
#include "core/actions/KeyboardLayout.h"
#include "platform/fake/FakeDesktopSystem.h"
#include "platform/fake/FakeEventLoop.h"

namespace quillon {
namespace {

using KeyEvents = std::vector<std::string>;

struct SendKeyFixture : ::testing::Test {
  // Sends `keys` to the window titled "Editor" and gives the key events.
  KeyEvents Send(const std::string& keys) {
    SendKey.TitleText = "Editor";
    SendKey.Keys = keys;
    SendKey.execute();
    return test::KeyTrace(System.Log);
  }

  platform::FakeDesktopSystem System;
  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  TSendKey SendKey{System.Keyboard, System.Desktop, Loop, Clock};
};

TEST_F(SendKeyFixture, KeyStringsBecomeKeyEvents) {
  // Control and Alt are pressed with their character codes (0), Shift with its scan code (42);
  // every modifier is released with scan code 0.
  const struct {
    std::string Keys;
    KeyEvents Events;
    std::int64_t Tokens;  // each waits Delay
  } cases[] = {
      {"^{!{s}}", {"+17 0", "+16 42", "+83 31", "-83 31", "-16 0", "-17 0"}, 5},
      {"!a", {"+16 42", "-16 0", "+65 30", "-65 30"}, 2},
      {"A", {"+65 30", "-65 30"}, 1},
      // A Shift group never closed is released at the end.
      {"!{ab", {"+16 42", "+65 30", "-65 30", "+66 48", "-66 48", "-16 0"}, 3},
      // Left open: released Shift, Alt, Control.
      {"^{&{!{x", {"+17 0", "+18 0", "+16 42", "+88 45", "-88 45", "-16 0", "-18 0", "-17 0"}, 4},
      {"_", {"+16 42", "+189 12", "-189 12", "-16 0"}, 3},
      {"a:b", {"+65 30", "-65 30", "+16 42", "+186 39", "-186 39", "-16 0", "+66 48", "-66 48"}, 5},
      // Special keys carry their character code: none for F5, 32 for Space.
      {"[F5]", {"+116 0", "-116 0"}, 1},
      {"[ f5 ]", {"+116 0", "-116 0"}, 1},
      {"[Space]", {"+32 32", "-32 32"}, 1},
      {"[nope]x", {"+88 45", "-88 45"}, 2},
      // A name runs to the end of the string when no "]" follows.
      {"x[F5", {"+88 45", "-88 45", "+116 0", "-116 0"}, 2},
      {"[]x[", {"+88 45", "-88 45"}, 3},
      {"[", {}, 1},
      // A stray "}" and a "{" after no modifier do nothing.
      {"}a{b", {"+65 30", "-65 30", "+66 48", "-66 48"}, 4},
      {"ä", {}, 1},
  };
  System.Desktop.AddWindow("Editor");
  for (const auto& c : cases) {
    System.Log.Clear();
    const std::int64_t start = Clock.Counter();
    SendKey.Delay = 5;
    EXPECT_EQ(Send(c.Keys), c.Events) << c.Keys;
    EXPECT_EQ(Clock.Counter() - start, c.Tokens * 5 * platform::CounterTicksPerMillisecond)
        << c.Keys;
  }
}

TEST_F(SendKeyFixture, NumLockIsSetForTheKeyAndRestored) {
  System.Desktop.AddWindow("Editor");
  const KeyEvents toggle = {"+144 69", "-144 69"};
  const struct {
    bool NumLock;
    std::string Keys;
    KeyEvents Middle;
    bool Toggled;
  } cases[] = {
      {false, "[NumPad9]", {"+105 57", "-105 57"}, true},
      {true, "[NumPad9]", {"+105 57", "-105 57"}, false},
      {true, "[Home]", {"+36 0", "-36 0"}, true},
      {false, "[Home]", {"+36 0", "-36 0"}, false},
  };
  for (const auto& c : cases) {
    System.Log.Clear();
    System.Keyboard.SetNumLock(c.NumLock);
    KeyEvents expected = c.Middle;
    if (c.Toggled) {
      expected.insert(expected.begin(), toggle.begin(), toggle.end());
      expected.insert(expected.end(), toggle.begin(), toggle.end());
    }
    EXPECT_EQ(Send(c.Keys), expected) << c.Keys << " " << c.NumLock;
    EXPECT_EQ(System.Keyboard.NumLockOn(), c.NumLock);
  }
}

TEST_F(SendKeyFixture, NothingIsSentWithoutATarget) {
  System.Desktop.AddWindow("Notes");
  SendKey.Keys = "abc";
  SendKey.TitleText = "";
  SendKey.execute();
  EXPECT_TRUE(System.Log.Effects().empty());
  SendKey.TitleText = "Spreadsheet";
  SendKey.execute();
  EXPECT_TRUE(System.Log.Effects().empty());
  EXPECT_FALSE(SendKey.FindAndActivate("Spreadsheet"));
}

TEST_F(SendKeyFixture, PartOfATitleTypesIntoEachMatchingWindowButTheProgramsOwn) {
  System.Desktop.AddWindow("Quillon - notes");
  const auto a = System.Desktop.AddWindow("Notes - a.txt");
  System.Desktop.AddWindow("Other");
  const auto b = System.Desktop.AddWindow("notes - b.txt");
  System.Desktop.AddWindow("QUILLON notes");
  SendKey.TitleText = "NOTES";
  SendKey.Keys = "x";
  SendKey.execute();
  EXPECT_EQ(SendKey.TargetWindowList(), (std::vector<platform::WindowId>{a, b}));
  EXPECT_EQ(test::Trace(System.Log),
            (KeyEvents{"activate title=\"Notes - a.txt\"", "raise title=\"Notes - a.txt\"",
                       "activate title=\"Notes - a.txt\"", "raise title=\"Notes - a.txt\"",
                       "+88 45", "-88 45", "activate title=\"notes - b.txt\"",
                       "raise title=\"notes - b.txt\"", "+88 45", "-88 45"}));
}

TEST_F(SendKeyFixture, AnExactTitleTypesIntoThatWindowOnly) {
  System.Desktop.AddWindow("Notes - a.txt");
  System.Desktop.AddWindow("Notes", /*minimized=*/true);
  SendKey.TitleText = "Notes";
  SendKey.Keys = "x";
  SendKey.execute();
  EXPECT_TRUE(SendKey.TargetWindowList().empty());
  EXPECT_EQ(test::Trace(System.Log),
            (KeyEvents{"restore title=\"Notes\"", "activate title=\"Notes\"",
                       "raise title=\"Notes\"", "+88 45", "-88 45"}));
}

TEST_F(SendKeyFixture, WindowSearchOrder) {
  const struct {
    std::vector<std::string> Windows;  // topmost first
    std::string Title;
    bool Found;
    std::string Activated;  // empty: none
    std::size_t Targets;
  } cases[] = {
      // The topmost window matching by part is used alone.
      {{"My Notes", "Notes 2"}, "notes", true, "My Notes", 0},
      // Further down, the same title in another letter case ends the search.
      {{"Other", "NOTES"}, "notes", true, "NOTES", 0},
      // ... even the program's own window.
      {{"Other", "Quillon"}, "quillon", true, "Quillon", 0},
      {{"Quillon notes", "Other"}, "notes", false, "", 0},
      {{}, "notes", false, "", 0},
  };
  for (const auto& c : cases) {
    platform::FakeDesktopSystem system;
    for (const auto& title : c.Windows) system.Desktop.AddWindow(title);
    TSendKey sender{system.Keyboard, system.Desktop, Loop, Clock};
    EXPECT_EQ(sender.FindAndActivate(c.Title), c.Found) << c.Title;
    const KeyEvents expected = c.Activated.empty()
                                   ? KeyEvents{}
                                   : KeyEvents{"activate title=\"" + c.Activated + "\"",
                                               "raise title=\"" + c.Activated + "\""};
    EXPECT_EQ(test::Trace(system.Log), expected) << c.Title;
    EXPECT_EQ(sender.TargetWindowList().size(), c.Targets) << c.Title;
  }
}

TEST_F(SendKeyFixture, AtMostAHundredTargetWindows) {
  System.Desktop.AddWindow("Other");
  for (int i = 0; i < 150; ++i) System.Desktop.AddWindow("doc " + std::to_string(i));
  EXPECT_TRUE(SendKey.FindAndActivate("DOC"));
  EXPECT_EQ(SendKey.TargetWindowList().size(), TSendKey::MaxTargets);
}

TEST_F(SendKeyFixture, AWalkThatFindsNothingInAThousandWindowsStillSends) {
  for (int i = 0; i < 1002; ++i) System.Desktop.AddWindow("window " + std::to_string(i));
  System.Desktop.AddWindow("target");
  EXPECT_TRUE(SendKey.FindAndActivate("targ"));
  EXPECT_TRUE(System.Log.Effects().empty());
}

TEST(SendKeyLanguage, ShiftedCharactersBecomeShiftGroups) {
  EXPECT_EQ(ExpandShiftedCharacters("a_b:\"|~!{x}^&"), "a!{-}b!{;}!{'}!{\\}!{`}!{x}^&");
  EXPECT_EQ(ExpandShiftedCharacters("#$%()*+@<>?"), "!{3}!{4}!{5}!{9}!{0}!{8}!{=}!{2}!{,}!{.}!{/}");
}

TEST(SendKeyLanguage, ReadableKeys) {
  const struct {
    std::string Keys;
    std::string Readable;
  } cases[] = {
      {"^{&{x}}", "Control + Alt + x  "},
      {"!{[f5]}", "Shift + [f5] "},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadableKeys(c.Keys), c.Readable) << c.Keys;
}

TEST(SendKeyLanguage, KeyNameTables) {
  EXPECT_EQ(FindSpecialKey(" f5 "), 52U);
  EXPECT_EQ(FindSpecialKey("NUMPAD0"), FirstNumPadRow);
  EXPECT_EQ(FindSpecialKey("numpad9"), LastNumPadRow);
  EXPECT_EQ(FindSpecialKey("Scroll"), SpecialKeyCount);
  EXPECT_FALSE(FindSpecialKey("Alt"));
  EXPECT_EQ(SpecialKeyNames[FindSpecialKey("menu").value() - 1].VirtualKey, 91);
  EXPECT_EQ(KeyDisplayNames[17].Name, "Rigth");
  EXPECT_EQ(KeyDisplayNames[17].VirtualKey, 39);
  EXPECT_EQ(KeyDisplayNames[99].Name, "'");
}

TEST(KeyboardLayout, UsLayoutCodes) {
  const struct {
    char Character;
    std::uint8_t VirtualKey;
  } characters[] = {{'a', 65},  {'A', 65},  {'z', 90},   {'0', 48},  {'9', 57}, {' ', 32},
                    {';', 186}, {':', 186}, {'?', 191},  {'-', 189}, {'*', 56}, {'+', 187},
                    {'\n', 13}, {'\t', 9},  {'\x01', 0}, {'\x80', 0}};
  for (const auto& c : characters) {
    EXPECT_EQ(VirtualKeyOfChar(c.Character), c.VirtualKey) << int{c.Character};
  }
  const struct {
    std::uint8_t VirtualKey;
    std::uint16_t ScanCode;
    std::uint16_t CharacterCode;
  } keys[] = {{16, 0x2A, 0},    {17, 0x1D, 0},    {18, 0x38, 0},     {65, 0x1E, 'A'},
              {105, 0x49, '9'}, {106, 0x37, '*'}, {116, 0x3F, 0},    {144, 0x45, 0},
              {13, 0x1C, 13},   {189, 0x0C, '-'}, {222, 0x28, '\''}, {7, 0, 0}};
  for (const auto& k : keys) {
    EXPECT_EQ(MapVirtualKey(k.VirtualKey, KeyMapping::ScanCode), k.ScanCode) << int{k.VirtualKey};
    EXPECT_EQ(MapVirtualKey(k.VirtualKey, KeyMapping::CharacterCode), k.CharacterCode)
        << int{k.VirtualKey};
  }
}

}  // namespace
}  // namespace quillon

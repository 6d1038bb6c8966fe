#include "core/shell/StartUp.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempFolder.h"
#include "core/shell/MainWindowTexts.h"
#include "core/shell/Settings.h"
#include "platform/fake/FakeRegistry.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

TEST(StartUp, MainWindowSettingsReadTheirDefaultsAndRoundTrip) {
  platform::FakeRegistry registry;
  EXPECT_EQ(ReadMainWindowSettings(registry), MainWindowSettings{});
  MainWindowSettings settings{Bulgarian, true, false, false, "", "/data/Evening.rir"};
  ASSERT_TRUE(WriteMainWindowSettings(registry, settings).Ok());
  EXPECT_EQ(ReadMainWindowSettings(registry), settings);
  registry.SetValue(ProductKey, "RmtCtrlType", std::string("VIZIO  VX32L"));
  EXPECT_EQ(ReadMainWindowSettings(registry).RemoteType, "VIZIO  VX32L");
}

TEST(StartUp, TheAutostartEntryFollowsTheXdgRules) {
  EXPECT_EQ(AutoStartEntryPath("/xdg", "/home/u").Value(),
            fs::path("/xdg/autostart/quillon.desktop"));
  EXPECT_EQ(AutoStartEntryPath(nullptr, "/home/u").Value(),
            fs::path("/home/u/.config/autostart/quillon.desktop"));
  EXPECT_EQ(AutoStartEntryPath("relative", "/home/u").Value(),
            fs::path("/home/u/.config/autostart/quillon.desktop"));
  EXPECT_FALSE(AutoStartEntryPath(nullptr, nullptr).Ok());
}

TEST(StartUp, TheEntryStartsTheProgramWithItsPathQuoted) {
  EXPECT_EQ(AutoStartEntryText("/opt/quillon/bin/quillon"),
            "[Desktop Entry]\nType=Application\nName=Quillon\n"
            "Comment=Infrared remote control as an input device\n"
            "Exec=\"/opt/quillon/bin/quillon\"\nTerminal=false\n"
            "X-GNOME-Autostart-enabled=true\n");
  const std::string odd = AutoStartEntryText("/opt/a \"b\" $c `d` 100%\\e/quillon");
  EXPECT_NE(odd.find("Exec=\"/opt/a \\\\\"b\\\\\" \\\\$c \\\\`d\\\\` 100%%\\\\\\\\e/quillon\"\n"),
            std::string::npos)
      << odd;
}

TEST(StartUp, TickingWritesTheEntryAndUntickingRemovesIt) {
  test::TempFolder config;
  const fs::path entry = config.Path / "autostart" / "quillon.desktop";
  EXPECT_FALSE(AutoStartEnabled(entry));
  EXPECT_TRUE(RemoveAutoStartEntry(entry).Ok());  // no entry: nothing to do
  ASSERT_TRUE(WriteAutoStartEntry(entry, "/usr/bin/quillon").Ok());
  EXPECT_TRUE(AutoStartEnabled(entry));
  std::ostringstream content;
  content << std::ifstream(entry).rdbuf();
  EXPECT_EQ(content.str(), AutoStartEntryText("/usr/bin/quillon"));
  ASSERT_TRUE(RemoveAutoStartEntry(entry).Ok());
  EXPECT_FALSE(fs::exists(entry));
  std::ofstream{entry};  // an empty entry starts nothing
  EXPECT_FALSE(AutoStartEnabled(entry));
}

TEST(MainWindowTexts, EveryTextHasItsTwinAndControlsAreNamed) {
  for (const ControlText& entry : MainWindowTexts) {
    EXPECT_FALSE(entry.Control.empty());
    EXPECT_FALSE(entry.Text.InEnglish.empty()) << entry.Control;
    EXPECT_FALSE(entry.Text.InBulgarian.empty()) << entry.Control;
  }
  for (const BilingualText& text : OperationTexts) {
    EXPECT_FALSE(text.InBulgarian.empty()) << text.InEnglish;
  }
  EXPECT_EQ(MainWindowText("ButtonTest", TextProperty::Caption, Bulgarian), "Готов съм !");
  EXPECT_EQ(MainWindowText("ButtonTest", TextProperty::Hint, English), "");
}

}  // namespace
}  // namespace quillon

#include "core/shell/CurrentFunction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/FakeDesktopSystem.h"
#include "platform/fake/FakeEventLoop.h"

namespace quillon {
namespace {

// A label 10 pixels wide per character and 30 high per line, on a 1024x768 screen.
struct FakeHintWindow : CurrentFunctionView {
  HintSize SetLabel(const std::string& text) override {
    Events.push_back("label " + text);
    Label = text;
    return {static_cast<std::int32_t>(text.size()) * 10, 30};
  }
  void Place(std::int32_t left, std::int32_t top, HintSize size) override {
    Events.push_back("place " + std::to_string(left) + "," + std::to_string(top) + " " +
                     std::to_string(size.Width) + "x" + std::to_string(size.Height));
  }
  void ShowWindow() override {
    Events.push_back("show");
    Visible = true;
  }
  void CloseWindow() override {
    Events.push_back("close");
    Visible = false;
  }
  platform::ScreenSize Screen() const override { return {1024, 768}; }

  std::vector<std::string> Events;
  std::string Label;
  bool Visible = false;
};

struct DisplayFixture : ::testing::Test {
  DisplayFixture() { Display.SetHintInterval(2000); }

  std::size_t TaskbarShows() const {
    std::size_t shows = 0;
    for (const auto& effect : Desktop.Log.Effects()) shows += effect.Name == "taskbar";
    return shows;
  }

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  platform::FakeDesktopSystem Desktop;
  Options Settings;
  FakeHintWindow Window;
  CurrentFunctionDisplay Display{Window, Loop, Desktop.System, Settings};
};

TEST_F(DisplayFixture, AFunctionShowsInTheLowerRightCorner) {
  Display.IRShowHint("1. Power");
  EXPECT_EQ(Window.Events,
            (std::vector<std::string>{"label 1. Power", "place 914,688 100x50", "show"}));
  EXPECT_TRUE(Display.Showing());
  EXPECT_EQ(Display.Text(), "1. Power");

  // The same text again neither moves nor resizes the window.
  Window.Events.clear();
  Display.IRShowHint("1. Power");
  EXPECT_TRUE(Window.Events.empty());
  Display.IRShowHint("12. Longer");
  EXPECT_EQ(Window.Events, (std::vector<std::string>{"label 12. Longer", "place 894,688 120x50"}));
}

TEST_F(DisplayFixture, ItClosesShowHintTimeAfterTheLastFunction) {
  Display.IRShowHint("1. Power");
  Loop.AdvanceBy(1500);
  Display.IRShowHint("2. Vol_up");
  Loop.AdvanceBy(1999);
  EXPECT_TRUE(Window.Visible);
  Loop.AdvanceBy(1);
  EXPECT_FALSE(Window.Visible);
  EXPECT_FALSE(Display.Showing());
  EXPECT_EQ(Window.Label, "");
  EXPECT_EQ(TaskbarShows(), 1u);
  EXPECT_TRUE(Display.JustClosed);
  Loop.AdvanceBy(5000);
  EXPECT_EQ(TaskbarShows(), 1u);  // closed once, the timer stopped
}

TEST_F(DisplayFixture, WithShowHintOffNothingShowsButTheTaskbarComesBack) {
  Settings.ShowHint = false;
  Display.IRShowHint("1. Power");
  EXPECT_TRUE(Window.Events.empty());
  Loop.AdvanceBy(2000);
  EXPECT_EQ(TaskbarShows(), 1u);
}

TEST_F(DisplayFixture, ShowingRestartsTheOtherCloseTimer) {
  int restarts = 0;
  Display.RestartAlso([&] { ++restarts; });
  Display.IRShowHint("1. Power");
  Display.IRShowHint("1. Power");
  EXPECT_EQ(restarts, 2);
}

TEST_F(DisplayFixture, BeforeTheFirstActivationTheTimeIsThreeSeconds) {
  CurrentFunctionDisplay display(Window, Loop, Desktop.System, Settings);
  EXPECT_EQ(display.HintInterval(), 3000u);
}

}  // namespace
}  // namespace quillon

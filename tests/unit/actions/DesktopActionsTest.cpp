// Mouse commands and the window services, over the fake desktop on virtual time.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EffectTrace.h"
#include "core/actions/MouseActions.h"
#include "core/actions/WindowActions.h"
#include "platform/fake/FakeDesktopSystem.h"
#include "platform/fake/FakeEventLoop.h"

namespace quillon {
namespace {

using Effects = std::vector<std::string>;
using platform::Point;

struct DesktopFixture : ::testing::Test {
  std::uint32_t ElapsedMs() const {
    return static_cast<std::uint32_t>(Clock.Counter() / platform::CounterTicksPerMillisecond);
  }

  platform::FakeDesktopSystem System;
  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  MouseActions Mouse{System.Mouse, System.System, Loop, Clock};
  WindowActions Windows{System.Desktop, System.Launcher, Loop, Clock};
};

TEST_F(DesktopFixture, StepsStayOnTheScreen) {
  System.System.SetScreen({1024, 768});
  const struct {
    Point Start;
    PointerDirection Direction;
    Point End;
  } cases[] = {
      {{9, 100}, PointerDirection::Left, {9, 100}},
      {{10, 100}, PointerDirection::Left, {0, 100}},
      {{1014, 100}, PointerDirection::Right, {1024, 100}},
      {{1015, 100}, PointerDirection::Right, {1015, 100}},
      {{100, 9}, PointerDirection::Up, {100, 9}},
      {{100, 10}, PointerDirection::Up, {100, 0}},
      {{100, 758}, PointerDirection::Down, {100, 768}},
      {{100, 759}, PointerDirection::Down, {100, 759}},
  };
  for (const auto& c : cases) {
    System.Log.Clear();
    System.Mouse.Place(c.Start);
    const std::uint32_t start = ElapsedMs();
    Mouse.Step(c.Direction);
    EXPECT_EQ(System.Mouse.Position(), c.End) << c.Start.X << "," << c.Start.Y;
    EXPECT_EQ(System.Log.Size(), c.Start == c.End ? 0U : 1U);
    EXPECT_EQ(ElapsedMs() - start, 10U);
  }
}

TEST_F(DesktopFixture, MotionGivenTwiceStopsAndOnceMoreStartsAgain) {
  Mouse.SetMouseStep(50);
  System.Mouse.Place({100, 100});
  Mouse.ToggleMotion("MouseRightMotion");  // ticks at 50, 100, ...
  EXPECT_TRUE(Mouse.MotionRunning());
  Loop.AdvanceBy(90);
  EXPECT_EQ(System.Mouse.Position(), (Point{110, 100}));
  Mouse.ToggleMotion("MouseRightMotion");
  EXPECT_FALSE(Mouse.MotionRunning());
  Loop.AdvanceBy(500);
  EXPECT_EQ(System.Mouse.Position(), (Point{110, 100}));
  Mouse.ToggleMotion("MouseRightMotion");
  Loop.AdvanceBy(50);
  EXPECT_EQ(System.Mouse.Position(), (Point{115, 100}));
}

TEST_F(DesktopFixture, AnotherMotionStopsTheRunningOneAndSetsTheNextDirection) {
  System.Mouse.Place({100, 100});
  Mouse.ToggleMotion("MouseRightMotion");
  Mouse.ToggleMotion("MouseUpMotion");
  EXPECT_FALSE(Mouse.MotionRunning());
  EXPECT_EQ(Mouse.MotionCommand, "MouseUpMotion");
  Mouse.ToggleMotion("MouseUpMotion");
  Loop.AdvanceBy(100);
  EXPECT_EQ(System.Mouse.Position(), (Point{100, 90}));
}

TEST_F(DesktopFixture, MotionTicksStopAtTheScreenEdge) {
  System.System.SetScreen({200, 200});
  const struct {
    std::string Motion;
    Point Start;
    Point End;
  } cases[] = {
      {"MouseLeftMotion", {4, 50}, {4, 50}},      {"MouseLeftMotion", {5, 50}, {0, 50}},
      {"MouseRightMotion", {196, 50}, {196, 50}}, {"MouseRightMotion", {195, 50}, {200, 50}},
      {"MouseUpMotion", {50, 4}, {50, 4}},        {"MouseDownMotion", {50, 195}, {50, 200}},
      {"Nonsense", {50, 50}, {50, 50}},
  };
  for (const auto& c : cases) {
    System.Mouse.Place(c.Start);
    Mouse.MoveMouse(c.Motion);
    EXPECT_EQ(System.Mouse.Position(), c.End) << c.Motion << " " << c.Start.X;
  }
}

TEST_F(DesktopFixture, AClickStopsTheMotionAndHoldsTheButtonBriefly) {
  Mouse.ToggleMotion("MouseDownMotion");
  System.Log.Clear();
  const std::uint32_t start = ElapsedMs();
  Mouse.Click(platform::MouseButton::Right);
  EXPECT_FALSE(Mouse.MotionRunning());
  EXPECT_EQ(test::Trace(System.Log),
            (Effects{"button button=\"right\" down=true", "button button=\"right\" down=false"}));
  EXPECT_EQ(ElapsedMs() - start, 10U);
}

TEST_F(DesktopFixture, TheMouseStepIsClampedToItsRange) {
  System.Mouse.Place({100, 100});
  Mouse.SetMouseStep(1);  // 10 ms at least
  Mouse.ToggleMotion("MouseLeftMotion");
  EXPECT_EQ(System.Mouse.Position(), (Point{95, 100}));
}

TEST_F(DesktopFixture, RunOrCloseEndsARunningProgramOrStartsIt) {
  const std::string Launch =
      "launch path=\"C:\\Apps\\Player\\player.exe\" folder=\"C:\\Apps\\Player\\\"";
  const struct {
    std::vector<std::string> Windows;
    std::string WindowName;
    std::string Last;  // the last effect
  } cases[] = {
      {{"Quillon", "Player"},
       "Player",
       "post title=\"Player\" message=\"WM_QUIT\" wParam=0 lParam=0"},
      // A title that is only part of the window's starts a new copy.
      {{"Player - song"}, "Player", Launch},
      {{}, "Player", Launch},
      // The program's own window is never closed.
      {{"Quillon"}, "Quillon", "activate title=\"Quillon\""},
  };
  for (const auto& c : cases) {
    platform::FakeDesktopSystem system;
    for (const auto& title : c.Windows) system.Desktop.AddWindow(title);
    WindowActions windows{system.Desktop, system.Launcher, Loop, Clock};
    const std::uint32_t start = ElapsedMs();
    windows.RunOrCloseApplication(c.WindowName, "C:\\Apps\\Player\\player.exe");
    const Effects trace = test::Trace(system.Log);
    ASSERT_FALSE(trace.empty()) << c.WindowName;
    EXPECT_EQ(trace.back(), c.Last) << c.WindowName;
    const bool closing = !c.Last.starts_with("launch");
    EXPECT_EQ(ElapsedMs() - start, closing ? 200U : 100U) << c.WindowName;
  }
}

TEST_F(DesktopFixture, AWindowThatCannotComeToTheFrontIsStartedAgain) {
  const auto other = System.Desktop.AddWindow("Other");
  System.Desktop.RefuseActivation(System.Desktop.AddWindow("Player"));
  Windows.RunOrCloseApplication("Player", "player");
  EXPECT_EQ(test::Trace(System.Log).back(), "launch path=\"player\" folder=\"\"");
  EXPECT_EQ(System.Desktop.Foreground(), other);
}

TEST_F(DesktopFixture, WindowMessages) {
  const struct {
    std::string Parameter;
    std::string Post;  // empty: nothing posted
  } cases[] = {
      {"WM_CLOSE,0,0", "post title=\"Viewer\" message=\"WM_CLOSE\" wParam=0 lParam=0"},
      {"wm_command,40001,7", "post title=\"Viewer\" message=\"WM_COMMAND\" wParam=40001 lParam=7"},
      {"WM_COMMAND,abc,5", "post title=\"Viewer\" message=\"WM_COMMAND\" wParam=0 lParam=5"},
      {"WM_COMMAND", ""},
      {"WM_PAINT,1,2", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    platform::FakeDesktopSystem system;
    system.Desktop.AddWindow("Viewer");
    WindowActions windows{system.Desktop, system.Launcher, Loop, Clock};
    const std::uint32_t start = ElapsedMs();
    windows.SendWindowMessage("Viewer", c.Parameter);
    const Effects trace = test::Trace(system.Log);
    if (c.Post.empty()) {
      EXPECT_TRUE(trace.empty()) << c.Parameter;
      EXPECT_EQ(ElapsedMs() - start, 100U) << c.Parameter;
    } else {
      EXPECT_EQ(trace, (Effects{"raise title=\"Viewer\"", "activate title=\"Viewer\"", c.Post}))
          << c.Parameter;
      EXPECT_EQ(ElapsedMs() - start, 500U) << c.Parameter;
    }
  }
}

TEST_F(DesktopFixture, AMessageForAWindowThatIsNotThereIsNotPosted) {
  System.Desktop.AddWindow("Viewer - photo");
  Windows.SendWindowMessage("Viewer", "WM_CLOSE,0,0");
  EXPECT_TRUE(System.Log.Effects().empty());
}

TEST_F(DesktopFixture, FindAndFront) {
  System.Desktop.AddWindow("Top");
  const auto minimized = System.Desktop.AddWindow("Small", /*minimized=*/true);
  const auto shy = System.Desktop.AddWindow("Shy");
  System.Desktop.RefuseActivation(shy);
  EXPECT_EQ(FindAndFront(System.Desktop, "Small", false), minimized);
  EXPECT_FALSE(System.Desktop.IsMinimized(minimized));
  EXPECT_EQ(FindAndFront(System.Desktop, "Shy", false), 0U);
  EXPECT_EQ(FindAndFront(System.Desktop, "Shy", true), shy);
  EXPECT_EQ(FindAndFront(System.Desktop, "None", true), 0U);
  EXPECT_TRUE(IsForegroundTitle(System.Desktop, "Small"));
  EXPECT_FALSE(IsForegroundTitle(System.Desktop, "Shy"));
  EXPECT_TRUE(ActivateIfRunning(System.Desktop, "Top"));
  EXPECT_FALSE(ActivateIfRunning(System.Desktop, "Shy"));
  EXPECT_EQ(test::Trace(System.Log).front(), "restore title=\"Small\"");
}

TEST(WindowActionsText, FolderOfAPath) {
  EXPECT_EQ(FolderOf("C:\\Program Files\\Player\\p.exe"), "C:\\Program Files\\Player\\");
  EXPECT_EQ(FolderOf("/usr/bin/player"), "/usr/bin/");
  EXPECT_EQ(FolderOf("player"), "");
}

}  // namespace
}  // namespace quillon

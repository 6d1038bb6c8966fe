#include "core/actions/ActionExecutor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "EffectTrace.h"
#include "platform/fake/FakeDesktopSystem.h"
#include "platform/fake/FakeEventLoop.h"

namespace quillon {
namespace {

using Effects = std::vector<std::string>;

struct Recorder : ShutDownView, HintDisplay, AudioCommands {
  void ShowCountdown() override { Events.push_back("countdown shown"); }
  void ShowCountdownTexts(const CountdownTexts& texts) override {
    Events.push_back("countdown " + texts.Label);
  }
  void CloseCountdown() override { Events.push_back("countdown closed"); }
  void EndProgram() override { Events.push_back("end"); }
  void IRShowHint(const std::string& text) override { Events.push_back("hint " + text); }
  void CloseHint() override { Events.push_back("close hint"); }
  void ExecuteAudioCommand(const std::string& parameter) override {
    Events.push_back("audio " + parameter);
  }
  Effects Events;
};

// A desktop with the program's own window and a player, the pointer at (100, 100).
struct ExecutorBench {
  ExecutorBench() {
    System.Desktop.AddWindow("Quillon");
    System.Desktop.AddWindow("Player");
    System.Mouse.Place({100, 100});
  }

  std::uint32_t Run(const CommandRecord& record) {
    const std::int64_t start = Clock.Counter();
    Executor.ExecuteCommand(record);
    return static_cast<std::uint32_t>((Clock.Counter() - start) /
                                      platform::CounterTicksPerMillisecond);
  }

  platform::FakeDesktopSystem System;
  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  Recorder View;
  LanguageFlag Language = English;
  ActionExecutor Executor{
      {System.Keyboard, System.Mouse, System.Desktop, System.Launcher, System.System, Loop, Clock},
      View,
      View,
      View,
      Language};
};

TEST(ActionExecutor, BuiltInCommands) {
  const std::string quit = "post title=\"Player\" message=\"WM_QUIT\" wParam=0 lParam=0";
  const struct {
    std::string Name;
    Effects Last;  // the last platform effect, if any
    Effects View;
    std::uint32_t Ms;
  } cases[] = {
      {"MouseLeftClick", {"button button=\"left\" down=false"}, {}, 10},
      {"MouseRightClick", {"button button=\"right\" down=false"}, {}, 10},
      {"Reboot Computer", {}, {"countdown shown", "countdown Reboot after: 10 sec."}, 0},
      {"Turn Off Computer", {}, {"countdown shown", "countdown Shut Down after: 10 sec."}, 0},
      {"Run/Close Application", {quit}, {}, 200},
      {"On/Off  Screen Saver", {"screensaver active=true"}, {}, 0},
      {"MouseUpMotion", {}, {}, 10},
      {"MouseLeft", {"pointer x=90 y=100"}, {}, 10},
      {"MouseRight", {"pointer x=110 y=100"}, {}, 10},
      {"MouseUp", {"pointer x=100 y=90"}, {}, 10},
      {"MouseDown", {"pointer x=100 y=110"}, {}, 10},
      {"none", {}, {}, 0},
      {"Close Group", {}, {}, 0},
      {"On/Off Screen Saver", {}, {}, 0},
      {"mouseleft", {}, {}, 0},
  };
  for (const auto& c : cases) {
    ExecutorBench bench;
    const std::uint32_t ms =
        bench.Run({"Player", "C:\\Player\\player.exe", CommandKind::Command, c.Name});
    const Effects trace = test::Trace(bench.System.Log);
    EXPECT_EQ(trace.empty() ? Effects{} : Effects{trace.back()}, c.Last) << c.Name;
    EXPECT_EQ(bench.View.Events, c.View) << c.Name;
    EXPECT_EQ(ms, c.Ms) << c.Name;
  }
}

TEST(ActionExecutor, EveryKind) {
  ExecutorBench bench;
  ActionExecutor& executor = bench.Executor;

  EXPECT_EQ(bench.Run({"Player", "p.exe", CommandKind::None, ""}), 10U);
  EXPECT_EQ(bench.Run({"Viewer", "v.exe", CommandKind::GroupKey, ""}), 10U);
  EXPECT_EQ(executor.SendKey.TitleText, "Viewer");
  EXPECT_TRUE(bench.System.Log.Effects().empty());

  // Keys always go with a delay of 5 ms a token.
  executor.SendKey.Delay = 100;
  EXPECT_EQ(bench.Run({"Player", "p.exe", CommandKind::SendKeys, "ab"}), 10U);
  EXPECT_EQ(executor.SendKey.Delay, 5);
  EXPECT_EQ(executor.SendKey.TitleText, "Player");
  EXPECT_EQ(test::Trace(bench.System.Log),
            (Effects{"activate title=\"Player\"", "raise title=\"Player\"", "+65 30", "-65 30",
                     "+66 48", "-66 48"}));

  bench.System.Log.Clear();
  EXPECT_EQ(bench.Run({"Player", "p.exe", CommandKind::WindowMessage, "WM_COMMAND,40001,0"}), 500U);
  EXPECT_EQ(bench.System.Log.Texts().back(),
            "post title=\"Player\" message=\"WM_COMMAND\" wParam=40001 lParam=0");

  bench.System.Log.Clear();
  EXPECT_EQ(bench.Run({"Player", "p.exe", CommandKind::AudioCommand, "Mixer 0/Master/PCM/Mute"}),
            0U);
  EXPECT_EQ(bench.View.Events, Effects{"audio Mixer 0/Master/PCM/Mute"});
  EXPECT_TRUE(bench.System.Log.Effects().empty());
}

TEST(ActionExecutor, AStepStopsTheMotion) {
  ExecutorBench bench;
  bench.Executor.Mouse.SetMouseStep(20);
  bench.Run({"", "", CommandKind::Command, "MouseRightMotion"});
  bench.Loop.AdvanceBy(30);  // ticks at 20 and 40
  EXPECT_EQ(bench.System.Mouse.Position(), (platform::Point{110, 100}));
  bench.Run({"", "", CommandKind::Command, "MouseDown"});
  EXPECT_FALSE(bench.Executor.Mouse.MotionRunning());
  bench.Loop.AdvanceBy(1000);
  EXPECT_EQ(bench.System.Mouse.Position(), (platform::Point{110, 110}));
}

}  // namespace
}  // namespace quillon

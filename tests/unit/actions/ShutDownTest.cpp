#include "core/actions/ShutDown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/FakeDesktopSystem.h"
#include "platform/fake/FakeEventLoop.h"

namespace quillon {
namespace {

using Lines = std::vector<std::string>;

// The countdown window and the current-function window, as one list of what they were told.
struct RecordingView : ShutDownView, HintDisplay {
  void ShowCountdown() override { Events.push_back("show"); }
  void ShowCountdownTexts(const CountdownTexts& texts) override {
    Events.push_back(texts.Caption + " | " + texts.Label + " | " + texts.Button);
  }
  void CloseCountdown() override { Events.push_back("close"); }
  void EndProgram() override { Events.push_back("end"); }
  void IRShowHint(const std::string& text) override { Events.push_back("hint " + text); }
  void CloseHint() override { Events.push_back("close hint"); }
  Lines Events;
};

struct ShutDownFixture : ::testing::Test {
  LanguageFlag Language = English;
  platform::FakeDesktopSystem System;
  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  RecordingView View;
  ShutDownCountdownModel Model{System.System, Loop, View, View, Language};
};

TEST(ShutDownTexts, EachSecondInBothLanguages) {
  const struct {
    ShutDownRequest Action;
    std::int32_t Seconds;
    LanguageFlag Language;
    CountdownTexts Texts;
  } cases[] = {
      {ShutDownRequest::Reboot, 10, English, {"Reboot", "Reboot after: 10 sec.", "Cancel"}},
      {ShutDownRequest::Reboot, 1, Bulgarian, {"Рестартиране", "Рестарт след: 1 сек.", "Откажи"}},
      {ShutDownRequest::TurnOff, 7, English, {"Shut Down", "Shut Down after: 7 sec.", "Cancel"}},
      {ShutDownRequest::TurnOff, 0, Bulgarian, {"Изключване", "Изключване след: 0 сек.", "Откажи"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CountdownTextsFor(c.Action, c.Seconds, c.Language), c.Texts) << c.Texts.Label;
  }
}

TEST_F(ShutDownFixture, TheCountdownRunsOutAndRestarts) {
  Model.ShutDownCommand(ShutDownRequest::Reboot);
  EXPECT_TRUE(Model.Showing());
  EXPECT_EQ(Model.Expired, ShutDownCountdownModel::ExpiredState::Running);
  Lines expected = {"show", "Reboot | Reboot after: 10 sec. | Cancel"};
  EXPECT_EQ(View.Events, expected);
  for (int second = 9; second >= 1; --second) {
    Loop.AdvanceBy(1000);
    expected.push_back("show");
    expected.push_back("Reboot | Reboot after: " + std::to_string(second) + " sec. | Cancel");
    EXPECT_EQ(View.Events, expected) << second;
  }
  EXPECT_TRUE(System.Log.Effects().empty());
  Loop.AdvanceBy(1000);
  expected.insert(expected.end(),
                  {"show", "Reboot | Reboot after: 0 sec. | Cancel", "close hint", "end"});
  EXPECT_EQ(View.Events, expected);
  EXPECT_EQ(System.Log.Texts(), Lines{"shutdown flags=2 kind=\"reboot\" force=false"});
  EXPECT_EQ(Model.Expired, ShutDownCountdownModel::ExpiredState::Expired);
  Loop.AdvanceBy(5000);
  EXPECT_EQ(View.Events, expected);
}

TEST_F(ShutDownFixture, TurningOffIsForcedAndSpeaksTheLanguageOfTheMoment) {
  Model.ShutDownCommand(ShutDownRequest::TurnOff);
  Language = Bulgarian;
  Loop.AdvanceBy(1000);
  EXPECT_EQ(View.Events.back(), "Изключване | Изключване след: 9 сек. | Откажи");
  Loop.AdvanceBy(9000);
  EXPECT_EQ(System.Log.Texts(), Lines{"shutdown flags=5 kind=\"poweroff\" force=true"});
}

TEST_F(ShutDownFixture, ASecondCommandCancels) {
  Model.ShutDownCommand(ShutDownRequest::Reboot);
  Loop.AdvanceBy(3000);
  View.Events.clear();
  Model.ShutDownCommand(ShutDownRequest::Reboot);
  EXPECT_EQ(View.Events, Lines{"close"});
  EXPECT_FALSE(Model.Showing());
  EXPECT_EQ(Model.Expired, ShutDownCountdownModel::ExpiredState::Cancelled);
  Loop.AdvanceBy(20000);
  EXPECT_EQ(View.Events, Lines{"close"});
  EXPECT_TRUE(System.Log.Effects().empty());

  // A third starts afresh, from ten seconds.
  Model.ShutDownCommand(ShutDownRequest::TurnOff);
  EXPECT_EQ(View.Events.back(), "Shut Down | Shut Down after: 10 sec. | Cancel");
  EXPECT_EQ(Model.Expired, ShutDownCountdownModel::ExpiredState::Running);
}

TEST_F(ShutDownFixture, TheCancelButtonStopsTheCountdown) {
  Model.ShutDownCommand(ShutDownRequest::TurnOff);
  Model.Cancel();
  Loop.AdvanceBy(20000);
  EXPECT_EQ(View.Events.back(), "close");
  EXPECT_EQ(Model.Expired, ShutDownCountdownModel::ExpiredState::Cancelled);
  EXPECT_TRUE(System.Log.Effects().empty());
}

TEST(ShutdownWindows, ExitFlagsChooseTheRequest) {
  const struct {
    std::uint32_t Flags;
    std::string Effect;
  } cases[] = {
      {ExitReboot, "shutdown flags=2 kind=\"reboot\" force=false"},
      {ExitShutdown | ExitForce, "shutdown flags=5 kind=\"poweroff\" force=true"},
      {ExitShutdown, "shutdown flags=1 kind=\"poweroff\" force=false"},
  };
  for (const auto& c : cases) {
    platform::FakeDesktopSystem system;
    EXPECT_TRUE(ShutdownWindows(system.System, c.Flags));
    EXPECT_EQ(system.Log.Texts(), Lines{c.Effect});
  }
}

}  // namespace
}  // namespace quillon

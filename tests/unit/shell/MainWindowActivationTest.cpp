#include "core/shell/MainWindowActivation.h"

#include <gtest/gtest.h>

#include "config/EditorBench.h"
#include "platform/fake/FakeDesktopSystem.h"

namespace quillon {
namespace {

struct NoWindow : CurrentFunctionView {
  HintSize SetLabel(const std::string&) override { return {}; }
  void Place(std::int32_t, std::int32_t, HintSize) override {}
  void ShowWindow() override {}
  void CloseWindow() override {}
  platform::ScreenSize Screen() const override { return {}; }
};

struct ActivationFixture : ::testing::Test {
  test::EditorBench Bench;
  platform::FakeDesktopSystem Desktop;
  Options Settings;
  NoWindow Window;
  CurrentFunctionDisplay Display{Window, Bench.Loop, Desktop.System, Settings};
  MouseActions Mouse{Desktop.Mouse, Desktop.System, Bench.Loop, Bench.Clock};
  RunningSystem System{Bench.Registry,   Settings,       Bench.Receive, Bench.Pipeline,
                       Bench.Dispatcher, Bench.Dispatch, Mouse,         Display};
};

TEST_F(ActivationFixture, ActivationRefreshesTheOptionsAndOpensReception) {
  Bench.Registry.SetValue(ProductKey, "ShowHintTime", std::uint32_t{4});
  Bench.Registry.SetValue(ProductKey, "SignalLength", std::uint32_t{120});
  Bench.Registry.SetValue(ProductKey, "ShowUnknownButton", std::uint32_t{1});
  EXPECT_FALSE(Bench.Pipeline.ReceiveEnabled);
  EXPECT_TRUE(ActivateMainWindow(System));
  EXPECT_TRUE(Bench.Pipeline.ReceiveEnabled);
  EXPECT_EQ(Settings.ShowHintTime, 4);
  EXPECT_EQ(Display.HintInterval(), 4000u);
  EXPECT_EQ(Bench.Receive.SignalLength, 120);
  EXPECT_TRUE(Bench.Dispatch.ShowUnknownButton);
}

TEST_F(ActivationFixture, TheActivationAfterTheDisplayClosedIsSkippedOnce) {
  Display.CloseHint();
  EXPECT_FALSE(ActivateMainWindow(System));
  EXPECT_FALSE(Bench.Pipeline.ReceiveEnabled);
  EXPECT_TRUE(ActivateMainWindow(System));
}

}  // namespace
}  // namespace quillon

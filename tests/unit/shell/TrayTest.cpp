#include "core/shell/Tray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

struct FakeTray : TrayView {
  bool ShowTrayIcon() override {
    Events.push_back("icon");
    return IconWorks;
  }
  bool WindowShowing() const override { return Showing; }
  void HideWindow() override {
    Events.push_back("hide");
    Showing = false;
  }
  void MinimizeWindow() override {
    Events.push_back("minimize");
    Showing = false;
  }
  void RestoreWindow() override {
    Events.push_back("restore");
    Showing = true;
  }
  bool IconWorks = true;
  bool Showing = true;
  std::vector<std::string> Events;
};

TEST(Tray, TheTipKeepsItsFirst62Characters) {
  const std::string seventy(70, 'x');
  EXPECT_EQ(TrayTip(seventy), std::string(62, 'x'));
  EXPECT_EQ(TrayTip("Quillon"), "Quillon");
  EXPECT_EQ(TrayTip(std::string(70, 'x').replace(60, 2, "Ж")).size(), 62u + 1);
}

TEST(Tray, GoingToTheTrayHidesWithTheIconAndMinimisesWithoutANotificationArea) {
  for (const bool iconWorks : {true, false}) {
    FakeTray view;
    view.IconWorks = iconWorks;
    TrayModel tray(view);
    tray.ButtonTestClick();
    const std::vector<std::string> expected =
        iconWorks ? std::vector<std::string>{"icon", "hide"}
                  : std::vector<std::string>{"icon", "icon", "icon", "minimize"};
    EXPECT_EQ(view.Events, expected);
  }
}

TEST(Tray, AClickOnTheIconTogglesTheWindow) {
  FakeTray view;
  TrayModel tray(view);
  tray.TrayIconClick();
  EXPECT_FALSE(view.Showing);
  tray.TrayIconClick();
  EXPECT_TRUE(view.Showing);
  EXPECT_EQ(view.Events, (std::vector<std::string>{"icon", "hide", "restore"}));
}

}  // namespace
}  // namespace quillon

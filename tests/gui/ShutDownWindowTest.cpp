// The shut-down countdown window over its model, on virtual time.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "gui/TFormShutDown.h"
#include "platform/fake/FakeDesktopSystem.h"
#include "platform/fake/FakeEventLoop.h"

namespace quillon::gui {
namespace {

struct NoHints : HintDisplay {
  void IRShowHint(const std::string&) override {}
  void CloseHint() override {}
};

struct ShutDownWindowFixture : ::testing::Test {
  ShutDownWindowFixture() {
    Window.OnCancel = [this] { Model.Cancel(); };
  }

  QString LabelText() const { return Window.findChild<QLabel*>("Label1")->text(); }

  platform::EffectLog Log;
  platform::FakeSystemControl System{Log};
  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  NoHints Hints;
  LanguageFlag Language = English;
  TFormShutDown Window;
  ShutDownCountdownModel Model{System, Loop, Window, Hints, Language};
};

TEST_F(ShutDownWindowFixture, TheCountdownShowsEachSecondAndASecondCommandClosesIt) {
  Model.ShutDownCommand(ShutDownRequest::Reboot);
  EXPECT_TRUE(Window.isVisible());
  const QString first = LabelText();
  Loop.AdvanceBy(1000);
  EXPECT_NE(LabelText(), first);
  Model.ShutDownCommand(ShutDownRequest::Reboot);
  EXPECT_FALSE(Window.isVisible());
  Loop.AdvanceBy(20000);
  EXPECT_TRUE(Log.Texts().empty());  // the machine was never asked to stop
}

TEST_F(ShutDownWindowFixture, CancelClosesTheCountdownInEitherLanguage) {
  Language = Bulgarian;
  Model.ShutDownCommand(ShutDownRequest::TurnOff);
  const QString bulgarian = LabelText();
  Window.findChild<QPushButton*>("Button1")->click();
  EXPECT_FALSE(Window.isVisible());
  Language = English;
  Model.ShutDownCommand(ShutDownRequest::TurnOff);
  EXPECT_NE(LabelText(), bulgarian);
  EXPECT_TRUE(Window.isVisible());
}

}  // namespace
}  // namespace quillon::gui

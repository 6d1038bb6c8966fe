// The options dialog driven as a user would: controls found by their names, the store a fake
// registry, the dialog's modal run scripted from the event loop.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <functional>

#include "MainWindowBench.h"
#include "config/EditorBench.h"
#include "core/shell/Settings.h"
#include "gui/TForm1.h"
#include "gui/TForm2.h"
#include "gui/TFormOptions.h"
#include "platform/fake/FakeDesktopSystem.h"

namespace quillon::gui {
namespace {

struct OptionsWindowFixture : ::testing::Test, MainWindowBench {
  template <typename Control>
  Control* Find(const char* name) {
    auto* control = Dialog.findChild<Control*>(QLatin1String(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  void Click(const char* name) { Find<QAbstractButton>(name)->click(); }
  QSpinBox* Spin(const char* name) { return Find<QSpinBox>(name); }
  bool Red(const char* spin) {
    const QString label = QStringLiteral("Label") + QLatin1String(spin);
    return Find<QLabel>(label.toLatin1().constData())->palette().color(QPalette::WindowText) ==
           Qt::red;
  }
  // Opens the dialog and, inside its modal run, does what the user does.
  bool OpenAnd(const std::function<void()>& user) {
    QTimer::singleShot(0, &Dialog, [this, user] {
      EXPECT_TRUE(Dialog.isVisible());
      EXPECT_FALSE(Bench.Pipeline.ReceiveEnabled);
      user();
      if (Dialog.isVisible()) Dialog.reject();
    });
    return Dialog.Open();
  }
  std::optional<platform::FakeRegistryValue> Stored(const IntegerSetting& setting) const {
    return Bench.Registry.Value(ProductKey, setting.Name);
  }

  RunningSystem System{Bench.Registry,   Settings,       Bench.Receive, Bench.Pipeline,
                       Bench.Dispatcher, Bench.Dispatch, Mouse,         Display};
  TFormOptions Dialog{{System, Bench.Language}};
};

// Each marked spin control, and a value of its range other than its default.
struct MarkCase {
  const char* Spin;
  std::int32_t Changed;
};

TEST_F(OptionsWindowFixture, ALabelIsBlackAtTheDefaultAndRedOtherwise) {
  const MarkCase cases[] = {
      {"SignalLen", 50},         {"ImpulseNum", 100},   {"StartApplicationValue", 1},
      {"StartWindowsValue", 10}, {"StartTimeValue", 1}, {"CloseTimeValue", 10},
      {"MouseStep", 10},         {"ShowTime", 5},       {"StartError", 60},
      {"MaxValueError", 20},     {"ImpDiv", 0},         {"DiffImp", 4},
  };
  for (const MarkCase& mark : cases) {
    SCOPED_TRACE(mark.Spin);
    const int initial = Spin(mark.Spin)->value();
    EXPECT_FALSE(Red(mark.Spin));
    Spin(mark.Spin)->setValue(mark.Changed);
    EXPECT_TRUE(Red(mark.Spin));
    Spin(mark.Spin)->setValue(initial);
    EXPECT_FALSE(Red(mark.Spin));
  }
  // The key time carries no mark.
  Spin("KeyTime")->setValue(200);
  EXPECT_EQ(Find<QLabel>("LabelKeyTime")->palette().color(QPalette::WindowText),
            Dialog.palette().color(QPalette::WindowText));
}

TEST_F(OptionsWindowFixture, SpinControlsKeepTheRangesOfTheirSettings) {
  Spin("SignalLen")->setValue(10);
  Spin("ImpulseNum")->setValue(900);
  Spin("KeyTime")->setValue(301);
  EXPECT_EQ(Spin("SignalLen")->value(), settings::SignalLength.Min);
  EXPECT_EQ(Spin("ImpulseNum")->value(), settings::ImpulseNumber.Max);
  EXPECT_EQ(Spin("KeyTime")->value(), settings::KeysDelay.Max);
}

TEST_F(OptionsWindowFixture, OpeningReadsTheStoreWithoutAKeyImpDivIsTwoAndRed) {
  Bench.Registry.MakeUnopenable(ProductKey);
  OpenAnd([this] {
    EXPECT_EQ(Spin("ImpDiv")->value(), 2);
    EXPECT_TRUE(Red("ImpDiv"));
    EXPECT_FALSE(Red("SignalLen"));
  });
}

TEST_F(OptionsWindowFixture, DefaultResetsTheControlsWithoutWriting) {
  Bench.Registry.SetValue(ProductKey, "SignalLength", std::uint32_t{120});
  Bench.Registry.SetValue(ProductKey, "KeysDelay", std::uint32_t{40});
  Bench.Registry.SetValue(ProductKey, "ShowHint", std::uint32_t{0});
  const std::int32_t saves = Bench.Registry.Saves();
  OpenAnd([this] {
    EXPECT_EQ(Spin("SignalLen")->value(), 120);
    EXPECT_TRUE(Red("SignalLen"));
    Click("ButtonDefault");
    EXPECT_EQ(Spin("SignalLen")->value(), 250);
    EXPECT_FALSE(Red("SignalLen"));
    EXPECT_EQ(Spin("KeyTime")->value(), 1);
    EXPECT_TRUE(Find<QCheckBox>("CheckBox1")->isChecked());
  });
  EXPECT_EQ(Bench.Registry.Saves(), saves);
  EXPECT_EQ(Stored(settings::SignalLength), platform::FakeRegistryValue(std::uint32_t{120}));
  EXPECT_EQ(Settings.SignalLength, 120);
}

TEST_F(OptionsWindowFixture, OkWritesTheStoreAndHandsTheOptionsOn) {
  Bench.Pipeline.ReceiveEnabled = true;
  EXPECT_TRUE(OpenAnd([this] {
    Spin("SignalLen")->setValue(120);
    Spin("ShowTime")->setValue(4);
    Find<QCheckBox>("ShowUnknownButton")->setChecked(true);
    Click("ButtonOk");
  }));
  EXPECT_FALSE(Dialog.isVisible());
  EXPECT_EQ(Stored(settings::SignalLength), platform::FakeRegistryValue(std::uint32_t{120}));
  EXPECT_EQ(Stored(settings::ShowHintTime), platform::FakeRegistryValue(std::uint32_t{4}));
  EXPECT_EQ(Bench.Registry.Value(ProductKey, "ShowUnknownButton"),
            platform::FakeRegistryValue(std::uint32_t{1}));
  EXPECT_EQ(Stored(settings::DifferentImp), platform::FakeRegistryValue(std::uint32_t{3}));
  EXPECT_EQ(Settings.SignalLength, 120);
  EXPECT_EQ(Bench.Receive.SignalLength, 120);
  EXPECT_EQ(Display.HintInterval(), 4000u);
  EXPECT_TRUE(Bench.Dispatch.ShowUnknownButton);
  EXPECT_TRUE(Bench.Pipeline.ReceiveEnabled);
}

TEST_F(OptionsWindowFixture, CancelWritesNothingAndReceptionStaysOff) {
  Bench.Registry.SetValue(ProductKey, "SignalLength", std::uint32_t{250});
  const std::int32_t saves = Bench.Registry.Saves();
  const auto values = Bench.Registry.ValueCount(ProductKey);
  EXPECT_FALSE(OpenAnd([this] {
    Spin("SignalLen")->setValue(120);
    Click("ButtonCancel");
  }));
  EXPECT_EQ(Bench.Registry.Saves(), saves);
  EXPECT_EQ(Bench.Registry.ValueCount(ProductKey), values);
  EXPECT_EQ(Bench.Receive.SignalLength, 250);
  EXPECT_FALSE(Bench.Pipeline.ReceiveEnabled);
}

TEST_F(OptionsWindowFixture, ShowTimeFollowsCheckBox1) {
  auto* showHint = Find<QCheckBox>("CheckBox1");
  ASSERT_TRUE(showHint->isChecked());
  EXPECT_TRUE(Spin("ShowTime")->isEnabled());
  showHint->setChecked(false);
  EXPECT_FALSE(Spin("ShowTime")->isEnabled());
  EXPECT_FALSE(Find<QLabel>("LabelShowTime")->isEnabled());
  Click("ButtonDefault");
  EXPECT_TRUE(Spin("ShowTime")->isEnabled());
  EXPECT_TRUE(Find<QLabel>("LabelShowTime")->isEnabled());
}

TEST_F(OptionsWindowFixture, CaptionsFollowTheLanguageAtEachOpening) {
  EXPECT_EQ(Find<QGroupBox>("GroupRemoteControl")->title(), "Remote Control");
  EXPECT_EQ(Find<QGroupBox>("GroupErrorCorrection")->title(), "Error Correction");
  EXPECT_EQ(Find<QPushButton>("ButtonDefault")->text(), "Default");
  EXPECT_EQ(Spin("DiffImp")->toolTip(), "2 -> 0101010101\n3 -> 0120120120\n4 -> 0123012301");
  Bench.Language = Bulgarian;
  OpenAnd([this] {
    EXPECT_EQ(Find<QGroupBox>("GroupRemoteControl")->title(), "Дистанционно");
    EXPECT_EQ(Find<QCheckBox>("CPUSpeedWarning")->text(), "Предупреждение за ниска скорост на CPU");
    EXPECT_EQ(Dialog.windowTitle(), "Настройки");
  });
}

TEST_F(OptionsWindowFixture, TheMainWindowsOptionsButtonOpensTheDialog) {
  bool shown = false;
  Form.OnOptions = [&] {
    OpenAnd([&] {
      shown = Dialog.isVisible();
      Click("ButtonOk");
    });
  };
  ASSERT_TRUE(Form.FormCreate());
  auto* button = Form.findChild<QPushButton*>(QStringLiteral("BitBtn2"));
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(button->isEnabled());
  button->click();
  EXPECT_TRUE(shown);
  EXPECT_EQ(Stored(settings::SignalLength), platform::FakeRegistryValue(std::uint32_t{250}));
}

}  // namespace
}  // namespace quillon::gui

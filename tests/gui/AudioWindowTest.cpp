// The audio window over a fake sound card beside the configuration window: controls found by
// their names, the mixer's change notifications on virtual time.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTreeView>

#include <memory>

#include "MainWindowBench.h"
#include "config/EditorBench.h"
#include "gui/ConfigTreeModel.h"
#include "gui/TForm1.h"
#include "gui/TForm2.h"
#include "gui/TFormAudio.h"
#include "platform/fake/FakeDesktopSystem.h"
#include "platform/fake/FakeMixer.h"

namespace quillon::gui {
namespace {

using Values = std::vector<std::uint32_t>;

constexpr std::uint32_t MasterVolume = 1;  // of FakeSoundCard()

struct AudioWindowFixture : ::testing::Test, MainWindowBench {
  ~AudioWindowFixture() override {
    if (Audio) Audio->hide();
  }

  // The window over a machine with the fake sound card, or with no mixer at all, opened with
  // ButtonAudio.
  void Open(bool soundCard) {
    if (soundCard) Mixer.AddDevice(platform::FakeSoundCard());
    Model = std::make_unique<AudioModel>(Changes, Bench.Registry);
    Audio = std::make_unique<TFormAudio>(
        AudioWindowContext{*Model, Changes, Form, Bench.Boxes, Bench.Language}, &Form);
    Form.AudioWindow = Audio.get();
    ASSERT_TRUE(Form.FormCreate());
    Find<QAbstractButton>(Form, "ButtonAudio")->click();
    ASSERT_TRUE(Audio->isVisible());
  }

  template <typename Control>
  Control* Find(QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QLatin1String(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  QSlider* Slider(const char* name) { return Find<QSlider>(*Audio, name); }
  QString Label(const char* name) { return Find<QLabel>(*Audio, name)->text(); }

  platform::FakeMixer Mixer{Bench.Loop};
  MixerChanges Changes{Mixer};
  std::unique_ptr<AudioModel> Model;
  std::unique_ptr<TFormAudio> Audio;
};

TEST_F(AudioWindowFixture, MovingTheSlidersWritesTheMixer) {
  Open(true);
  Slider("TrackBar")->setValue(40000);
  EXPECT_EQ(Mixer.Values(0, MasterVolume), (Values{40000, 40000}));
  EXPECT_EQ(Label("VolumeValue"), "40000");
  EXPECT_EQ(Label("BalanceMax"), "40000");
  Slider("TrackBar1")->setValue(10000);
  EXPECT_EQ(Mixer.Values(0, MasterVolume), (Values{30000, 40000}));
}

TEST_F(AudioWindowFixture, AChangeInTheMixerMovesTheSliders) {
  Open(true);
  Mixer.SetValues(0, MasterVolume, {30000, 40000});
  Bench.Loop.AdvanceBy(1);
  EXPECT_EQ(Slider("TrackBar")->value(), 40000);
  EXPECT_EQ(Slider("TrackBar1")->maximum(), 40000);
  EXPECT_EQ(Slider("TrackBar1")->value(), 10000);
  EXPECT_EQ(Label("VolumeValue"), "40000");
  // Reloading writes nothing back.
  EXPECT_TRUE(Mixer.Writes().empty());
}

TEST_F(AudioWindowFixture, AddingPutsTheAudioCommandUnderTheMarkedButton) {
  Open(true);
  Find<QAbstractButton>(Form, "Button4")->click();  // New: the keys of the remote
  auto* tree = Find<QTreeView>(Form, "TreeView");
  auto* model = dynamic_cast<ConfigTreeModel*>(tree->model());
  auto* command = Find<QGroupBox>(Form, "RadioGroup1")
                      ->findChildren<QRadioButton*>()[static_cast<int>(EditorOperation::Command)];
  auto* add = Find<QAbstractButton>(Form, "ButtonAdd");
  tree->setCurrentIndex(model->IndexOf(1));  // 1. Power
  command->click();

  // With the command "none", the main window's "<<" asks for the audio window's buttons first.
  ASSERT_TRUE(add->isEnabled());
  add->click();
  ASSERT_EQ(Bench.Boxes.Shown.size(), 1U);
  EXPECT_EQ(Bench.Boxes.Shown[0].Text,
            "Please use the buttons from the window \"Audio commands\".");
  EXPECT_EQ(Bench.Tree.Count(), 7);

  Find<QListWidget>(*Audio, "LineList")->setCurrentRow(1);  // PCM
  Find<QAbstractButton>(*Audio, "ButtonVolumeUp")->click();
  EXPECT_EQ(Bench.Tree.Text(2), "<AudioCommand>[Mixer 0/Master/PCM/Volume+]");
  EXPECT_TRUE(command->isChecked());

  // Then the main window's "<<" adds the action picked, on the line now chosen.
  tree->setCurrentIndex(model->IndexOf(3));  // 2. Vol_up
  Find<QListWidget>(*Audio, "LineList")->setCurrentRow(0);
  add->click();
  EXPECT_EQ(Bench.Tree.Text(4), "<AudioCommand>[Mixer 0/Master/Master/Volume+]");
  EXPECT_EQ(Bench.Boxes.Shown.size(), 1U);

  Audio->hide();
  EXPECT_FALSE(add->isEnabled());
}

TEST_F(AudioWindowFixture, GoingToTheTrayClosesTheWindow) {
  Open(true);
  Form.show();
  Form.HideWindow();
  EXPECT_FALSE(Audio->isVisible());
}

TEST_F(AudioWindowFixture, WithNoMixerTheWindowSaysSoWhenActive) {
  Open(false);
  ASSERT_TRUE(QTest::qWaitForWindowActive(Audio.get()));
  ASSERT_EQ(Bench.Boxes.Shown.size(), 1U);
  EXPECT_EQ(Bench.Boxes.Shown[0].Text, "No mixer present in the system !");
  EXPECT_FALSE(Find<QListWidget>(*Audio, "DestinationList")->isEnabled());
  EXPECT_FALSE(Slider("TrackBar")->isEnabled());
}

}  // namespace
}  // namespace quillon::gui

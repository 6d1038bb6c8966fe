// The learning window driven as a user would: recorded presses of a real remote through the
// receive pipeline on virtual time, clicks and typing found by the controls' names, the save
// dialog filled in while it is modal.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <random>

#include "SampleRemote.h"
#include "TempFolder.h"
#include "actions/FakeMessageBoxes.h"
#include "config/EditorBench.h"
#include "core/common/Cp1251.h"
#include "core/receiver/KeyMatcher.h"
#include "core/shell/StartUp.h"
#include "gui/TForm1.h"
#include "gui/TForm2.h"
#include "gui/TFormSave.h"
#include "gui/TMain.h"
#include "platform/fake/FakeDesktopSystem.h"
#include "platform/fake/FakeEventLoop.h"
#include "platform/fake/FakeRegistry.h"

namespace quillon::gui {
namespace {

struct NoHints : HintDisplay {
  void IRShowHint(const std::string&) override {}
  void CloseHint() override {}
};

struct LearningWindowFixture : ::testing::Test {
  LearningWindowFixture() {
    Clock.AdvanceTo(platform::CounterTicksPerSecond);
    Pipeline.SetConsumers(Window.Procedure().Consumers(nullptr, &Matcher));
    Window.Open();
  }
  ~LearningWindowFixture() override { Window.hide(); }

  template <typename Control>
  Control* Find(QWidget* form, const char* name) {
    auto* control = form->findChild<Control*>(QLatin1String(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  QString Caption(const char* name) {
    auto* control = Find<QWidget>(&Window, name);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    return Find<QGroupBox>(&Window, name)->title();
  }
  void Play(const std::vector<std::int64_t>& durations) {
    PlayPress(Pipeline, Loop, Clock, Jitter(durations, 3, Random));
  }

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  Options Settings;
  ReceiveSettings Receive = ToReceiveSettings(Settings);
  CurrentRemote Remote;
  ReceivePipeline Pipeline{Loop, Receive, Remote.Timings, Remote.Limits};
  platform::FakeRegistry Registry;
  LearnSettings Learn;
  LanguageFlag Language = English;
  test::TempFolder Folder;
  KeyMatcher Matcher{*Remote.Record};
  test::FakeMessageBoxes Boxes;
  NoHints Hints;
  std::mt19937 Random{20261206};
  TMain Window{{Pipeline, Remote, Settings, Registry, Learn, Loop, Clock, Language, Folder.Path,
                Boxes, Hints}};
};

// The durations of a button held down: the press, then the remote's repeat frame every 108 ms.
std::vector<std::int64_t> Held(const std::vector<std::int64_t>& press) {
  const std::vector<std::int64_t> repeat(press.end() - 3, press.end());
  std::vector<std::int64_t> held = press;
  for (int frame = 0; frame < 40; ++frame) {
    held.push_back(108 * platform::CounterTicksPerMillisecond -
                   (repeat[0] + repeat[1] + repeat[2]));
    held.insert(held.end(), repeat.begin(), repeat.end());
  }
  return held;
}

// Presses "Save data" and names the remote in the save dialog, which is modal: it is filled in
// from the loop it runs.
void SaveAs(TMain& window, const QString& producer, const QString& model) {
  QTimer::singleShot(0, [producer, model] {
    auto* dialog = dynamic_cast<TFormSave*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("RemCtrlType")), producer);
    QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("RemCtrlModel")), model);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
  });
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("ButtonStartLearn")),
                    Qt::LeftButton);
}

TEST_F(LearningWindowFixture, ARunFromRecordedPressesFillsTheWindowAndSavesAFileThatLoads) {
  const auto records = ReadCaptureFile(test::VizioCapture);
  ASSERT_TRUE(records) << records.ErrorMessage();
  const CaptureRecord& first = records.Value().front();
  auto* name = Find<QComboBox>(&Window, "ButtonName");
  auto* edit1 = Find<QLineEdit>(&Window, "Edit1");

  // Reception is off while the window waits: any press of the remote starts learning.
  Play(first.Durations);
  ASSERT_EQ(Pipeline.ReceiveMode, ReceiveModeKind::SignalLengthTest);
  EXPECT_EQ(Caption("ButtonStartLearn"), "Save data");
  EXPECT_FALSE(Find<QPushButton>(&Window, "ButtonStartLearn")->isEnabled());
  for (int press = 0; press < 5; ++press) Play(first.Durations);
  ASSERT_EQ(Pipeline.ReceiveMode, ReceiveModeKind::HoldButtonTest);
  Loop.AdvanceBy(LearningProcedure::HoldTestHoldOffMs);
  Play(Held(first.Durations));
  ASSERT_EQ(Pipeline.ReceiveMode, ReceiveModeKind::LearnButton);

  for (const CaptureRecord& record : records.Value()) {
    for (int press = 0; press < 5; ++press) Play(record.Durations);
    EXPECT_FALSE(edit1->text().isEmpty()) << record.Button;
    EXPECT_TRUE(Find<QPushButton>(&Window, "ButtonOk")->isEnabled()) << record.Button;
    name->lineEdit()->clear();
    // The name box drops the brackets that mean something in a configuration.
    QTest::keyClicks(name->lineEdit(), QString::fromStdString(record.Button) + "[]");
    EXPECT_EQ(name->currentText().toStdString(), record.Button);
    QTest::mouseClick(Find<QPushButton>(&Window, "ButtonOk"), Qt::LeftButton);
    EXPECT_TRUE(edit1->text().isEmpty()) << record.Button;
  }
  EXPECT_TRUE(Boxes.Shown.empty());
  auto* keys = Find<QTableWidget>(&Window, "SG");
  ASSERT_EQ(keys->rowCount(), static_cast<int>(records.Value().size()) + 1);
  EXPECT_EQ(keys->horizontalHeaderItem(0)->text(), "Key №");
  for (std::size_t row = 0; row < records.Value().size(); ++row) {
    EXPECT_EQ(keys->item(static_cast<int>(row), 1)->text().toStdString(),
              UpperCase1251(records.Value()[row].Button));
    EXPECT_FALSE(keys->item(static_cast<int>(row), 2)->text().isEmpty());
  }
  EXPECT_EQ(Find<QTableWidget>(&Window, "SGError")->rowCount(), 1);  // no two buttons collide

  SaveAs(Window, "Acme", "TV1");
  EXPECT_EQ(Caption("ButtonStartLearn"), "Start Learn");
  EXPECT_TRUE(Find<QPlainTextEdit>(&Window, "Memo1")->toPlainText().endsWith("*****END*****"));

  CurrentRemote loaded;
  const auto load = LoadRemoteFile(Folder.Path / "Acme_TV1.IRD", loaded, English);
  ASSERT_TRUE(load && load.Value().Found) << (load ? "" : load.ErrorMessage());
  for (std::size_t key = 1; key <= records.Value().size(); ++key) {
    EXPECT_EQ(loaded.Record->Keys[key].Name.Text(), UpperCase1251(records.Value()[key - 1].Button));
  }
}

TEST_F(LearningWindowFixture, FlippingTheLanguageAppliesEveryCaptionAndHint) {
  struct Expected {
    const char* Control;
    bool Hint;
    QString InEnglish;
    QString InBulgarian;
  };
  const std::vector<Expected> texts = {
      {"Label1", false, "Receiver", "Приемник"},
      {"Label9", true, "Restart Receiver", "Рестартиране на приемника"},
      {"Button3", false, "Clear All", "Изчисти всичко"},
      {"ButtonExit", true, "Exit", "Изход"},
      {"ButtonHelp", true, "Help", "Помощ"},
      {"Label2", false, "Button name:", "Бутон-име:"},
      {"Button2", false, "Clear button", "Изтрий данните за този бутон"},
      {"ButtonOk", false, "Remember", "Запомни"},
      {"GroupBox1", false, "Lock up", "Заключени"},
      {"ButtonOptions", false, "Options", "Настройки"},
      {"ButtonStartLearn", false, "Start Learn", "Започни обучението"},
  };
  const auto check = [&](LanguageFlag language) {
    Language = language;
    Window.ApplyLearningWindowTexts();
    for (const Expected& text : texts) {
      const QString shown =
          text.Hint ? Find<QWidget>(&Window, text.Control)->toolTip() : Caption(text.Control);
      EXPECT_EQ(shown, language == English ? text.InEnglish : text.InBulgarian) << text.Control;
    }
  };
  check(Bulgarian);
  check(English);
  // During training the start button saves, and says so in either language.
  QTest::mouseClick(Find<QPushButton>(&Window, "ButtonStartLearn"), Qt::LeftButton);
  Language = Bulgarian;
  Window.ApplyLearningWindowTexts();
  EXPECT_EQ(Caption("ButtonStartLearn"), "Запиши данните");
}

// The procedure disables the learning window while the receiver is retuned and shows the
// progress dialog meanwhile: its Cancel must stay usable.
TEST_F(LearningWindowFixture, TheProgressDialogCanBeCancelledWhileTheWindowIsDisabled) {
  ProgressDialog progress;
  progress.FormShow(Language);
  Window.SetWindowEnabled(false);
  Window.ShowProgressDialog(progress);
  auto* dialog = dynamic_cast<TForm3*>(QApplication::activeModalWidget());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Change data type");
  EXPECT_EQ(Find<QPlainTextEdit>(dialog, "Memo1")->toPlainText(),
            "Please press the button №1 five(5) times running");
  auto* cancel = Find<QPushButton>(dialog, "Button1");
  EXPECT_TRUE(cancel->isEnabled());
  Window.CloseProgressDialog();
  EXPECT_FALSE(dialog->isVisible());
}

TEST(SaveDialogWindow, SaveIsEnabledOnlyWithBothNamesAndRefusedCharactersNeverEnter) {
  SaveDialog model;
  TFormSave dialog(model, English, nullptr);
  dialog.show();
  auto* producer = dialog.findChild<QLineEdit*>(QStringLiteral("RemCtrlType"));
  auto* type = dialog.findChild<QLineEdit*>(QStringLiteral("RemCtrlModel"));
  auto* save = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
  ASSERT_TRUE(producer != nullptr && type != nullptr && save != nullptr);
  EXPECT_FALSE(save->isEnabled());

  QTest::keyClicks(producer, "Ac/me?");
  EXPECT_EQ(producer->text(), "Acme");
  EXPECT_FALSE(save->isEnabled());
  QTest::keyClicks(type, "TV 1");
  EXPECT_TRUE(save->isEnabled());
  type->selectAll();
  QTest::keyClick(type, Qt::Key_Delete);
  EXPECT_FALSE(save->isEnabled());
  // A paste is filtered as typing is.
  QApplication::clipboard()->setText(QStringLiteral("TV:2"));
  type->paste();
  EXPECT_EQ(type->text(), "TV2");
  EXPECT_EQ(model.Model, "TV2");
  ASSERT_TRUE(save->isEnabled());

  dialog.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
  EXPECT_EQ(model.Result, DialogResult::Cancel);
  EXPECT_FALSE(dialog.isVisible());
}

// The learning window beside the main window, over the same pipeline, remote and folder, as the
// program has them.
TEST(LearningWindowAndMainWindow, AfterLearningTheMainWindowListsTheNewRemoteAndHasItsOwnBack) {
  test::EditorBench bench;
  bench.Registry.SetValue(ProductKey, "RmtCtrlType", std::string(test::VizioType));
  bench.Clock.AdvanceTo(platform::CounterTicksPerSecond);
  test::TempFolder config;
  platform::FakeDesktopSystem desktop;
  Options settings;
  TForm2 form2;
  CurrentFunctionDisplay display{form2, bench.Loop, desktop.System, settings};
  MouseActions mouse{desktop.Mouse, desktop.System, bench.Loop, bench.Clock};
  TForm1 form1{{bench.Context(),
                {bench.Registry, settings, bench.Receive, bench.Pipeline, bench.Dispatcher,
                 bench.Dispatch, mouse, display},
                bench.Language,
                config.Path / "autostart" / "quillon.desktop",
                "/usr/bin/quillon"}};
  LearnSettings learn;
  NoHints hints;
  TMain window{{bench.Pipeline, bench.Remote, settings, bench.Registry, learn, bench.Loop,
                bench.Clock, bench.Language, bench.Folder.Path, bench.Boxes, hints}};
  bench.Pipeline.SetConsumers(
      window.Procedure().Consumers(&bench.Dispatcher, &bench.Dispatcher.Matcher));
  ASSERT_TRUE(form1.FormCreate());
  const RemoteData chosen = *bench.Remote.Record;
  const auto records = ReadCaptureFile(test::VizioCapture);
  ASSERT_TRUE(records) << records.ErrorMessage();
  const CaptureRecord& first = records.Value().front();
  std::mt19937 random(7);
  const auto play = [&](const std::vector<std::int64_t>& durations) {
    PlayPress(bench.Pipeline, bench.Loop, bench.Clock, Jitter(durations, 3, random));
  };

  window.Open();
  EXPECT_FALSE(bench.Pipeline.ReceiveEnabled);
  for (int press = 0; press < 6; ++press) play(first.Durations);
  bench.Loop.AdvanceBy(LearningProcedure::HoldTestHoldOffMs);
  play(Held(first.Durations));
  for (int press = 0; press < 5; ++press) play(first.Durations);
  QTest::keyClicks(window.findChild<QComboBox*>(QStringLiteral("ButtonName"))->lineEdit(), "Power");
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("ButtonOk")), Qt::LeftButton);
  SaveAs(window, "Acme", "TV1");
  ASSERT_TRUE(window.Procedure().State().LearnSaved);
  window.close();
  EXPECT_EQ(bench.Pipeline.ReceiveMode, ReceiveModeKind::Execute);

  // Learning measured into the current remote.
  ASSERT_NE(std::memcmp(bench.Remote.Record.get(), &chosen, sizeof chosen), 0);
  form1.LearningWindowClosed();
  auto* types = form1.findChild<QComboBox*>(QStringLiteral("RmtCtrl"));
  EXPECT_EQ(types->count(), 2);
  EXPECT_EQ(types->currentText().toStdString(), test::VizioType);
  EXPECT_EQ(std::memcmp(bench.Remote.Record.get(), &chosen, sizeof chosen), 0);
  EXPECT_TRUE(bench.Boxes.Shown.empty());
}

}  // namespace
}  // namespace quillon::gui

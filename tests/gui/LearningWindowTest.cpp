// The learning window driven as a user would: recorded presses of a real remote through the
// receive pipeline on virtual time, clicks and typing found by the controls' names, the save
// dialog filled in while it is modal.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QGroupBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <random>

#include "MainWindowBench.h"
#include "SampleRemote.h"
#include "TempFolder.h"
#include "actions/FakeMessageBoxes.h"
#include "app/ProgramReceiver.h"
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
#include "platform/fake/FakeSerialDevice.h"

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

TEST_F(LearningWindowFixture, TheOptionsButtonOpensTheDialogWithReceptionOff) {
  bool receivingMeanwhile = true;
  Window.OnOptions = [&] { receivingMeanwhile = Pipeline.ReceiveEnabled; };
  Window.Open();
  Pipeline.ReceiveEnabled = true;
  QTest::mouseClick(Find<QPushButton>(&Window, "ButtonOptions"), Qt::LeftButton);
  EXPECT_FALSE(receivingMeanwhile);
  EXPECT_TRUE(Pipeline.ReceiveEnabled);
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
  MainWindowBench main;
  test::EditorBench& bench = main.Bench;
  Options& settings = main.Settings;
  TForm1& form1 = main.Form;
  bench.Clock.AdvanceTo(platform::CounterTicksPerSecond);
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

// Both windows over the receiver side's display, as the program wires them: the learning side's
// stored port is COM3, the configuration side's is not stored (COM1).
struct ReceiverInBothWindows : ::testing::Test, MainWindowBench {
  ReceiverInBothWindows() {
    EXPECT_TRUE(form1.FormCreate());
    display.LearningWindow = &window;
  }

  static QRadioButton* PortItem(QWidget& form, int port) {
    for (auto* item :
         form.findChild<QGroupBox*>(QStringLiteral("COMName"))->findChildren<QRadioButton*>()) {
      if (item->text() == QStringLiteral("COM%1").arg(port)) return item;
    }
    ADD_FAILURE() << "no COM" << port;
    return nullptr;
  }
  static int CheckedPort(QWidget& form) {
    for (int port = 1; port <= 4; ++port) {
      if (PortItem(form, port)->isChecked()) return port;
    }
    return 0;
  }
  static QString Label(QWidget& form, const char* name) {
    return form.findChild<QLabel*>(QLatin1String(name))->text();
  }

  test::EditorBench& bench = Bench;
  platform::FakeDesktopSystem& desktop = Desktop;
  Options& settings = Settings;
  TForm1& form1 = Form;
  LearnSettings learn = [this] {
    bench.Registry.SetValue(LearningKey, "COM", std::string("COM3"));
    return LoadLearnSettings(bench.Registry);
  }();
  NoHints noHints;
  TMain window{{bench.Pipeline, bench.Remote, settings, bench.Registry, learn, bench.Loop,
                bench.Clock, bench.Language, bench.Folder.Path, bench.Boxes, noHints}};
  app::ReceiverDisplay display{form1};
};

TEST_F(ReceiverInBothWindows, ThePortChoicesShowThePortInUseAndAClickInEitherMovesTheReceiver) {
  EXPECT_EQ(CheckedPort(window), 3);
  EXPECT_EQ(CheckedPort(form1), 1);
  // The program's port table is empty here: every port fails to open, and says so in the log.
  app::ProgramReceiver receiver({bench.Pipeline, bench.Loop, bench.Clock, *bench.Remote.Record,
                                 desktop.System, bench.Boxes, display},
                                {}, settings, bench.Language);
  std::vector<std::int32_t> chosen;
  form1.OnComPortChosen = [&](std::int32_t port) {
    chosen.push_back(port);
    if (const auto selected = receiver.SelectPort(port); !selected) {
      display.Log(selected.ErrorMessage());
    }
  };
  window.OnComPortChosen = form1.OnComPortChosen;
  form1.show();
  window.show();

  const struct {
    QWidget* Form;
    int Port;
  } clicks[] = {{&window, 2}, {&form1, 4}, {&window, 1}};
  for (const auto& click : clicks) {
    QTest::mouseClick(PortItem(*click.Form, click.Port), Qt::LeftButton);
    ASSERT_FALSE(chosen.empty());
    EXPECT_EQ(chosen.back(), click.Port);
    EXPECT_EQ(receiver.Port().ComNumber(), click.Port);
    EXPECT_EQ(CheckedPort(window), click.Port) << click.Port;
    EXPECT_EQ(CheckedPort(form1), click.Port) << click.Port;
    EXPECT_EQ(learn.ComPort, click.Port);
  }
  EXPECT_EQ(chosen.size(), std::size(clicks));
  EXPECT_TRUE(window.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))
                  ->toPlainText()
                  .contains("COM1 is not a port of this machine"));
  // A port beyond the choices ticks none and leaves the learning side's port.
  display.ShowSelectedPort(6);
  EXPECT_EQ(CheckedPort(window), 0);
  EXPECT_EQ(learn.ComPort, 1);

  // Leaving a window's choice for another control stores that window's port.
  window.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->setFocus();
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(PortItem(window, 1), &out);
  EXPECT_EQ(bench.Registry.Value(LearningKey, "COM"),
            platform::FakeRegistryValue(std::string("COM1")));
  QTest::mouseClick(PortItem(form1, 2), Qt::LeftButton);
  QApplication::sendEvent(PortItem(form1, 2), &out);
  EXPECT_EQ(bench.Registry.Value(ProductKey, "COM"),
            platform::FakeRegistryValue(std::string("COM2")));

  // With a microcontroller receiver in use neither choice can move it.
  display.PtkReceiverInUse();
  EXPECT_FALSE(PortItem(window, 1)->isEnabled());
  EXPECT_FALSE(PortItem(form1, 1)->isEnabled());
  window.hide();
  form1.hide();
}

TEST_F(ReceiverInBothWindows, BothReceiverLabelsShowTheModelOnceAReceiverIdentifiesItself) {
  platform::FakeSerialDevice device{bench.Loop, bench.Clock};
  PulseCapture capture{bench.Pipeline, device};
  PtkOptions options;
  PtkProtocol protocol{bench.Pipeline,       capture, device, bench.Loop, bench.Clock,
                       *bench.Remote.Record, display, options};
  display.Protocol = &protocol;
  ASSERT_TRUE(protocol.OpenPort("/dev/pts/7", 3));
  bench.Clock.AdvanceTo(platform::CounterTicksPerSecond);

  const struct {
    const char* Line;
    const char* Model;
  } lines[] = {
      {"Unknown Command", "PTK0.0"},           // a reply, but no receiver named yet
      {"IR Receiver PTW1.0 ...Ok", "PTW1.0"},  // found by the search
      {"IR Receiver PTK1.0", "PTK1.0"},        // the version it gives when asked
  };
  EXPECT_EQ(Label(form1, "Label2"), "PTK0.0");
  EXPECT_EQ(Label(window, "Label9"), "PTK0.0");
  for (const auto& line : lines) {
    device.ArriveAfter(1, std::string(line.Line) + "\r\n");
    bench.Loop.AdvanceBy(5);
    EXPECT_EQ(Label(form1, "Label2"), line.Model) << line.Line;
    EXPECT_EQ(Label(window, "Label9"), line.Model) << line.Line;
  }
}

}  // namespace
}  // namespace quillon::gui

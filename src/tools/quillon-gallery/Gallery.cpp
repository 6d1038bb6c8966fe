#include "Gallery.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWindow>

#include <fstream>
#include <stdexcept>

#include "core/receiver/CaptureFile.h"
#include "core/shell/Settings.h"
#include "gui/ConfigTreeModel.h"
#include "replay/CaptureReplay.h"

namespace quillon::gallery {

namespace {

// How long a framed window is given to be painted.
constexpr int SettleMs = 300;

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

template <typename Control>
Control& Find(QWidget& window, const char* name) {
  auto* control = window.findChild<Control*>(QLatin1String(name));
  if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return *control;
}

void Click(QWidget& window, const char* name) { Find<QAbstractButton>(window, name).click(); }

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

}  // namespace

MessageAnswer UnexpectedBoxes::Show(const MessageBoxContent& box) {
  Shown.push_back(box.Caption + ": " + box.Text);
  return box.Buttons.front().Answer;
}

SampleData::SampleData(const std::filesystem::path& sourceFolder, LanguageFlag language)
    : Remotes(Folder.path().toStdString()), Keys(Remotes / "Keys"), Language(language) {
  const std::filesystem::path samples = sourceFolder / "samples/remotes";
  std::filesystem::copy_file(samples / "Vizio_VX32L.IRD", Remotes / "Vizio_VX32L.IRD");
  std::filesystem::copy_file(samples / "Living room.rir", Remotes / "Living room.rir");
  std::filesystem::copy_file(samples / "Living room.rir", Remotes / "Bedroom.rir");
  std::filesystem::create_directories(Keys);
  WriteFile(Keys / "Browser.kcn",
            "Copy,^{c}\r\nPaste,^{v}\r\nUndo,^{z}\r\nRefresh,[f5]\r\nPage up,[Prior]\r\n");
  WriteFile(Keys / "Games.kcn", "Jump,[space]\r\n");
  Registry.SetValue(ProductKey, settings::RmtCtrlType.Name, std::string("VIZIO  VX32L"));
  Registry.SetValue(ProductKey, settings::FileName.Name, (Remotes / "Living room.rir").string());
  Registry.SetValue(ProductKey, settings::Language.Name, std::uint32_t{language});
  // One option away from its default, so that the options dialog shows its red mark.
  Registry.SetValue(ProductKey, settings::MouseStep.Name, std::uint32_t{100});
}

Gallery::Gallery(const std::filesystem::path& sourceFolder, const QDir& output,
                 LanguageFlag language)
    : Source(sourceFolder), Output(output), Data(sourceFolder, language) {
  Clock.AdvanceTo(platform::CounterTicksPerSecond);
  Pipeline.SetConsumers(Learning.Procedure().Consumers(&Dispatcher, &Dispatcher.Matcher));
  Dialogs.SetOwner(&Form1);
  NewTab.SetOwner(&Keys);
  ShutDownWindow.OnCancel = [this] { Executor.ShutDown.Cancel(); };
  Learning.OnOptions = [this] { OptionsWindow.Open(); };
  for (const char* title : {"Media Player", "Photo Viewer", "Notes - shopping list", "Terminal"}) {
    Desktop.Desktop.AddWindow(title);
  }
}

std::vector<std::string> Gallery::ShootAll() {
  if (!Form1.FormCreate()) return {"the configuration window did not start"};
  try {
    ShootLearning();
    ShootKeys();
    ShootModal(QStringLiteral("options"), [this] { OptionsWindow.Open(); });
    ShootAudio();
    ShootShutDown();
    ShootConfigurationDialogs();
  } catch (const std::exception& error) {
    Problems.emplace_back(error.what());
  }
  for (const std::string& box : Boxes.Shown) Problems.push_back("unexpected message: " + box);
  return Problems;
}

void Gallery::Play(const std::vector<std::int64_t>& durations) {
  PlayPress(Pipeline, Loop, Clock, Jitter(durations, 3, Random));
}

// The fake sound card, its Master line louder on the left.
platform::FakeMixer& Gallery::WithSoundCard(platform::FakeMixer& mixer) {
  mixer.SetValues(mixer.AddDevice(platform::FakeSoundCard()), 1, {52000, 39000});
  return mixer;
}

// The learning window part-way through a run fed from the recorded presses of the sample
// remote: three buttons remembered, the fourth pressed and named; then its save dialog filled
// in, and the progress dialog as it opens.
void Gallery::ShootLearning() {
  const auto records = ReadCaptureFile(Source / "samples/ir-captures/fz-TVs-Vizio-Vizio_VX32L.irc");
  if (!records) throw std::runtime_error(records.ErrorMessage());
  const std::vector<CaptureRecord>& presses = records.Value();
  Learning.Open();
  for (int press = 0; press < 6; ++press) Play(presses.front().Durations);
  Loop.AdvanceBy(LearningProcedure::HoldTestHoldOffMs);
  Play(Held(presses.front().Durations));
  auto& name = Find<QComboBox>(Learning, "ButtonName");
  for (std::size_t button = 0; button < 4; ++button) {
    for (int press = 0; press < 5; ++press) Play(presses[button].Durations);
    name.lineEdit()->clear();
    QTest::keyClicks(name.lineEdit(), QString::fromStdString(presses[button].Button));
    if (button < 3) Click(Learning, "ButtonOk");
  }
  Shoot(Learning, QStringLiteral("learning-window"));

  Click(Learning, "ButtonOk");
  ShootModal(
      QStringLiteral("learning-save"), [this] { Click(Learning, "ButtonStartLearn"); },
      [](QWidget& dialog) {
        QTest::keyClicks(&Find<QLineEdit>(dialog, "RemCtrlType"), QStringLiteral("Vizio"));
        QTest::keyClicks(&Find<QLineEdit>(dialog, "RemCtrlModel"), QStringLiteral("VX32L"));
      });

  ProgressDialog progress;
  progress.FormShow(Language);
  Learning.ShowProgressDialog(progress);
  QWidget* progressWindow = QApplication::activeModalWidget();
  if (progressWindow == nullptr) throw std::runtime_error("the progress dialog did not show");
  Shoot(*progressWindow, QStringLiteral("learning-progress"));
  Learning.CloseProgressDialog();
  Learning.hide();
}

// The key-combination window on its page "Browser", and its new-page dialog.
void Gallery::ShootKeys() {
  Keys.Open();
  Find<QTabBar>(Keys, "PageControl1").setCurrentIndex(0);
  Shoot(Keys, QStringLiteral("keys"));
  ShootModal(
      QStringLiteral("keys-new-page"), [this] { Click(Keys, "Button3"); },
      [](QWidget& dialog) { QTest::keyClicks(&Find<QLineEdit>(dialog, "Edit1"), "Photos"); });
  Keys.hide();
}

// The audio window on the sound card's Master line.
void Gallery::ShootAudio() {
  AudioWindow.Open();
  Shoot(AudioWindow, QStringLiteral("audio"));
  AudioWindow.hide();
}

// The countdown of "Turn Off Computer", stopped on its first second by virtual time.
void Gallery::ShootShutDown() {
  Executor.ShutDown.ShutDownCommand(ShutDownRequest::TurnOff);
  Shoot(ShutDownWindow, QStringLiteral("shut-down"));
  Executor.ShutDown.Cancel();
}

// The dialogs of the configuration window: the name of key 5, the window list, and loading
// and saving a configuration.
void Gallery::ShootConfigurationDialogs() {
  auto& tree = Find<QTreeView>(Form1, "TreeView");
  tree.setCurrentIndex(dynamic_cast<gui::ConfigTreeModel&>(*tree.model()).IndexOf(5));
  ShootModal(QStringLiteral("name"), [this] { Form1.RenameSelectedNode(); });
  ShootModal(QStringLiteral("window-list"), [this] { AllWindows.Open(); });
  ShootModal(QStringLiteral("load-configuration"), [this] { Click(Form1, "ButtonLoad"); });
  ShootModal(QStringLiteral("save-configuration"), [this] { Click(Form1, "ButtonSave"); });
}

void Gallery::Shoot(QWidget& window, const QString& name) {
  const QString file = Output.filePath(
      name + (Language == Bulgarian ? QStringLiteral("-bg.png") : QStringLiteral("-en.png")));
  window.raise();
  if (!QTest::qWaitForWindowExposed(&window)) {
    Problems.push_back(file.toStdString() + ": the window did not show");
    return;
  }
  // The window manager frames a window a moment after it shows; the platform window learns the
  // frame then.
  const QWindow& handle = *window.windowHandle();
  const bool framed = window.windowFlags().testFlag(Qt::FramelessWindowHint) ||
                      QTest::qWaitFor([&] { return handle.frameGeometry() != handle.geometry(); });
  if (!framed) Problems.push_back(file.toStdString() + ": the window manager gave no frame");
  QTest::qWait(SettleMs);
  const QRect frame = handle.frameGeometry();
  const QPixmap shot =
      window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  if (!shot.save(file)) Problems.push_back(file.toStdString() + ": not saved");
}

void Gallery::ShootModal(const QString& name, const std::function<void()>& open,
                         const std::function<void(QWidget&)>& fill) {
  bool shown = false;
  QTimer shooter;
  shooter.setSingleShot(true);
  QObject::connect(&shooter, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    shown = true;
    if (fill) fill(*dialog);
    Shoot(*dialog, name);
    dialog->reject();
  });
  shooter.start(0);
  open();
  if (!shown) Problems.push_back(name.toStdString() + ": no modal dialog opened");
}

}  // namespace quillon::gallery

#pragma once

#include <QDir>
#include <QTemporaryDir>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/actions/ActionExecutor.h"
#include "core/actions/AudioModel.h"
#include "core/learning/LearnSettings.h"
#include "core/shell/CurrentFunction.h"
#include "gui/ConfigDialogWindows.h"
#include "gui/TForm1.h"
#include "gui/TForm2.h"
#include "gui/TFormAllWindows.h"
#include "gui/TFormAudio.h"
#include "gui/TFormKeys.h"
#include "gui/TFormNewTab.h"
#include "gui/TFormOptions.h"
#include "gui/TFormShutDown.h"
#include "gui/TMain.h"
#include "platform/fake/FakeDesktopSystem.h"
#include "platform/fake/FakeEventLoop.h"
#include "platform/fake/FakeMixer.h"
#include "platform/fake/FakeRegistry.h"

namespace quillon::gallery {

// Message boxes the gallery does not expect: each is kept as a problem and answered with its
// first button, as Enter would.
struct UnexpectedBoxes : MessageBoxes {
  MessageAnswer Show(const MessageBoxContent& box) override;
  std::vector<std::string> Shown;
};

// The temporary data folder: the sample remote, two configurations and two key-combination
// pages; the settings choose the first configuration and the language.
struct SampleData {
  SampleData(const std::filesystem::path& sourceFolder, LanguageFlag language);

  QTemporaryDir Folder;
  std::filesystem::path Remotes;
  std::filesystem::path Keys;
  platform::FakeRegistry Registry;
  LanguageFlag Language;
};

// The windows of the desktop program wired as the program wires them, over the fake backends
// and virtual time: the sample remote and two configurations in a temporary data folder, two
// key-combination pages, a sound card, a desktop with a few windows. Each shot shows one window
// with realistic content in one language and saves it as "NAME-en.png" or "NAME-bg.png".
class Gallery {
 public:
  Gallery(const std::filesystem::path& sourceFolder, const QDir& output, LanguageFlag language);
  Gallery(const Gallery&) = delete;
  Gallery& operator=(const Gallery&) = delete;

  // Takes every shot; gives what went wrong, nothing when all were saved.
  std::vector<std::string> ShootAll();

 private:
  void ShootLearning();
  void ShootKeys();
  void ShootAudio();
  void ShootShutDown();
  void ShootConfigurationDialogs();

  // Saves the window, with the window manager's frame, as it shows on the screen.
  void Shoot(QWidget& window, const QString& name);
  // Runs `open`, which shows a modal dialog; inside its run `fill` prepares the dialog, which
  // is then shot and cancelled.
  void ShootModal(const QString& name, const std::function<void()>& open,
                  const std::function<void(QWidget&)>& fill = {});
  void Play(const std::vector<std::int64_t>& durations);
  static platform::FakeMixer& WithSoundCard(platform::FakeMixer& mixer);

  std::filesystem::path Source;
  QDir Output;
  std::vector<std::string> Problems;
  std::mt19937 Random{20261206};

  SampleData Data;
  platform::FakeRegistry& Registry = Data.Registry;
  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  platform::FakeDesktopSystem Desktop;
  platform::FakeMixer Mixer{Loop};
  gui::MixerChanges Changes{WithSoundCard(Mixer)};
  AudioModel Audio{Changes, Registry};
  UnexpectedBoxes Boxes;
  gui::QtConfigDialogs Dialogs;

  DispatchOptions Dispatch{.Language = Data.Language};
  LanguageFlag& Language = Dispatch.Language;
  Options Settings = ReadOptions(Registry);
  ReceiveSettings Receive = ToReceiveSettings(Settings);
  CurrentRemote Remote;
  ConfigTree Tree;
  CurrentConfiguration Current;
  ReceivePipeline Pipeline{Loop, Receive, Remote.Timings, Remote.Limits};
  gui::TForm2 Form2;
  CurrentFunctionDisplay Display{Form2, Loop, Desktop.System, Settings};
  gui::TFormShutDown ShutDownWindow;
  ActionExecutor Executor{{Desktop.Keyboard, Desktop.Mouse, Desktop.Desktop, Desktop.Launcher,
                           Desktop.System, Loop, Clock},
                          ShutDownWindow,
                          Display,
                          Audio,
                          Language};
  CommandDispatcher Dispatcher{Pipeline, Tree, *Remote.Record, Display,
                               Executor, Loop, Clock,          Dispatch};
  RunningSystem System{Registry,   Settings, Receive,        Pipeline,
                       Dispatcher, Dispatch, Executor.Mouse, Display};

  gui::TForm1 Form1{{{Tree, Remote, Current, Data.Remotes, Registry, Boxes, Dialogs, Dispatcher,
                      Executor, Display, Language},
                     System,
                     Language,
                     Data.Remotes / "autostart" / "quillon.desktop",
                     "quillon"}};
  LearnSettings Learn;
  gui::TMain Learning{{Pipeline, Remote, Settings, Registry, Learn, Loop, Clock, Language,
                       Data.Remotes, Boxes, Display}};
  gui::TFormOptions OptionsWindow{{System, Language}, &Form1};
  gui::TFormNewTab NewTab;
  gui::TFormKeys Keys{{Data.Keys, Registry, Boxes, NewTab, Form1, Loop, Language}};
  gui::TFormAllWindows AllWindows{{Desktop.Desktop, Form1, Tree, Boxes, Language}, &Form1};
  gui::TFormAudio AudioWindow{{Audio, Changes, Form1, Boxes, Language}, &Form1};
};

}  // namespace quillon::gallery

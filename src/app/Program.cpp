#include "app/Program.h"

#include <QApplication>
#include <QStandardPaths>

#include <cstdlib>
#include <iostream>

#include "app/DesktopBackends.h"
#include "app/SingleInstance.h"
#include "core/actions/ActionExecutor.h"
#include "core/actions/AudioModel.h"
#include "core/shell/DataFolders.h"
#include "core/shell/Settings.h"
#include "core/shell/StartUp.h"
#include "gui/ConfigDialogWindows.h"
#include "gui/QtEventLoop.h"
#include "gui/QtMessageBoxes.h"
#include "gui/QtText.h"
#include "gui/TForm1.h"
#include "gui/TForm2.h"
#include "gui/TFormShutDown.h"
#include "platform/linux/AlsaMixer.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/LinuxLauncher.h"
#include "platform/linux/RegFileRegistry.h"

namespace quillon::app {

namespace {

int Fail(const std::string& message) {
  std::cerr << "quillon: " << message << "\n";
  return 2;
}

}  // namespace

int Run() {
  platform::LinuxClock clock;
  gui::QtEventLoop loop(clock);
  const char* home = std::getenv("HOME");
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  const auto settingsFile = platform::RegistryFilePath(configHome, home);
  if (!settingsFile) return Fail(settingsFile.ErrorMessage());
  platform::RegFileRegistry registry(settingsFile.Value());
  const auto autoStartEntry = AutoStartEntryPath(configHome, home);
  if (!autoStartEntry) return Fail(autoStartEntry.ErrorMessage());
  const std::filesystem::path programPath = gui::ToUtf8(QApplication::applicationFilePath());
  const auto folders = FindDataFolders(programPath.parent_path(), std::getenv("QUILLON_HOME"),
                                       std::getenv("XDG_DATA_HOME"), home);
  if (!folders) return Fail(folders.ErrorMessage());
  if (const auto created = CreateDataFolders(folders.Value()); !created) {
    return Fail(created.ErrorMessage());
  }

  // The language comes first: the question about another running copy is asked in it. The
  // program-wide flag lives in the dispatch options, which key dispatch reads it from.
  DispatchOptions dispatchOptions;
  LanguageFlag& language = dispatchOptions.Language;
  language = static_cast<LanguageFlag>(ReadValue(registry, settings::Language));
  gui::QtMessageBoxes boxes;
  SingleInstance instance(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
  if (!instance.First() &&
      ShowMessageBox(boxes, language, Text(StartUpText::AlreadyRunning, language),
                     MessageButtons::YesNo, MessageKind::Confirmation) != MessageAnswer::Yes) {
    instance.CallFirst();
    return 0;
  }

  Options options = ReadOptions(registry);
  dispatchOptions.ShowUnknownButton = options.ShowUnknownButton;
  ReceiveSettings receive = ToReceiveSettings(options);
  DesktopBackends desktop = OpenDesktopBackends();
  platform::LinuxLauncher launcher;
  platform::AlsaMixer mixer(loop);
  AudioModel audio(mixer, registry);

  CurrentRemote remote;
  ConfigTree tree;
  CurrentConfiguration current;
  ReceivePipeline pipeline(loop, receive, remote.Timings, remote.Limits);

  gui::TForm2 form2;
  CurrentFunctionDisplay display(form2, loop, *desktop.System, options);
  gui::TFormShutDown shutDownWindow;
  ActionExecutor executor(
      {*desktop.Keyboard, *desktop.Mouse, *desktop.Desktop, launcher, *desktop.System, loop, clock},
      shutDownWindow, display, audio, language);
  CommandDispatcher dispatcher(pipeline, tree, *remote.Record, display, executor, loop, clock,
                               dispatchOptions);
  display.RestartAlso([&] { dispatcher.SetHintInterval(display.HintInterval()); });
  pipeline.SetConsumers({&dispatcher, nullptr, nullptr, nullptr, &dispatcher.Matcher, nullptr});

  gui::QtConfigDialogs dialogs;
  gui::TForm1 form1(
      {{tree, remote, current, folders.Value().Remotes(), registry, boxes, dialogs, dispatcher,
        executor, display, language},
       {registry, options, receive, pipeline, dispatcher, dispatchOptions, executor.Mouse, display},
       language,
       autoStartEntry.Value(),
       programPath});
  boxes.SetOwner(&form1);
  dialogs.SetOwner(&form1);
  shutDownWindow.OnCancel = [&] { executor.ShutDown.Cancel(); };
  shutDownWindow.OnEndProgram = [&] { form1.close(); };
  instance.OnCalled = [&] { form1.BringToFront(); };

  if (!form1.FormCreate()) return 1;
  form1.show();
  return QApplication::exec();
}

}  // namespace quillon::app

#include "app/Program.h"

#include <QApplication>
#include <QStandardPaths>

#include <cstdlib>
#include <iostream>

#include "app/DesktopBackends.h"
#include "app/ProgramReceiver.h"
#include "app/SingleInstance.h"
#include "core/actions/ActionExecutor.h"
#include "core/actions/AudioModel.h"
#include "core/config/ApplicationProbe.h"
#include "core/learning/LearnSettings.h"
#include "core/learning/ReceiverRetune.h"
#include "core/shell/DataFolders.h"
#include "core/shell/Settings.h"
#include "core/shell/StartUp.h"
#include "core/shell/StartUpChecks.h"
#include "gui/ConfigDialogWindows.h"
#include "gui/QtEventLoop.h"
#include "gui/QtMessageBoxes.h"
#include "gui/QtText.h"
#include "gui/TForm1.h"
#include "gui/TForm2.h"
#include "gui/TForm3.h"
#include "gui/TFormAllWindows.h"
#include "gui/TFormAudio.h"
#include "gui/TFormKeys.h"
#include "gui/TFormNewTab.h"
#include "gui/TFormOptions.h"
#include "gui/TFormShutDown.h"
#include "gui/TMain.h"
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
  gui::MixerChanges mixerChanges(mixer);
  AudioModel audio(mixerChanges, registry);

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
  dispatcher.Matcher.UseTemplates(&remote.Templates);

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

  // The receivers: a free serial port, or the program ends; the port chosen at the main window
  // moves the bare receiver; closing stops the receiver.
  ReceiverDisplay receiverDisplay(form1);
  ProgramReceiver receiver(
      {pipeline, loop, clock, *remote.Record, *desktop.System, boxes, receiverDisplay},
      ProgramPortTable(), options, language);
  const std::int32_t highestPort = CheckFreePort(receiver.Ports(), boxes, language);
  if (highestPort == 0) return 1;
  form1.OnComPortChosen = [&](std::int32_t port) {
    if (const auto chosen = receiver.SelectPort(port); !chosen) {
      receiverDisplay.Log(chosen.ErrorMessage());
    }
  };
  form1.OnClosing = [&] { receiver.Stop(); };

  // The learning window takes every burst the pipeline does not dispatch; the main window hides
  // while it is open.
  LearnSettings learn = LoadLearnSettings(registry);
  gui::TMain learning({pipeline, remote, options, registry, learn, loop, clock, language,
                       folders.Value().Remotes(), boxes, display, &receiver.Protocol(),
                       &receiver.ReceiverOptions(), &receiver.Discovery(), highestPort});
  pipeline.SetConsumers(learning.Procedure().Consumers(&dispatcher, &dispatcher.Matcher));

  // A change of remote type retunes a microcontroller receiver to the remote, or corrects the
  // file of a remote learned by an older version, with a progress dialog of its own; the
  // learning window's receiver-ready check takes the lines the correction does not.
  gui::TForm3 correctionDialog;
  ReceiverRetune retune(
      {pipeline, receiver.Protocol(), *remote.Record, boxes, correctionDialog, language});
  correctionDialog.OnCancel = [&] { retune.ProgressCancelClick(); };
  KeyLineConsumers lineConsumers = learning.Procedure().LineConsumers();
  retune.Next = lineConsumers.ReadyCheck;
  lineConsumers.ReadyCheck = &retune;
  receiver.Protocol().SetConsumers(learning.Procedure().Consumers(&dispatcher, &dispatcher.Matcher),
                                   lineConsumers);
  form1.ConfigurationEditor().UseReceiver(&retune);
  receiverDisplay.LearningWindow = &learning;
  learning.OnComPortChosen = form1.OnComPortChosen;
  form1.OnNewRmtCtrl = [&] {
    form1.HideWindow();
    learning.Open();
  };
  learning.OnClosed = [&] {
    form1.LearningWindowClosed();
    form1.RestoreWindow();
  };
  learning.OnEndProgram = [&] { form1.close(); };

  // The options dialog, from either main window; OK hands the options on at once.
  gui::TFormOptions optionsWindow(
      {{registry, options, receive, pipeline, dispatcher, dispatchOptions, executor.Mouse, display},
       language},
      &form1);
  form1.OnOptions = [&] { optionsWindow.Open(); };
  learning.OnOptions = [&] { optionsWindow.Open(); };

  gui::TFormNewTab newTab;
  gui::TFormKeys keysWindow(
      {folders.Value().Keys(), registry, boxes, newTab, form1, loop, language});
  newTab.SetOwner(&keysWindow);
  form1.OnButtonKeys = [&] { keysWindow.Open(); };
  form1.AddSideWindow(keysWindow);
  form1.OnKeyNameChanged = [&](std::string_view text) { keysWindow.KeyNameChanged(text); };

  // The probes never touch the program's own windows. The application probe waits as long as
  // the options say at the moment of the click.
  const ProbeParts probeParts{
      *desktop.Desktop, launcher, loop, clock, boxes, [](platform::WindowId window) {
        return QWidget::find(static_cast<WId>(window)) != nullptr;
      }};
  form1.OnProbeApplication = [&](const std::string& program) {
    const Options now = ReadOptions(registry);
    return ProbeApplication(probeParts, program, {now.StartApplication, now.StartWindows},
                            language);
  };
  SkinsProbe skins(probeParts, [&form1](bool minimized) {
    if (minimized) {
      form1.showMinimized();
    } else {
      form1.showNormal();
    }
  });
  form1.Skins = &skins;
  form1.Machine = desktop.System;
  form1.Launcher = &launcher;
  gui::TFormAllWindows allWindows({*desktop.Desktop, form1, tree, boxes, language}, &form1);
  form1.OnAllWindows = [&] { allWindows.Open(); };
  form1.AddSideWindow(allWindows);
  gui::TFormAudio audioWindow({audio, mixerChanges, form1, boxes, language}, &form1);
  form1.AudioWindow = &audioWindow;
  form1.AddSideWindow(audioWindow);

  // The language switch (Button6) reaches every window and the receiver's messages.
  form1.OnLanguageFlipped = [&] {
    learning.ApplyLearningWindowTexts();
    keysWindow.ApplyTexts();
    audioWindow.ApplyTexts();
    receiver.SetLanguage(language);
  };

  if (!form1.FormCreate()) return 1;
  const ScreenVerdict screen = CheckScreen(desktop.System->Screen(), boxes, language);
  if (!screen.GoOn) return 0;
  if (!screen.FullWindowFits) form1.UntickShowFullWindow();
  receiver.Start(ReadComPort(registry, settings::Com), highestPort);
  form1.EnableTimerStart();
  form1.show();
  const int status = QApplication::exec();
  // Closing the key-combination window saves its page and options.
  if (keysWindow.isVisible()) keysWindow.close();
  return status;
}

}  // namespace quillon::app

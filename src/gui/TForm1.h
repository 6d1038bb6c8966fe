#pragma once

#include <QRect>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <vector>

#include "core/actions/KeysWindow.h"
#include "core/config/ApplicationProbe.h"
#include "core/config/ConfigEditor.h"
#include "core/config/WindowList.h"
#include "core/shell/MainWindowActivation.h"
#include "core/shell/Tray.h"
#include "gui/ConfigTreeModel.h"
#include "gui/TForm1Controls.h"
#include "gui/TFormAudio.h"
#include "gui/TTrayIcon.h"
#include "platform/Launcher.h"
#include "platform/SystemControl.h"

namespace quillon::gui {

// What the configuration window works with besides the editor's objects.
struct MainWindowContext {
  EditorContext Editor;
  RunningSystem System;
  LanguageFlag& Language;  // Button6 flips it
  std::filesystem::path AutoStartEntry;
  std::filesystem::path ProgramPath;
};

inline constexpr int TimerStartMs = 2000;

// The configuration window, the program's main window: the configuration editor, the
// whole-configuration buttons, the language switch and the tray icon. Each handler forwards to
// the editor or to a core rule, and the window shows what they say.
class TForm1 : public QWidget,
               public ConfigEditorView,
               public TrayView,
               public KeyNameEditor,
               public WindowNameEditor,
               public AudioCommandEditor {
 public:
  explicit TForm1(const MainWindowContext& context);

  // The window's creation: texts in the current language, the stored settings, the editor's
  // start-up, the tray icon. False when the program must end.
  bool FormCreate();
  // Another start of the program asked this one to come to the front.
  void BringToFront();

  // The receiver side: the port choice (COMName) shows the port in use and hands the user's
  // choice on; the window takes no input while a receiver answers a reset; with a
  // microcontroller receiver the choice is fixed. Closing stops the receiver first.
  void ShowSelectedPort(std::int32_t port);
  void SetConfigurationEnabled(bool enabled) { setEnabled(enabled); }
  void PtkReceiverInUse();
  // The receiver label (Label2): the model of the microcontroller receiver in use.
  void ShowReceiverModel(std::string_view model);
  std::function<void(std::int32_t)> OnComPortChosen;
  std::function<void()> OnClosing;
  // The receiver has started: two seconds on, a program started with the session goes to the
  // tray (TimerStart).
  void EnableTimerStart();
  // The screen is too small for the full window: "Show full window" is unticked.
  void UntickShowFullWindow();
  // A side window (audio commands, key combinations, the window list) opens beside this window
  // with "Show full window", over its right part without (see PlaceSideWindow).
  void AddSideWindow(QWidget& window);
  // The learning window closed: the remote types again, a remote saved there among them, and
  // the chosen remote loaded again over what learning measured into the current remote.
  void LearningWindowClosed();

  // "New" beside the remote type (NewRmtCtrl, enabled only with it): learning a new remote.
  // A flip of the language (Button6) also goes to the learning window.
  std::function<void()> OnNewRmtCtrl;
  std::function<void()> OnLanguageFlipped;

  // "Keys" (ButtonKeys): the key-combination window; each change of the send-key field goes to
  // it as well.
  std::function<void()> OnButtonKeys;
  std::function<void(std::string_view)> OnKeyNameChanged;

  // "Application" (RunApplication): the probe starts the chosen program and gives the titles
  // of the windows it opened (enabled only with it).
  std::function<std::vector<std::string>(const std::string& program)> OnProbeApplication;
  // "Skins" (ButtonSkins, enabled only with it): the skins probe on the chosen application.
  SkinsProbe* Skins = nullptr;
  // "Show all windows" (ButtonAllWindows): the window list.
  std::function<void()> OnAllWindows;
  // "Audio commands" (ButtonAudio, enabled only with it): the audio window. While it shows,
  // "<<" under 'Command' adds the audio command picked there.
  TFormAudio* AudioWindow = nullptr;
  // "Run Application" (BitBtn1): starts the application of the group shown, to try the
  // configuration on it (enabled only with it and an application).
  platform::Launcher* Launcher = nullptr;
  // The screen saver's choice (ScreenSaverOn, ScreenSaverOff, enabled only with it) switches it
  // directly and shows its state each time the window becomes active.
  platform::SystemControl* Machine = nullptr;
  // "Options" (BitBtn2, enabled only with it): the options dialog.
  std::function<void()> OnOptions;
  // The name dialog for the selected key (F2 or the tree's menu); false when the node takes no
  // display name.
  bool RenameSelectedNode();

  // AudioCommandEditor (with EditorState, ConfigurationEditor and RefreshEditor below)
  void ChooseCommand() override;

  // WindowNameEditor (with EditorState, ConfigurationEditor and RefreshEditor below)
  void ChooseGroupKey() override;
  void TakeWindowName(std::string_view title) override;

  // KeyNameEditor
  void SetKeyName(std::string_view keys) override;
  void ChooseSendKeys() override;
  EditorPanel EditorState() const override { return Panel(); }
  ConfigEditor& ConfigurationEditor() override { return Editor; }
  void RefreshEditor() override { UpdateButtons(); }

  // ConfigEditorView
  void SetCaption(std::string_view caption) override;
  void ShowRemoteTypes(const std::vector<std::string>& names) override;
  void ShowRemoteType(std::string_view name) override;
  void ShowNode(std::int32_t node, const NodePanel& panel) override;
  void EnableEditor(bool enabled) override;
  void ClearWindowNames() override;
  void ResetApplication() override;
  void ClearKeyName() override;
  void ResetCommandList() override;
  void SaveWindowSettings() override;
  void EndProgram() override;

  // TrayView
  bool ShowTrayIcon() override { return TrayIcon1->Activate(); }
  bool WindowShowing() const override { return isVisible() && !isMinimized(); }
  void HideWindow() override;
  void AnimateToTray() override;
  void MinimizeWindow() override { showMinimized(); }
  void RestoreWindow() override;

 protected:
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Connect();
  EditorPanel Panel() const;
  std::int32_t SelectedNode() const;
  void UpdateButtons();
  void ApplyTexts();
  void ShowApplication();
  void RunApplicationClick();
  void BitBtn1Click();
  void Button3Click();
  void ButtonSkinsClick();
  void ShowSkinsCaption();
  void Button6Click();
  void CheckBox1Click(bool ticked);
  void PlaceSideWindow(QWidget& side);
  void ShowScreenSaver();

  MainWindowContext The;
  ConfigEditor Editor;
  TrayModel Tray;
  TForm1Controls Controls;
  ConfigTreeModel* Model;
  TTrayIcon* TrayIcon1;
  std::string ApplicationPath;  // the program the root or group shown names
  QRect TrayBounds;             // where the window was when it went to the tray
  std::vector<QWidget*> SideWindows;
};

}  // namespace quillon::gui

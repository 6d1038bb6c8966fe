#pragma once

#include <QRect>
#include <QWidget>

#include <filesystem>

#include "core/config/ConfigEditor.h"
#include "core/shell/MainWindowActivation.h"
#include "core/shell/Tray.h"
#include "gui/ConfigTreeModel.h"
#include "gui/TForm1Controls.h"
#include "gui/TTrayIcon.h"

namespace quillon::gui {

// What the configuration window works with besides the editor's objects.
struct MainWindowContext {
  EditorContext Editor;
  RunningSystem System;
  LanguageFlag& Language;  // Button6 flips it
  std::filesystem::path AutoStartEntry;
  std::filesystem::path ProgramPath;
};

// The configuration window, the program's main window: the configuration editor, the
// whole-configuration buttons, the language switch and the tray icon. Each handler forwards to
// the editor or to a core rule, and the window shows what they say.
class TForm1 : public QWidget, public ConfigEditorView, public TrayView {
 public:
  explicit TForm1(const MainWindowContext& context);

  // The window's creation: texts in the current language, the stored settings, the editor's
  // start-up, the tray icon. False when the program must end.
  bool FormCreate();
  // Another start of the program asked this one to come to the front.
  void BringToFront();

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
  void MinimizeWindow() override { showMinimized(); }
  void RestoreWindow() override;

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Connect();
  EditorPanel Panel() const;
  std::int32_t SelectedNode() const;
  void UpdateButtons();
  void ApplyTexts();
  void ShowApplication();
  void Button6Click();
  void CheckBox1Click(bool ticked);

  MainWindowContext The;
  ConfigEditor Editor;
  TrayModel Tray;
  TForm1Controls Controls;
  ConfigTreeModel* Model;
  TTrayIcon* TrayIcon1;
  std::string ApplicationPath;  // the program the root or group shown names
  QRect TrayBounds;             // where the window was when it went to the tray
};

}  // namespace quillon::gui

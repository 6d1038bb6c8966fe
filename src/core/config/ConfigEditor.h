#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/actions/MessageBox.h"
#include "core/common/Language.h"
#include "core/config/ConfigDialogs.h"
#include "core/config/ConfigEdit.h"
#include "core/config/ConfigFile.h"
#include "core/config/ConfigTree.h"
#include "core/config/KeyDispatch.h"
#include "core/learning/CurrentRemote.h"
#include "core/learning/ReceiverRetune.h"
#include "core/shell/HintDisplay.h"
#include "platform/Registry.h"

namespace quillon {

// The configuration editor of the main window: the tree of button assignments, the "Operation"
// panel beside it, and the whole-configuration buttons. The window forwards each click with
// what its controls hold and shows what the editor tells its view; every rule is here.

// Which kind of node "<<" adds: the items of RadioGroup1, in order.
enum class EditorOperation : std::uint8_t { GroupKey = 0, Command = 1, SendKeys = 2, Message = 3 };

inline constexpr std::string_view NoCommand = "none";

// What the panel's controls hold when a button is pressed.
struct EditorPanel {
  std::int32_t Selected = -1;  // the selected node, -1 for none
  EditorOperation Operation = EditorOperation::GroupKey;
  std::string WindowName{NoWindowName};  // WinNameCombo
  std::string ApplicationPath{};         // the program chosen with RunApplication
  std::string CommandName{NoCommand};    // CommandName
  std::string KeyName{};                 // the send-key string
  std::string MessageName{};             // MessName: "WM_COMMAND", "WM_CLOSE" or empty
  std::int64_t MessageWParam = 0;
  std::int64_t MessageLParam = 0;
  // While the audio window shows, 'Command' adds an audio command whatever CommandName shows:
  // the one picked there ("device/destination/line/action"), empty until its buttons pick one.
  bool AudioWindowShowing = false;
  std::string AudioCommand{};
};

// What showing a node sets in the panel. A field the node does not speak of stays as it is.
struct NodePanel {
  std::optional<EditorOperation> Operation;
  std::optional<std::string> WindowName;
  std::optional<std::string> ApplicationPath;
  std::optional<std::string> CommandName;
  std::optional<std::string> KeyName;
  std::optional<std::string> MessageName;
  std::optional<std::int64_t> MessageWParam;
  std::optional<std::int64_t> MessageLParam;

  bool operator==(const NodePanel&) const = default;
};

// The panel of a node text: a root or group key shows its window and program, a command node
// its operation and parameter. Key nodes and markers say nothing.
NodePanel PanelOfNode(std::string_view text);

// A key node: a key label ("3. Mute") under the root or a group, possibly a group key.
bool IsKeyNode(const ConfigTree& tree, std::int32_t node);
// Brackets, TABs and line breaks would split a node's fields or the file's lines: a window name
// or application path holding one is refused.
bool HasFieldBreakers(std::string_view text);
// Where a key node's trailing " - [Group Key][window][path]" begins, npos when it has none.
std::size_t GroupKeySuffix(std::string_view text);

struct EditorButtons {
  bool Add = false;     // "<<"
  bool Remove = false;  // ">>"
  bool operator==(const EditorButtons&) const = default;
};

// What the editor changes in the main window.
class ConfigEditorView {
 public:
  virtual ~ConfigEditorView() = default;

  virtual void SetCaption(std::string_view caption) = 0;
  // Fills the remote-type list, and selects an entry in it.
  virtual void ShowRemoteTypes(const std::vector<std::string>& names) = 0;
  virtual void ShowRemoteType(std::string_view name) = 0;
  // Selects the node in the tree and shows it in the panel.
  virtual void ShowNode(std::int32_t node, const NodePanel& panel) = 0;
  // The tree and the panel take input only while a remote's keys are loaded.
  virtual void EnableEditor(bool enabled) = 0;
  // The window name becomes "none" with an empty list.
  virtual void ClearWindowNames() = 0;
  // No program chosen: RunApplication reads "Application" again.
  virtual void ResetApplication() = 0;
  virtual void ClearKeyName() = 0;
  // The built-in command list, refilled, with "none" chosen.
  virtual void ResetCommandList() = 0;
  // Stores the window's settings, as closing it does.
  virtual void SaveWindowSettings() = 0;
  // A remote data file that cannot be read ends the program after its message.
  virtual void EndProgram() = 0;
};

// The objects the editor works on; all live for the whole run.
struct EditorContext {
  ConfigTree& Tree;
  CurrentRemote& Remote;
  CurrentConfiguration& Current;
  std::filesystem::path RemoteFolder;  // remote data files and configurations
  platform::Registry& Registry;
  MessageBoxes& Boxes;
  ConfigurationDialogs& Dialogs;
  CommandDispatcher& Dispatcher;
  CommandExecutor& Executor;
  HintDisplay& Hints;
  const LanguageFlag& Language;
};

// Loading and saving talk to the editor as their ConfigurationView; it passes on to its own view.
class ConfigEditor : private ConfigurationView {
 public:
  ConfigEditor(const EditorContext& context, ConfigEditorView& view);
  ConfigEditor(const ConfigEditor&) = delete;
  ConfigEditor& operator=(const ConfigEditor&) = delete;

  // The main window's creation: an empty configuration (the root "New group"), the remote types
  // of the remote folder, the stored remote type when it is listed, then the stored
  // configuration file, if any. False when the program must end (a remote file that cannot be
  // read, after its message).
  bool StartUp(std::string_view storedRemoteType, const std::string& storedFileName);
  // The remote data files changed (a remote was learned): the remote types afresh, the chosen
  // one kept and its keys loaded again over what learning left in the current remote.
  void RemoteTypesChanged();

  // Which of "<<" and ">>" the panel allows: both act on key and group-key nodes only (the root,
  // markers, commands and the remote-type line stay as they are, so the file stays loadable).
  // "<<" needs a built-in command other than "none" or an audio command, a non-empty key
  // string, and a node that is not already a group key for a group key.
  EditorButtons ButtonsFor(const EditorPanel& panel) const;

  void TreeViewClick(std::int32_t node);
  // With "Double click - execute function" ticked, runs the command the node's key finds, as a
  // press of that key would, groups included.
  void TreeViewDblClick(std::int32_t node, bool doubleClickExecutes);

  // "<<": adds to the selected key node what the operation says, as its last child. A key that
  // already has a function asks first, since dispatch runs only the first one; a key string is
  // checked before it is stored; window names with brackets, TABs or line breaks are refused.
  void ButtonAddClick(const EditorPanel& panel);
  // ">>": a group key loses its whole group and its " - [Group Key][...][...]" ending; a plain
  // key loses its children unless the first one is a "Lock Up" or "Close Group" marker.
  void ButtonRemoveClick(std::int32_t node);
  // A window name entered or chosen: assigns the root (ConfigEdit's AssignRoot).
  void WinNameComboChange(const EditorPanel& panel);
  // "New": a new configuration for the keys of the current remote.
  void Button4Click();
  // "Load": the load dialog; loads or deletes the chosen configuration.
  void ButtonLoadClick();
  // "Save": checks the remote type and the root, asks for the name, confirms an overwrite, saves.
  void ButtonSaveClick(const EditorPanel& panel);
  // Another remote type chosen: its keys are loaded and a new configuration built from them.
  // A microcontroller receiver then takes the remote's own timing, or, for a remote file of an
  // older version, the user is asked whether to correct it.
  void RmtCtrlChange(std::string_view name);
  void UseReceiver(RemoteTypeReceiver* receiver) { Receiver = receiver; }

  const std::string& SelectedRemoteType() const { return SelectedType; }

 private:
  // ConfigurationView
  void SetCaption(std::string_view caption) override { View.SetCaption(caption); }
  bool HasRemoteType(std::string_view name) const override;
  void SelectRemoteType(std::string_view name) override;
  void LoadRemoteType(std::string_view name) override;
  void ShowNode(std::int32_t index) override {
    View.ShowNode(index, PanelOfNode(The.Tree.Text(index)));
  }
  void EnableEditor() override { Enable(true); }
  void ConfigurationLoaded() override { The.Dispatcher.ResetGroups(); }

  MessageAnswer Show(std::string_view text, MessageButtons buttons, MessageKind kind);
  bool FieldsAcceptable(const EditorPanel& panel);
  bool AlreadyAssigned(std::int32_t node, EditorOperation operation) const;
  void RemoveChildren(std::int32_t node, bool keepLockUp);
  // The remote types from the remote data files into the list; false after the error box.
  bool ListRemoteTypes();
  bool LoadKeys(std::string_view name);
  void RetuneReceiver(std::string_view name);
  void Enable(bool enabled);

  EditorContext The;
  ConfigEditorView& View;
  std::vector<std::string> RemoteTypeNames;
  std::string SelectedType;
  std::filesystem::path RemoteFile;  // of the remote type loaded last
  RemoteTypeReceiver* Receiver = nullptr;
  bool EditorEnabled = false;
};

}  // namespace quillon

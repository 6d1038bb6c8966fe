#include "core/config/ConfigEditor.h"

#include <algorithm>
#include <charconv>

#include "core/actions/KeyStringEditor.h"
#include "core/config/EditorTexts.h"
#include "core/config/NodeText.h"
#include "core/learning/RemoteFile.h"

namespace quillon {

namespace {

constexpr std::string_view GroupKeyEnding = " - [Group Key][";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number of a key label ("12. Play" gives 12), 0 when the text is no key label.
std::int32_t LabelNumber(std::string_view text) {
  std::int32_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end == text.data() || text.front() == '0') return 0;
  return std::string_view(end, text.data() + text.size()).starts_with(". ") ? number : 0;
}

std::string MessageText(const EditorPanel& panel) {
  return "<WM_>[" + panel.MessageName + "," + std::to_string(panel.MessageWParam) + "," +
         std::to_string(panel.MessageLParam) + "]";
}

}  // namespace

NodePanel PanelOfNode(std::string_view text) {
  NodePanel panel;
  CommandRecord record;
  ParseNodeText(text, record);
  switch (record.Kind) {
    case CommandKind::GroupKey: {
      panel.Operation = EditorOperation::GroupKey;
      if (!text.empty() && IsDigit(text.front())) {
        panel.WindowName = record.WindowName;
        panel.ApplicationPath = record.ApplicationPath;
      } else {
        const BracketFields root = SplitBracketFields(text, BracketMode::Fields);
        panel.WindowName = root[0];
        panel.ApplicationPath = root[1];
      }
      break;
    }
    case CommandKind::Command:
    case CommandKind::AudioCommand:
      panel.Operation = EditorOperation::Command;
      if (record.Kind == CommandKind::Command) panel.CommandName = record.Parameter;
      break;
    case CommandKind::SendKeys:
      panel.Operation = EditorOperation::SendKeys;
      panel.KeyName = record.Parameter;
      break;
    case CommandKind::WindowMessage: {
      const WindowMessage message = ParseWindowMessage(record.Parameter);
      panel.Operation = EditorOperation::Message;
      panel.MessageName = message.Message == WmCommand ? "WM_COMMAND"
                          : message.Message == WmClose ? "WM_CLOSE"
                                                       : "";
      panel.MessageWParam = message.WParam;
      panel.MessageLParam = message.LParam;
      break;
    }
    case CommandKind::None:
      break;
  }
  return panel;
}

bool HasFieldBreakers(std::string_view text) {
  return text.find_first_of("[]\t\r\n") != std::string_view::npos;
}

bool IsKeyNode(const ConfigTree& tree, std::int32_t node) {
  return node > 0 && node < tree.Count() && tree.Level(node) > 0 &&
         LabelNumber(tree.Text(node)) > 0;
}

std::size_t GroupKeySuffix(std::string_view text) {
  const std::size_t start = text.rfind(GroupKeyEnding);
  if (start == std::string_view::npos) return start;
  const std::string_view fields = text.substr(start + GroupKeyEnding.size());
  const bool complete = fields.ends_with(']') && fields.find("][") != std::string_view::npos;
  return complete ? start : std::string_view::npos;
}

ConfigEditor::ConfigEditor(const EditorContext& context, ConfigEditorView& view)
    : The(context), View(view) {}

MessageAnswer ConfigEditor::Show(std::string_view text, MessageButtons buttons, MessageKind kind) {
  return ShowMessageBox(The.Boxes, The.Language, text, buttons, kind);
}

void ConfigEditor::Enable(bool enabled) {
  EditorEnabled = enabled;
  View.EnableEditor(enabled);
}

bool ConfigEditor::StartUp(std::string_view storedRemoteType, const std::string& storedFileName) {
  View.SetCaption(ProgramCaption);
  View.ClearWindowNames();
  View.ResetApplication();
  View.ResetCommandList();
  The.Tree.Clear();
  The.Tree.AddTopLevel(std::string(NewGroupRoot));

  if (!ListRemoteTypes()) {
    View.EndProgram();
    return false;
  }

  Enable(false);
  if (HasRemoteType(storedRemoteType)) {
    SelectRemoteType(storedRemoteType);
    if (!LoadKeys(storedRemoteType)) return false;
  }
  ShowNode(0);

  if (!storedFileName.empty()) {
    const auto loaded = LoadConfiguration(storedFileName, The.Tree, The.Current, *this,
                                          The.Registry, LoadOccasion::StartUp, The.Language);
    if (!loaded) Show(loaded.ErrorMessage(), MessageButtons::Ok, MessageKind::Error);
  }
  return true;
}

bool ConfigEditor::ListRemoteTypes() {
  auto types = ScanRemoteTypes(The.RemoteFolder, The.Language);
  if (!types) {
    Show(types.ErrorMessage(), MessageButtons::Ok, MessageKind::Error);
    return false;
  }
  UniqueNameList names;
  for (const RemoteType& type : types.Value()) names.Add(type.DisplayName);
  RemoteTypeNames = names.Items();
  View.ShowRemoteTypes(RemoteTypeNames);
  return true;
}

void ConfigEditor::RemoteTypesChanged() {
  if (!ListRemoteTypes()) return;
  if (!HasRemoteType(SelectedType)) {
    Enable(false);
    return;
  }
  View.ShowRemoteType(SelectedType);
  LoadKeys(SelectedType);
}

bool ConfigEditor::HasRemoteType(std::string_view name) const {
  return std::find(RemoteTypeNames.begin(), RemoteTypeNames.end(), name) != RemoteTypeNames.end();
}

void ConfigEditor::SelectRemoteType(std::string_view name) {
  SelectedType = name;
  View.ShowRemoteType(name);
}

void ConfigEditor::LoadRemoteType(std::string_view name) { LoadKeys(name); }

bool ConfigEditor::LoadKeys(std::string_view name) {
  const auto load = quillon::SelectRemoteType(The.RemoteFolder, name, The.Remote, The.Language);
  if (!load) {
    Show(load.ErrorMessage(), MessageButtons::Ok, MessageKind::Error);
    View.EndProgram();
    return false;
  }
  RemoteFile = load.Value().Path;
  Enable(load.Value().Found);
  return true;
}

EditorButtons ConfigEditor::ButtonsFor(const EditorPanel& panel) const {
  EditorButtons buttons;
  if (!EditorEnabled || !IsKeyNode(The.Tree, panel.Selected)) return buttons;
  buttons.Remove = true;
  switch (panel.Operation) {
    case EditorOperation::GroupKey:
      buttons.Add = GroupKeySuffix(The.Tree.Text(panel.Selected)) == std::string_view::npos;
      break;
    case EditorOperation::Command:
      buttons.Add = panel.CommandName != NoCommand || panel.AudioWindowShowing;
      break;
    case EditorOperation::SendKeys:
      buttons.Add = !panel.KeyName.empty();
      break;
    case EditorOperation::Message:
      buttons.Add = true;
      break;
  }
  return buttons;
}

void ConfigEditor::TreeViewClick(std::int32_t node) {
  if (node >= 0 && node < The.Tree.Count()) ShowNode(node);
}

void ConfigEditor::TreeViewDblClick(std::int32_t node, bool doubleClickExecutes) {
  if (!doubleClickExecutes || !IsKeyNode(The.Tree, node)) return;
  // The key whose label the node carries, looked up as its press would be; a display name or
  // a group ending after the label does not change which key it is.
  const std::int32_t key = LabelNumber(The.Tree.Text(node));
  const RemoteData& remote = *The.Remote.Record;
  if (key >= std::clamp(remote.KeyCount, 0, TableEntries) ||
      !The.Tree.Text(node).starts_with(KeyLabel(remote.Keys[static_cast<std::size_t>(key)]))) {
    return;
  }
  const CommandLookup lookup = The.Dispatcher.FindCommand(key);
  The.Executor.ExecuteCommand(lookup.Record);
  if (!lookup.Hint.empty()) The.Hints.IRShowHint(lookup.Hint);
}

bool ConfigEditor::FieldsAcceptable(const EditorPanel& panel) {
  for (const std::string* field : {&panel.WindowName, &panel.ApplicationPath}) {
    if (HasFieldBreakers(*field)) {
      Show(std::string(Text(EditorText::BracketsInWindowName, The.Language)) + *field,
           MessageButtons::Ok, MessageKind::Error);
      return false;
    }
  }
  return true;
}

bool ConfigEditor::AlreadyAssigned(std::int32_t node, EditorOperation operation) const {
  if (GroupKeySuffix(The.Tree.Text(node)) != std::string_view::npos) return true;
  const std::int32_t first = The.Tree.FirstChild(node);
  if (first < 0) return false;
  // A locked key can still open a group: dispatch finds a group key by its own text.
  return operation != EditorOperation::GroupKey || The.Tree.Text(first) != LockUpMarker;
}

void ConfigEditor::ButtonAddClick(const EditorPanel& panel) {
  if (!ButtonsFor(panel).Add) return;
  const std::int32_t node = panel.Selected;
  std::string added;
  switch (panel.Operation) {
    case EditorOperation::GroupKey:
      if (panel.WindowName == NoWindowName || !FieldsAcceptable(panel)) return;
      break;
    case EditorOperation::Command:
      if (!panel.AudioWindowShowing) {
        added = "<Command>[" + panel.CommandName + "]";
      } else if (panel.AudioCommand.empty()) {
        Show(Text(EditorText::UseAudioButtons, The.Language), MessageButtons::Ok,
             MessageKind::Information);
        return;
      } else {
        added = "<AudioCommand>[" + panel.AudioCommand + "]";
      }
      break;
    case EditorOperation::SendKeys:
      added = "<SendKey>[" + panel.KeyName + "]";
      break;
    case EditorOperation::Message:
      if (panel.MessageName.empty()) return;
      added = MessageText(panel);
      break;
  }
  if (AlreadyAssigned(node, panel.Operation) &&
      Show(Text(EditorText::AlreadyHasFunction, The.Language), MessageButtons::YesNo,
           MessageKind::Confirmation) != MessageAnswer::Yes) {
    return;
  }
  if (panel.Operation == EditorOperation::SendKeys &&
      !ConfirmKeyString(panel.KeyName, The.Boxes, The.Language)) {
    return;
  }
  if (panel.Operation == EditorOperation::GroupKey) {
    MakeGroupKey(The.Tree, node, *The.Remote.Record, panel.WindowName, panel.ApplicationPath);
  } else {
    The.Tree.AddChild(node, added);
  }
  if (panel.Operation == EditorOperation::SendKeys) View.ClearKeyName();
  ShowNode(node);
}

void ConfigEditor::RemoveChildren(std::int32_t node, bool keepLockUp) {
  for (;;) {
    std::int32_t child = The.Tree.FirstChild(node);
    if (child >= 0 && keepLockUp && The.Tree.Text(child) == LockUpMarker) {
      child = The.Tree.SubtreeEnd(child);
      if (child >= The.Tree.Count() || The.Tree.Level(child) != The.Tree.Level(node) + 1) return;
    }
    if (child < 0) return;
    The.Tree.Remove(child);
  }
}

void ConfigEditor::ButtonRemoveClick(std::int32_t node) {
  if (!EditorEnabled || !IsKeyNode(The.Tree, node)) return;
  const std::string text = The.Tree.Text(node);
  const std::size_t suffix = GroupKeySuffix(text);
  if (suffix != std::string_view::npos) {
    RemoveChildren(node, /*keepLockUp=*/true);
    The.Tree.SetText(node, text.substr(0, suffix));
  } else if (const std::int32_t first = The.Tree.FirstChild(node);
             first >= 0 && The.Tree.Text(first) != LockUpMarker &&
             The.Tree.Text(first) != "<Command>[" + std::string(CloseGroupCommand) + "]") {
    RemoveChildren(node, /*keepLockUp=*/false);
  }
  ShowNode(node);
}

void ConfigEditor::WinNameComboChange(const EditorPanel& panel) {
  if (panel.WindowName == NoWindowName || !FieldsAcceptable(panel)) return;
  AssignRoot(The.Tree, panel.Selected, panel.WindowName, panel.ApplicationPath);
}

void ConfigEditor::Button4Click() {
  View.ClearWindowNames();
  View.ClearKeyName();
  View.ResetCommandList();
  View.ShowRemoteType(SelectedType);
  NewConfiguration(The.Tree, *The.Remote.Record, NoWindowName, "");
  ShowNode(0);
}

void ConfigEditor::ButtonLoadClick() {
  const LanguageFlag language = The.Language;
  LoadDialogRequest request{std::string(Text(EditorText::LoadCaption, language)),
                            std::string(Text(EditorText::LoadButton, language)),
                            std::string(Text(EditorText::CancelButton, language)),
                            std::string(Text(EditorText::DeleteButton, language)),
                            {},
                            The.Current.Name};
  for (;;) {
    request.Names = ListConfigurationNames(The.RemoteFolder);
    const LoadDialogAnswer answer = The.Dialogs.AskLoad(request);
    if (answer.Result == LoadDialogResult::Cancel || answer.Name.empty()) return;
    const std::filesystem::path path = ConfigurationPath(The.RemoteFolder, answer.Name);
    if (answer.Result == LoadDialogResult::Load) {
      const auto loaded = LoadConfiguration(path, The.Tree, The.Current, *this, The.Registry,
                                            LoadOccasion::Editor, language);
      if (!loaded) Show(loaded.ErrorMessage(), MessageButtons::Ok, MessageKind::Error);
      return;
    }
    const std::string question = std::string(Text(EditorText::DeleteQuestion, language)) +
                                 answer.Name +
                                 std::string(Text(EditorText::QuestionMark, language));
    if (Show(question, MessageButtons::OkCancel, MessageKind::Confirmation) == MessageAnswer::Ok) {
      std::error_code ignored;
      std::filesystem::remove(path, ignored);
      return;
    }
    // Cancel keeps the dialog open on the same entry.
    request.Current = answer.Name;
  }
}

void ConfigEditor::ButtonSaveClick(const EditorPanel& panel) {
  const LanguageFlag language = The.Language;
  if (SelectedType.empty()) {
    Show(Text(EditorText::RemoteTypeNotSelected, language), MessageButtons::Ok, MessageKind::Error);
    return;
  }
  if (The.Tree.Empty() || The.Tree.Text(0) == NewGroupRoot) {
    Show(Text(EditorText::NewGroupNotValid, language), MessageButtons::Ok, MessageKind::Error);
    return;
  }
  const SaveDialogRequest request{
      std::string(Text(EditorText::SaveCaption, language)),
      std::string(Text(EditorText::SaveAsLabel, language)),
      std::string(Text(EditorText::SaveButton, language)),
      std::string(Text(EditorText::CancelButton, language)),
      ProposeConfigurationName(SelectedType, panel.ApplicationPath, The.Tree.Text(0)),
      ListConfigurationNames(The.RemoteFolder)};
  const std::optional<std::string> name = The.Dialogs.AskSaveName(request);
  if (!name) return;
  if (!IsValidConfigurationName(*name)) {
    Show(
        std::string(Text(EditorText::InvalidConfigurationName, language)) + RefusedNameCharacters(),
        MessageButtons::Ok, MessageKind::Error);
    return;
  }
  const std::filesystem::path path = ConfigurationPath(The.RemoteFolder, *name);
  std::error_code error;
  const bool write = !std::filesystem::exists(path, error) ||
                     Show(Text(EditorText::FileExistsOverwrite, language), MessageButtons::YesNo,
                          MessageKind::Confirmation) == MessageAnswer::Yes;
  if (write) {
    const auto saved =
        SaveConfiguration(path, The.Tree, SelectedType, The.Current, *this, The.Registry);
    if (!saved) {
      Show(saved.ErrorMessage(), MessageButtons::Ok, MessageKind::Error);
      return;
    }
  }
  View.SaveWindowSettings();
  View.SetCaption(ConfigurationCaption(*name));
}

void ConfigEditor::RmtCtrlChange(std::string_view name) {
  View.SetCaption(ProgramCaption);
  View.ClearWindowNames();
  View.ResetApplication();
  SelectedType = name;
  if (!LoadKeys(name) || !EditorEnabled) return;
  NewConfiguration(The.Tree, *The.Remote.Record, NoWindowName, "");
  The.Dispatcher.ResetGroups();
  ShowNode(0);
  if (Receiver != nullptr) RetuneReceiver(name);
}

void ConfigEditor::RetuneReceiver(std::string_view name) {
  const RemoteData& remote = *The.Remote.Record;
  switch (
      StepAfterRemoteChange(remote, Receiver->MicrocontrollerInUse(), Receiver->ReceiverTInUse())) {
    case RetuneStep::None:
      break;
    case RetuneStep::Restart:
      Receiver->RestartWithTiming(static_cast<std::uint8_t>(remote.ReceiverT));
      break;
    case RetuneStep::AskCorrection:
      if (Show(OldDataQuestion(name, The.Language), MessageButtons::YesNo,
               MessageKind::Confirmation) == MessageAnswer::Yes) {
        Receiver->CorrectData(RemoteFile);
      }
      break;
  }
}

}  // namespace quillon

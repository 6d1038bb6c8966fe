#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TempFolder.h"
#include "actions/FakeMessageBoxes.h"
#include "core/config/ConfigEditor.h"
#include "platform/fake/FakeEventLoop.h"
#include "platform/fake/FakeRegistry.h"

namespace quillon::test {

// Answers the load and save dialogs from scripts and keeps every request; with a script used
// up, each dialog is cancelled.
struct ScriptedDialogs : ConfigurationDialogs {
  LoadDialogAnswer AskLoad(const LoadDialogRequest& request) override {
    LoadRequests.push_back(request);
    if (LoadAnswers.empty()) return {};
    const LoadDialogAnswer answer = LoadAnswers.front();
    LoadAnswers.pop_front();
    return answer;
  }
  std::optional<std::string> AskSaveName(const SaveDialogRequest& request) override {
    SaveRequests.push_back(request);
    if (SaveAnswers.empty()) return std::nullopt;
    const std::optional<std::string> answer = SaveAnswers.front();
    SaveAnswers.pop_front();
    return answer;
  }

  std::deque<LoadDialogAnswer> LoadAnswers;
  std::deque<std::optional<std::string>> SaveAnswers;
  std::vector<LoadDialogRequest> LoadRequests;
  std::vector<SaveDialogRequest> SaveRequests;
};

// Keeps what the editor executed and showed.
struct ActionRecorder : HintDisplay, CommandExecutor {
  void IRShowHint(const std::string& text) override { Hints.push_back(text); }
  void CloseHint() override { Hints.push_back("(closed)"); }
  void ExecuteCommand(const CommandRecord& record) override { Executed.push_back(record); }
  std::vector<std::string> Hints;
  std::vector<CommandRecord> Executed;
};

// Keeps what the editor told the window.
struct FakeEditorView : ConfigEditorView {
  void SetCaption(std::string_view caption) override { Caption = caption; }
  void ShowRemoteTypes(const std::vector<std::string>& names) override { RemoteTypes = names; }
  void ShowRemoteType(std::string_view name) override { RemoteType = name; }
  void ShowNode(std::int32_t node, const NodePanel& panel) override {
    Selected = node;
    Panel = panel;
  }
  void EnableEditor(bool enabled) override { Enabled = enabled; }
  void ClearWindowNames() override { Calls.push_back("ClearWindowNames"); }
  void ResetApplication() override { Calls.push_back("ResetApplication"); }
  void ClearKeyName() override { Calls.push_back("ClearKeyName"); }
  void ResetCommandList() override { Calls.push_back("ResetCommandList"); }
  void SaveWindowSettings() override { Calls.push_back("SaveWindowSettings"); }
  void EndProgram() override { Calls.push_back("EndProgram"); }

  std::string Caption;
  std::vector<std::string> RemoteTypes;
  std::string RemoteType;
  std::int32_t Selected = -1;
  NodePanel Panel;
  bool Enabled = false;
  std::vector<std::string> Calls;
};

// The sample remote's display name; its keys are 1. Power, 2. Vol_up, 3. Vol_dn, 4. Mute,
// 5. Input and 6. Down.
inline constexpr std::string_view VizioType = "VIZIO  VX32L";

// The objects the configuration editor works on, over fakes and virtual time, with the sample
// remote in a remote folder of its own.
struct EditorBench {
  EditorBench() {
    std::filesystem::copy_file(
        std::filesystem::path(QUILLON_SOURCE_DIR) / "samples/remotes/Vizio_VX32L.IRD",
        Folder.Path / "Vizio_VX32L.IRD");
  }

  EditorContext Context() {
    return {Tree,    Remote,     Current, Folder.Path, Registry, Boxes,
            Dialogs, Dispatcher, Actions, Actions,     Language};
  }
  std::filesystem::path File(std::string_view name) const {
    return Folder.Path / (std::string(name) + ".rir");
  }

  TempFolder Folder;
  platform::FakeRegistry Registry;
  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  FakeMessageBoxes Boxes;
  ScriptedDialogs Dialogs;
  ActionRecorder Actions;
  LanguageFlag Language = English;
  CurrentRemote Remote;
  ConfigTree Tree;
  CurrentConfiguration Current;
  ReceiveSettings Receive;
  ReceivePipeline Pipeline{Loop, Receive, Remote.Timings, Remote.Limits};
  DispatchOptions Dispatch;
  CommandDispatcher Dispatcher{Pipeline, Tree, *Remote.Record, Actions,
                               Actions,  Loop, Clock,          Dispatch};
};

}  // namespace quillon::test

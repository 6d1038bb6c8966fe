#include "core/config/ConfigEditor.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "config/EditorBench.h"
#include "core/config/EditorTexts.h"
#include "core/config/NodeText.h"
#include "core/shell/Settings.h"

namespace quillon {
namespace {

using test::ReadFile;

using Nodes = std::vector<ConfigTree::Node>;

using test::FakeEditorView;

const Nodes NewVizio = {{"New group", 0}, {"1. Power", 1}, {"2. Vol_up", 1}, {"3. Vol_dn", 1},
                        {"4. Mute", 1},   {"5. Input", 1}, {"6. Down", 1}};

// An editor over its own bench, not yet started.
struct Unstarted {
  test::EditorBench Bench;
  FakeEditorView View;
  ConfigEditor Editor{Bench.Context(), View};
};

// The panel with `node` selected, `operation` chosen and, when given, one text field set.
EditorPanel Selecting(std::int32_t node, EditorOperation operation,
                      std::string EditorPanel::*field = nullptr, const std::string& value = "") {
  EditorPanel panel;
  panel.Selected = node;
  panel.Operation = operation;
  if (field != nullptr) panel.*field = value;
  return panel;
}

struct EditorFixture : ::testing::Test, Unstarted {
  EditorFixture() {
    EXPECT_TRUE(Editor.StartUp(test::VizioType, ""));
    Editor.RmtCtrlChange(test::VizioType);
  }

  void NameRoot(const std::string& window) {
    Editor.WinNameComboChange(
        Selecting(0, EditorOperation::GroupKey, &EditorPanel::WindowName, window));
  }
  void AddCommand(std::int32_t node, const std::string& command) {
    Editor.ButtonAddClick(
        Selecting(node, EditorOperation::Command, &EditorPanel::CommandName, command));
  }
  void AddGroupKey(std::int32_t node, const std::string& window) {
    Editor.ButtonAddClick(
        Selecting(node, EditorOperation::GroupKey, &EditorPanel::WindowName, window));
  }
};

TEST(ConfigEditorStartUp, ListsTheRemoteTypesAndLoadsTheStoredOne) {
  Unstarted u;
  ASSERT_TRUE(u.Editor.StartUp(test::VizioType, ""));
  EXPECT_EQ(u.View.RemoteTypes, std::vector<std::string>{std::string(test::VizioType)});
  EXPECT_EQ(u.View.RemoteType, test::VizioType);
  EXPECT_EQ(u.Editor.SelectedRemoteType(), test::VizioType);
  EXPECT_TRUE(u.View.Enabled);
  EXPECT_EQ(u.Bench.Remote.Record->KeyCount, 7);
  EXPECT_EQ(u.Bench.Tree.All(), (Nodes{{"New group", 0}}));
  EXPECT_EQ(u.View.Selected, 0);
}

TEST(ConfigEditorStartUp, AnUnlistedRemoteTypeLeavesTheEditorDisabled) {
  Unstarted u;
  ASSERT_TRUE(u.Editor.StartUp("Gone", ""));
  EXPECT_TRUE(u.Editor.SelectedRemoteType().empty());
  EXPECT_FALSE(u.View.Enabled);
  EXPECT_FALSE(u.Editor.ButtonsFor({}).Remove);
}

TEST(ConfigEditorStartUp, LoadsTheStoredConfiguration) {
  Unstarted u;
  const auto file = u.Bench.File("Living room");
  std::filesystem::copy_file(
      std::filesystem::path(QUILLON_SOURCE_DIR) / "samples/remotes/Living room.rir", file);
  ASSERT_TRUE(u.Editor.StartUp(test::VizioType, file.string()));
  EXPECT_EQ(u.View.Caption, "Quillon  [Living room]");
  EXPECT_EQ(u.Bench.Tree.Text(0), "[Media Player][C:\\Program Files\\Media Player\\player.exe]");
  EXPECT_EQ(u.Bench.Current.Name, "Living room");
  EXPECT_TRUE(u.Bench.Boxes.Shown.empty());
}

TEST(ConfigEditorStartUp, AnUnreadableRemoteFileEndsTheProgramAfterItsMessage) {
  Unstarted u;
  std::ofstream(u.Bench.Folder.Path / "Broken.IRD") << "short";
  EXPECT_FALSE(u.Editor.StartUp(test::VizioType, ""));
  ASSERT_EQ(u.Bench.Boxes.Shown.size(), 1u);
  EXPECT_NE(u.Bench.Boxes.Shown[0].Text.find("Broken.IRD"), std::string::npos);
  EXPECT_EQ(u.View.Calls.back(), "EndProgram");
}

TEST_F(EditorFixture, AfterLearningTheRemoteTypesAreListedAgainAndTheChosenOneReloaded) {
  Bench.Remote.Record->KeyCount = 0;  // what learning leaves in the current remote
  Editor.RemoteTypesChanged();
  EXPECT_EQ(Bench.Remote.Record->KeyCount, 7);
  EXPECT_EQ(View.RemoteType, test::VizioType);
  EXPECT_TRUE(View.Enabled);

  std::filesystem::remove(Bench.Folder.Path / "Vizio_VX32L.IRD");
  Editor.RemoteTypesChanged();
  EXPECT_TRUE(View.RemoteTypes.empty());
  EXPECT_FALSE(View.Enabled);
}

TEST_F(EditorFixture, ButtonsActOnKeyNodesOnly) {
  Bench.Tree.AddTopLevel("<Remoute Control Type> - VIZIO  VX32L");
  AddCommand(1, "MouseLeft");  // node 2
  const struct {
    std::int32_t Node;
    EditorOperation Operation;
    std::string CommandName;
    std::string KeyName;
    EditorButtons Expected;
  } cases[] = {
      {0, EditorOperation::Command, "MouseUp", "", {false, false}},   // the root
      {8, EditorOperation::Command, "MouseUp", "", {false, false}},   // the remote-type line
      {2, EditorOperation::Command, "MouseUp", "", {false, false}},   // a command node
      {-1, EditorOperation::Command, "MouseUp", "", {false, false}},  // nothing selected
      {1, EditorOperation::Command, "MouseUp", "", {true, true}},     // a key
      {1, EditorOperation::Command, "none", "", {false, true}},       // no command chosen
      {1, EditorOperation::SendKeys, "none", "", {false, true}},      // no key string
      {1, EditorOperation::SendKeys, "none", "abc", {true, true}},    //
      {1, EditorOperation::GroupKey, "none", "", {true, true}},       //
      {3, EditorOperation::Message, "none", "", {true, true}},        //
  };
  for (const auto& c : cases) {
    EditorPanel panel = Selecting(c.Node, c.Operation, &EditorPanel::CommandName, c.CommandName);
    panel.KeyName = c.KeyName;
    EXPECT_EQ(Editor.ButtonsFor(panel), c.Expected) << c.Node;
  }
  AddGroupKey(4, "Player");
  EXPECT_FALSE(Editor.ButtonsFor(Selecting(4, EditorOperation::GroupKey)).Add);
  EXPECT_TRUE(Editor.ButtonsFor(Selecting(4, EditorOperation::GroupKey)).Remove);
}

TEST_F(EditorFixture, AddingAGroupKeyAddsTheGroupsKeyList) {
  AddGroupKey(5, "none");  // a group key needs a window name
  EXPECT_EQ(Bench.Tree.All(), NewVizio);
  AddGroupKey(5, "Photo Viewer");
  ASSERT_EQ(Bench.Tree.Count(), 14);
  EXPECT_EQ(Bench.Tree.Text(5), "5. Input - [Group Key][Photo Viewer][]");
  EXPECT_EQ(Bench.Tree.Text(10), "5. Input");
  EXPECT_EQ(Bench.Tree.Text(11), "<Command>[Close Group]");
  EXPECT_EQ(View.Selected, 5);
  EXPECT_EQ(View.Panel.WindowName, "Photo Viewer");
}

TEST_F(EditorFixture, WindowNamesThatWouldSplitTheNodeTextAreRefused) {
  for (const std::string name : {"Player [2]", "Tab\there", "Two\nlines", "a]b"}) {
    Bench.Boxes.Shown.clear();
    AddGroupKey(5, name);
    NameRoot(name);
    EXPECT_EQ(Bench.Tree.All(), NewVizio) << name;
    ASSERT_EQ(Bench.Boxes.Shown.size(), 2u) << name;
    EXPECT_EQ(Bench.Boxes.Shown[0].Text,
              "A window name or application path may not contain \"[\", \"]\", a TAB or a line "
              "break:\r\n" +
                  name);
  }
}

TEST_F(EditorFixture, AKeyWithAFunctionAsksBeforeASecondOne) {
  AddCommand(1, "MouseLeft");
  ASSERT_TRUE(Bench.Boxes.Shown.empty());
  Bench.Boxes.Answers = {MessageAnswer::No};
  AddCommand(1, "MouseRight");
  ASSERT_EQ(Bench.Boxes.Shown.size(), 1u);
  EXPECT_EQ(Bench.Boxes.Shown[0].Text,
            "This button already has a function; only the first one is executed.\r\nAdd another "
            "one?");
  EXPECT_EQ(Bench.Tree.Count(), 8);
  Bench.Boxes.Answers = {MessageAnswer::Yes};
  AddCommand(1, "MouseRight");
  EXPECT_EQ(Bench.Tree.Text(Bench.Tree.LastChild(1)), "<Command>[MouseRight]");
  EXPECT_EQ(Bench.Tree.Count(), 9);
}

TEST_F(EditorFixture, AKeyStringIsCheckedAndTheFieldEmptiedWhenStored) {
  EditorPanel panel = Selecting(2, EditorOperation::SendKeys, &EditorPanel::KeyName, "^{a");
  Bench.Boxes.Answers = {MessageAnswer::Cancel};
  Editor.ButtonAddClick(panel);
  EXPECT_EQ(Bench.Tree.All(), NewVizio);
  EXPECT_TRUE(View.Calls.empty() || View.Calls.back() != "ClearKeyName");
  panel.KeyName = "^{a}[f5]";
  Editor.ButtonAddClick(panel);
  EXPECT_EQ(Bench.Tree.Text(3), "<SendKey>[^{a}[f5]]");
  EXPECT_EQ(View.Calls.back(), "ClearKeyName");
}

TEST_F(EditorFixture, CommandsAndMessagesBecomeTheirNodeTexts) {
  AddCommand(1, "Turn Off Computer");
  EditorPanel message =
      Selecting(3, EditorOperation::Message, &EditorPanel::MessageName, "WM_COMMAND");
  message.MessageWParam = 32772;
  message.MessageLParam = -1;
  Editor.ButtonAddClick(message);
  message.Selected = 4;
  message.MessageName.clear();
  Editor.ButtonAddClick(message);
  EXPECT_EQ(Bench.Tree.Text(2), "<Command>[Turn Off Computer]");
  EXPECT_EQ(Bench.Tree.Text(4), "<WM_>[WM_COMMAND,32772,-1]");
  EXPECT_EQ(Bench.Tree.Count(), 9);
}

TEST_F(EditorFixture, AnAudioCommandIsAddedWhateverTheCommandListShows) {
  EditorPanel panel = Selecting(1, EditorOperation::Command);
  EXPECT_FALSE(Editor.ButtonsFor(panel).Add);
  // With the audio window showing but no action picked there, "<<" asks for its buttons.
  panel.AudioWindowShowing = true;
  EXPECT_TRUE(Editor.ButtonsFor(panel).Add);
  Editor.ButtonAddClick(panel);
  ASSERT_EQ(Bench.Boxes.Shown.size(), 1U);
  EXPECT_EQ(Bench.Boxes.Shown[0].Text, Text(EditorText::UseAudioButtons, English));
  panel.AudioCommand = "Mixer 0/Master/PCM/Volume+";
  panel.CommandName = "MouseRight";
  Editor.ButtonAddClick(panel);
  EXPECT_EQ(Bench.Tree.Text(2), "<AudioCommand>[Mixer 0/Master/PCM/Volume+]");
}

TEST_F(EditorFixture, RemovingAGroupKeyRestoresThePlainKey) {
  AddGroupKey(5, "Photo Viewer");
  AddGroupKey(7, "Inner");  // 2. Vol_up inside the group
  Editor.ButtonRemoveClick(5);
  EXPECT_EQ(Bench.Tree.All(), NewVizio);
  EXPECT_EQ(View.Selected, 5);
}

TEST_F(EditorFixture, RemovingKeepsLabelsThatHoldADash) {
  Bench.Tree.SetText(3, "3. CH - UP");
  AddCommand(3, "MouseUp");
  Editor.ButtonRemoveClick(3);
  EXPECT_EQ(Bench.Tree.Text(3), "3. CH - UP");
  EXPECT_FALSE(Bench.Tree.HasChildren(3));
}

TEST_F(EditorFixture, RemovingLeavesMarkersTheRootAndTheRemoteTypeAlone) {
  Bench.Tree.AddChild(4, "Lock Up");
  AddGroupKey(6, "Photo Viewer");
  Bench.Tree.AddTopLevel("<Remoute Control Type> - VIZIO  VX32L");
  ASSERT_EQ(Bench.Tree.Text(12), "<Command>[Close Group]");
  const Nodes before = Bench.Tree.All();
  for (const std::int32_t node : {0, 4, 11, 12, Bench.Tree.Count() - 1}) {
    Editor.ButtonRemoveClick(node);  // root, locked key, close key and its marker, type line
    EXPECT_EQ(Bench.Tree.All(), before) << node;
  }
}

TEST_F(EditorFixture, RemovingALockedGroupKeyKeepsItsLockMarker) {
  Bench.Tree.AddChild(4, "Lock Up");
  AddGroupKey(4, "Mixer");
  EXPECT_TRUE(Bench.Boxes.Shown.empty());
  Editor.ButtonRemoveClick(4);
  EXPECT_EQ(Bench.Tree.Text(4), "4. Mute");
  EXPECT_EQ(Bench.Tree.Text(5), "Lock Up");
  EXPECT_EQ(Bench.Tree.SubtreeEnd(4), 6);
}

TEST_F(EditorFixture, TheWindowNameAssignsTheRoot) {
  NameRoot("Media Player");
  EXPECT_EQ(Bench.Tree.Text(0), "[Media Player][]");
  // Neither the root selected nor "New group" any more.
  Editor.WinNameComboChange(
      Selecting(2, EditorOperation::GroupKey, &EditorPanel::WindowName, "Other"));
  EXPECT_EQ(Bench.Tree.Text(0), "[Media Player][]");
}

TEST_F(EditorFixture, ChangingTheRemoteTypeOrNewBuildsANewConfigurationFromItsKeys) {
  EXPECT_EQ(Bench.Tree.All(), NewVizio);
  EXPECT_EQ(View.Caption, "Quillon");
  EXPECT_EQ(View.Selected, 0);
  AddCommand(1, "MouseLeft");
  View.Calls.clear();
  Editor.Button4Click();
  EXPECT_EQ(Bench.Tree.All(), NewVizio);
  EXPECT_EQ(View.Calls,
            (std::vector<std::string>{"ClearWindowNames", "ClearKeyName", "ResetCommandList"}));
  EXPECT_EQ(View.RemoteType, test::VizioType);
  EXPECT_EQ(View.Selected, 0);
}

TEST_F(EditorFixture, SavingNeedsARemoteTypeAndAnApplication) {
  Unstarted u;
  ASSERT_TRUE(u.Editor.StartUp("", ""));
  u.Editor.ButtonSaveClick({});
  Editor.ButtonSaveClick({});
  ASSERT_EQ(u.Bench.Boxes.Shown.size(), 1u);
  EXPECT_EQ(u.Bench.Boxes.Shown[0].Text, "\"Remote control type\" not selected!");
  ASSERT_EQ(Bench.Boxes.Shown.size(), 1u);
  EXPECT_EQ(Bench.Boxes.Shown[0].Text, "'New group' is not valid application !");
  EXPECT_TRUE(u.Bench.Dialogs.SaveRequests.empty());
  EXPECT_TRUE(Bench.Dialogs.SaveRequests.empty());
}

TEST_F(EditorFixture, SavingWritesTheFileUnderTheChosenName) {
  NameRoot("Media Player");
  AddGroupKey(5, "Photo Viewer");
  Bench.Dialogs.SaveAnswers = {"Evening"};
  EditorPanel panel;
  panel.ApplicationPath = "C:\\Program Files\\Media Player\\player.exe";
  Editor.ButtonSaveClick(panel);
  ASSERT_EQ(Bench.Dialogs.SaveRequests.size(), 1u);
  EXPECT_EQ(Bench.Dialogs.SaveRequests[0].Proposal, "VIZIO  VX32L-player");
  EXPECT_EQ(Bench.Dialogs.SaveRequests[0].Caption, "Save Configuration");
  const std::string content = ReadFile(Bench.File("Evening"));
  EXPECT_TRUE(content.starts_with("[Media Player][]\r\n\t1. Power\r\n"));
  EXPECT_TRUE(content.ends_with("\t6. Down\r\n<Remoute Control Type> - VIZIO  VX32L\r\n"));
  EXPECT_EQ(View.Caption, "Quillon  [Evening]");
  EXPECT_EQ(View.Calls.back(), "SaveWindowSettings");
  EXPECT_EQ(Bench.Current.Name, "Evening");
}

TEST_F(EditorFixture, AnExistingFileIsOverwrittenOnlyWhenConfirmed) {
  NameRoot("Media Player");
  std::ofstream(Bench.File("Evening")) << "old";
  Bench.Dialogs.SaveAnswers = {"Evening", "Evening"};
  Bench.Boxes.Answers = {MessageAnswer::No, MessageAnswer::Yes};
  Editor.ButtonSaveClick({});
  EXPECT_EQ(ReadFile(Bench.File("Evening")), "old");
  // Answered No: the settings and the caption are still taken.
  EXPECT_EQ(View.Calls.back(), "SaveWindowSettings");
  EXPECT_EQ(View.Caption, "Quillon  [Evening]");
  Editor.ButtonSaveClick({});
  EXPECT_TRUE(ReadFile(Bench.File("Evening")).starts_with("[Media Player][]\r\n"));
  ASSERT_EQ(Bench.Boxes.Shown.size(), 2u);
  EXPECT_EQ(Bench.Boxes.Shown[0].Text, "File exists!\r\nOverwrite?");
}

TEST_F(EditorFixture, AProposedNameIsCheckedWhole) {
  NameRoot("Media Player");
  Bench.Dialogs.SaveAnswers = {"a/b", ""};
  Editor.ButtonSaveClick({});
  Editor.ButtonSaveClick({});
  ASSERT_EQ(Bench.Boxes.Shown.size(), 2u);
  EXPECT_TRUE(Bench.Boxes.Shown[0].Text.starts_with("A configuration name may not be empty"));
  EXPECT_TRUE(ListConfigurationNames(Bench.Folder.Path).empty());
}

TEST_F(EditorFixture, LoadingAndDeletingThroughTheLoadDialog) {
  NameRoot("Media Player");
  Bench.Dialogs.SaveAnswers = {"Evening"};
  Editor.ButtonSaveClick({});
  Editor.Button4Click();
  Bench.Dialogs.LoadAnswers = {{LoadDialogResult::Load, "Evening"}};
  Editor.ButtonLoadClick();
  EXPECT_EQ(Bench.Tree.Text(0), "[Media Player][]");
  EXPECT_EQ(Bench.Dialogs.LoadRequests[0].Names, std::vector<std::string>{"Evening"});
  EXPECT_EQ(Bench.Dialogs.LoadRequests[0].Current, "Evening");

  // Delete asks; Cancel keeps the dialog open, OK deletes.
  Bench.Dialogs.LoadAnswers = {{LoadDialogResult::Delete, "Evening"},
                               {LoadDialogResult::Delete, "Evening"}};
  Bench.Boxes.Answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
  Editor.ButtonLoadClick();
  EXPECT_EQ(Bench.Dialogs.LoadRequests.size(), 3u);
  EXPECT_EQ(Bench.Boxes.Shown.back().Text, "Delete Evening?");
  EXPECT_FALSE(std::filesystem::exists(Bench.File("Evening")));
}

TEST_F(EditorFixture, ARefusedLoadShowsItsMessage) {
  std::ofstream(Bench.File("Stranger")) << "[W][]\r\n<Remoute Control Type> - Unknown\r\n";
  Bench.Dialogs.LoadAnswers = {{LoadDialogResult::Load, "Stranger"}};
  Editor.ButtonLoadClick();
  ASSERT_EQ(Bench.Boxes.Shown.size(), 1u);
  EXPECT_EQ(Bench.Boxes.Shown[0].Text, "Error in file: Stranger.rir \r\n\r\nDelete file !");
  EXPECT_EQ(Bench.Tree.All(), NewVizio);
}

TEST_F(EditorFixture, DoubleClickRunsTheKeysCommandWhenTicked) {
  NameRoot("Media Player");
  AddCommand(1, "MouseLeft");
  Editor.TreeViewDblClick(1, false);
  EXPECT_TRUE(Bench.Actions.Executed.empty());
  Editor.TreeViewDblClick(1, true);
  ASSERT_EQ(Bench.Actions.Executed.size(), 1u);
  EXPECT_EQ(Bench.Actions.Executed[0].Kind, CommandKind::Command);
  EXPECT_EQ(Bench.Actions.Executed[0].Parameter, "MouseLeft");
  EXPECT_EQ(Bench.Actions.Hints, std::vector<std::string>{"1. Power"});
  Editor.TreeViewDblClick(2, true);  // the command node itself: no key
  Editor.TreeViewDblClick(0, true);
  EXPECT_EQ(Bench.Actions.Executed.size(), 1u);
}

TEST_F(EditorFixture, DoubleClickOnAGroupKeyOpensItsGroup) {
  NameRoot("Media Player");
  AddGroupKey(5, "Photo Viewer");
  Editor.TreeViewDblClick(5, true);
  EXPECT_EQ(Bench.Dispatcher.GroupDepth, 1);
  ASSERT_EQ(Bench.Actions.Executed.size(), 1u);
  EXPECT_EQ(Bench.Actions.Executed[0].Kind, CommandKind::GroupKey);
  EXPECT_EQ(Bench.Actions.Hints.back(), "On[F]\r[Photo Viewer]\r5. Input");
}

TEST(PanelOfNode, ShowsWhatTheNodeSays) {
  const struct {
    std::string Text;
    NodePanel Expected;
  } cases[] = {
      {"[Player][C:\\p.exe]",
       {EditorOperation::GroupKey, "Player", "C:\\p.exe", {}, {}, {}, {}, {}}},
      {"2. Menu - [Group Key][Menu][C:\\m.exe]",
       {EditorOperation::GroupKey, "Menu", "C:\\m.exe", {}, {}, {}, {}, {}}},
      {"<Command>[MouseUp]", {EditorOperation::Command, {}, {}, "MouseUp", {}, {}, {}, {}}},
      {"<SendKey>[^{a}[f5]]", {EditorOperation::SendKeys, {}, {}, {}, "^{a}[f5]", {}, {}, {}}},
      {"<WM_>[wm_close,3,-4]", {EditorOperation::Message, {}, {}, {}, {}, "WM_CLOSE", 3, -4}},
      {"<AudioCommand>[Mixer 0/Master/PCM/Mute]",
       {EditorOperation::Command, {}, {}, {}, {}, {}, {}, {}}},
      {"3. Mute", {}},
      {"Lock Up", {}},
      {"New group", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(PanelOfNode(c.Text), c.Expected) << c.Text;
}

TEST(EditorTexts, EveryTextHasItsTwin) {
  for (const BilingualText& text : EditorTexts) {
    EXPECT_FALSE(text.InEnglish.empty());
    EXPECT_FALSE(text.InBulgarian.empty()) << text.InEnglish;
  }
}

TEST(GroupKeySuffix, FindsOnlyACompleteTrailingGroupEnding) {
  EXPECT_EQ(GroupKeySuffix("2. Menu - [Group Key][Menu][C:\\m.exe]"), 7u);
  EXPECT_EQ(GroupKeySuffix("5. PLAY [Start music] - [Group Key][Music][]"), 21u);
  EXPECT_EQ(GroupKeySuffix("3. CH - UP"), std::string_view::npos);
  EXPECT_EQ(GroupKeySuffix("3. A - [Group Key]"), std::string_view::npos);
}

}  // namespace
}  // namespace quillon

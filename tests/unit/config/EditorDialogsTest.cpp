#include <gtest/gtest.h>

#include "config/EditorBench.h"
#include "core/config/NameDialog.h"
#include "core/config/WindowList.h"
#include "platform/fake/FakeDesktopSystem.h"

namespace quillon {
namespace {

TEST(NameDialog, DisplayNamesComeAndGoOnlyAtTheEndOfTheText) {
  struct Case {
    std::string_view Text;
    std::string_view Field;
    std::string_view Opening;  // what the field shows first
    std::string_view Renamed;
  };
  const Case cases[] = {
      {"5. Play [Start music]", "", "Start music", "5. Play"},
      {"5. Play [Start music]", "Go", "Start music", "5. Play [Go]"},
      {"5. Play", "Start music", "Enter new name here", "5. Play [Start music]"},
      {"5. Play", "", "Enter new name here", "5. Play"},
      {"5. Play", "Enter new name here", "Enter new name here", "5. Play"},
      {"5. Play [x]", "Въведете новото име тук", "x", "5. Play [x]"},
      {"5. Play []", "Go", "", "5. Play [Go]"},
      // A "[" as the second character opens no display name.
      {"5[x]", "Go", "Enter new name here", "5[x] [Go]"},
      // A group key's fields stay whole; its display name follows them.
      {"3. CH - UP - [Group Key][Player][/usr/bin/player]", "Music", "Enter new name here",
       "3. CH - UP - [Group Key][Player][/usr/bin/player] [Music]"},
      {"3. CH - UP - [Group Key][Player][] [Music]", "", "Music",
       "3. CH - UP - [Group Key][Player][]"},
      // Brackets typed or pasted into the field never reach the node.
      {"4. Mute", "a<b>[c]{d}", "Enter new name here", "4. Mute [abcd]"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NameFieldOnOpening(c.Text, English), c.Opening) << c.Text;
    EXPECT_EQ(RenamedText(c.Text, c.Field), c.Renamed) << c.Text << " + " << c.Field;
  }
  EXPECT_EQ(NameFieldOnOpening("1. Power", Bulgarian), "Въведете новото име тук");
}

TEST(NameDialog, TheFieldKeepsAHundredCharactersNotBytes) {
  std::string cyrillic;
  for (int i = 0; i < 120; ++i) cyrillic += "я";
  EXPECT_EQ(FilterNameField(cyrillic).size(), 200u);  // 100 characters of two bytes
  EXPECT_EQ(FilterNameField(std::string(150, 'a')), std::string(100, 'a'));
}

TEST(NameDialog, OnlyKeyAndGroupKeyNodesAreRenamed) {
  ConfigTree tree;
  tree.Assign({{"[Player][/usr/bin/player]", 0},
               {"1. Power [On]", 1},
               {"<WM_>[WM_CLOSE,0,0]", 2},
               {"2. Play - [Group Key][Music][] [Songs]", 1}});
  const struct {
    std::int32_t Node;
    bool Renamed;
    std::string_view After;
  } cases[] = {{0, false, "[Player][/usr/bin/player]"},
               {1, true, "1. Power"},
               {2, false, "<WM_>[WM_CLOSE,0,0]"},
               {3, true, "2. Play - [Group Key][Music][]"}};
  for (const auto& c : cases) {
    EXPECT_EQ(RenameNode(tree, c.Node, ""), c.Renamed) << c.Node;
    EXPECT_EQ(tree.Text(c.Node), c.After);
  }
}

TEST(WindowList, VisibleWindowsKeepDuplicatesAndAllWindowsListEachTitleOnce) {
  platform::EffectLog log;
  platform::FakeDesktop desktop(log);
  desktop.AddWindow("Editor");
  desktop.AddWindow("");
  desktop.AddWindow("Terminal", true);
  desktop.AddWindow("Editor");
  desktop.AddWindow(std::string(300, 't'));
  const auto titles = [&](WindowListMode mode) {
    std::vector<std::string> listed;
    for (const ListedWindow& window : ListWindows(desktop, mode)) listed.push_back(window.Title);
    return listed;
  };
  const std::string longTitle(WindowTitleLimit, 't');
  EXPECT_EQ(titles(WindowListMode::Visible),
            (std::vector<std::string>{"Editor", "Editor", longTitle}));
  EXPECT_EQ(titles(WindowListMode::All),
            (std::vector<std::string>{"Editor", "Terminal", longTitle}));
}

// The configuration window as the window list sees it, over a real editor.
struct WindowListFixture : ::testing::Test, WindowNameEditor {
  WindowListFixture() {
    EXPECT_TRUE(Editor.StartUp(test::VizioType, ""));
    Editor.RmtCtrlChange(test::VizioType);
  }

  void ChooseGroupKey() override { Panel.Operation = EditorOperation::GroupKey; }
  void TakeWindowName(std::string_view title) override {
    Panel.WindowName = title;
    Panel.ApplicationPath.clear();
  }
  EditorPanel EditorState() const override { return Panel; }
  ConfigEditor& ConfigurationEditor() override { return Editor; }
  void RefreshEditor() override {}

  TakeOverResult TakeOver(std::int32_t selected, std::string_view title) {
    Panel.Selected = selected;
    Panel.Operation = EditorOperation::Command;
    return TakeOverTitle(title, Bench.Tree, *this, Bench.Boxes, English);
  }

  test::EditorBench Bench;
  test::FakeEditorView View;
  ConfigEditor Editor{Bench.Context(), View};
  EditorPanel Panel;
};

TEST_F(WindowListFixture, ATitleNamesTheRootOrAddsAGroupKey) {
  EXPECT_EQ(TakeOver(0, "Media Player"), TakeOverResult::RootRenamed);
  EXPECT_TRUE(Bench.Boxes.Shown.empty());  // "New group" is renamed without asking
  EXPECT_EQ(Bench.Tree.Text(0), "[Media Player][]");

  Bench.Boxes.Answers = {MessageAnswer::Cancel};
  EXPECT_EQ(TakeOver(0, "Other"), TakeOverResult::Cancelled);
  EXPECT_EQ(Bench.Tree.Text(0), "[Media Player][]");
  ASSERT_EQ(Bench.Boxes.Shown.size(), 1u);
  EXPECT_EQ(Bench.Boxes.Shown[0].Text, "Changing name of basic window?");

  Bench.Boxes.Answers = {MessageAnswer::Ok};
  EXPECT_EQ(TakeOver(0, "Other"), TakeOverResult::RootRenamed);
  EXPECT_EQ(Bench.Tree.Text(0), "[Other][]");

  EXPECT_EQ(TakeOver(2, "Terminal"), TakeOverResult::GroupKeyAdded);
  EXPECT_EQ(Panel.Operation, EditorOperation::GroupKey);
  EXPECT_EQ(Bench.Tree.Text(2), "2. Vol_up - [Group Key][Terminal][]");
  // A key that is a group key already takes none.
  EXPECT_EQ(TakeOver(2, "Editor"), TakeOverResult::Nothing);
}

TEST_F(WindowListFixture, TitlesThatWouldSplitTheNodeTextAreRefusedBeforeTheyEnterTheEditor) {
  for (const std::string_view title : {"a [b]", "tab\there", "two\nlines", "x]"}) {
    Bench.Boxes.Shown.clear();
    EXPECT_EQ(TakeOver(2, title), TakeOverResult::Refused) << title;
    ASSERT_EQ(Bench.Boxes.Shown.size(), 1u);
    EXPECT_TRUE(Bench.Boxes.Shown[0].Text.ends_with(title));
    EXPECT_EQ(Panel.WindowName, EditorPanel{}.WindowName);
  }
  EXPECT_EQ(Bench.Tree.Text(2), "2. Vol_up");
}

}  // namespace
}  // namespace quillon

#include "core/actions/KeysWindow.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <sstream>

#include "config/EditorBench.h"
#include "core/actions/KeysTexts.h"
#include "core/shell/Settings.h"

namespace quillon {
namespace {

using test::ReadFile;
using test::WriteFile;

// The configuration window's editor as the key-combination window reaches it: a panel the test
// sets, over a real editor of the sample remote. Emptying the send-key field is reported back
// as the window's field reports every change.
struct FakeMainWindow : KeyNameEditor, test::FakeEditorView {
  explicit FakeMainWindow(test::EditorBench& bench) : Editor(bench.Context(), *this) {
    EXPECT_TRUE(Editor.StartUp(test::VizioType, ""));
    Editor.RmtCtrlChange(test::VizioType);
    Controls.Selected = 1;  // 1. Power
  }

  void SetKeyName(std::string_view keys) override { ChangeKeyName(keys); }
  void ChooseSendKeys() override { Controls.Operation = EditorOperation::SendKeys; }
  EditorPanel EditorState() const override { return Controls; }
  ConfigEditor& ConfigurationEditor() override { return Editor; }
  void RefreshEditor() override { ++Refreshed; }

  void ShowNode(std::int32_t node, const NodePanel&) override { Controls.Selected = node; }
  void ClearKeyName() override { ChangeKeyName(""); }

  void ChangeKeyName(std::string_view keys) {
    Controls.KeyName = keys;
    if (Keys != nullptr) Keys->KeyNameChanged(keys);
  }

  EditorPanel Controls;  // what the window's controls hold
  ConfigEditor Editor;
  KeysWindow* Keys = nullptr;
  int Refreshed = 0;
};

struct ScriptedNewPage : NewPageDialog {
  std::optional<std::string> AskPageName(const NewPageRequest& request) override {
    Requests.push_back(request);
    if (Answers.empty()) return std::nullopt;
    std::optional<std::string> answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  std::deque<std::optional<std::string>> Answers;
  std::vector<NewPageRequest> Requests;
};

// Keeps what the window shows; `Rows` are the grid's data rows, the empty row after them is
// implied. Like a tab control that reports every change of its current
// tab, showing the pages hands the current one back to the window.
struct FakeKeysView : KeysView {
  void ShowPages(const std::vector<std::string>& names, std::int32_t current) override {
    Pages = names;
    if (Window != nullptr && current >= 0) Window->PageChange(current);
  }
  void ShowRows(const std::vector<KeyCombination>& rows, std::int32_t selected,
                bool editable) override {
    Rows = rows;
    Selected = selected;
    Editable = editable;
  }
  void AppendEmptyRow() override { Rows.emplace_back(); }
  void ShowCell(std::int32_t row, KeyColumn column, std::string_view text) override {
    if (row >= static_cast<std::int32_t>(Rows.size())) return;
    KeyCombination& cell = Rows[static_cast<std::size_t>(row)];
    (column == KeyColumn::Command ? cell.Command : cell.HotKey) = text;
  }
  void ShowOptions(bool hotKeys, bool connect) override { Options = {hotKeys, connect}; }
  void CloseWindow() override { ++Closed; }

  KeysWindow* Window = nullptr;
  std::vector<std::string> Pages;
  std::vector<KeyCombination> Rows;
  std::int32_t Selected = -1;
  bool Editable = false;
  std::pair<bool, bool> Options{false, false};
  int Closed = 0;
};

struct KeysFixture : ::testing::Test {
  KeysFixture() {
    std::filesystem::create_directories(Folder);
    View.Window = &Keys;
    Main.Keys = &Keys;
  }

  std::filesystem::path Page(std::string_view name) const {
    return Folder / (std::string(name) + ".kcn");
  }
  void WritePage(std::string_view name, std::string_view bytes) const {
    WriteFile(Page(name), bytes);
  }

  test::EditorBench Bench;
  std::filesystem::path Folder = Bench.Folder.Path / "Keys";
  FakeMainWindow Main{Bench};
  ScriptedNewPage Dialog;
  FakeKeysView View;
  KeysWindow Keys{{Folder, Bench.Registry, Bench.Boxes, Dialog, Main, Bench.Loop, Bench.Language},
                  View};
};

TEST_F(KeysFixture, ActivationShowsTheFirstPageWithAnEmptyRowForANewEntry) {
  WritePage("Work", "Copy,^{c}\r\nComma,^{,},x\r\n");
  WritePage("Games", "Jump,[space]\r\n");
  Bench.Registry.SetValue(VendorKey, "SensWhitSendKeys", 1u);
  Keys.FormActivate();
  EXPECT_EQ(View.Pages, (std::vector<std::string>{"Games", "Work"}));
  EXPECT_EQ(Keys.CurrentPage(), 0);
  EXPECT_EQ(View.Rows, (std::vector<KeyCombination>{{"Jump", "[space]"}}));
  EXPECT_EQ(View.Selected, 0);
  EXPECT_TRUE(View.Editable);
  EXPECT_EQ(View.Options, std::make_pair(false, true));
  EXPECT_TRUE(Dialog.Requests.empty());

  Keys.PageChange(1);
  EXPECT_EQ(View.Rows, (std::vector<KeyCombination>{{"Copy", "^{c}"}, {"Comma", "^{,},x"}}));
}

TEST_F(KeysFixture, AnEmptyFolderOffersANewPageAndClosesWithoutOne) {
  Keys.FormActivate();
  ASSERT_EQ(Dialog.Requests.size(), 1u);
  EXPECT_EQ(Dialog.Requests[0].Caption, "New page");
  EXPECT_EQ(Dialog.Requests[0].CancelButton, "Cancel");
  Bench.Loop.AdvanceBy(KeysWindow::CloseDelay - 1);
  EXPECT_EQ(View.Closed, 0);
  Bench.Loop.AdvanceBy(1);
  EXPECT_EQ(View.Closed, 1);
  Bench.Loop.AdvanceBy(1000);
  EXPECT_EQ(View.Closed, 1);
}

TEST_F(KeysFixture, ANewPageIsSavedAtOnce) {
  std::filesystem::remove(Folder);
  Bench.Language = Bulgarian;
  Dialog.Answers = {"Работа"};
  Keys.FormActivate();
  EXPECT_EQ(Dialog.Requests[0].Caption, "Нова");
  EXPECT_EQ(Dialog.Requests[0].CancelButton, "Откажи");
  EXPECT_EQ(View.Pages, std::vector<std::string>{"Работа"});
  EXPECT_TRUE(std::filesystem::exists(Page("Работа")));
  EXPECT_EQ(ReadFile(Page("Работа")), "");
  Bench.Loop.AdvanceBy(1000);
  EXPECT_EQ(View.Closed, 0);
}

TEST_F(KeysFixture, TypingIntoTheEmptyRowMakesItARowAndSavesIt) {
  WritePage("Work", "Copy,^{c}\r\n");
  Keys.FormActivate();
  Keys.CellEdited(1, KeyColumn::HotKey, "^{v}");
  EXPECT_EQ(Keys.Rows(), (std::vector<KeyCombination>{{"Copy", "^{c}"}, {"", "^{v}"}}));
  EXPECT_EQ(View.Rows.size(), 2u);  // and a new empty row after them
  EXPECT_EQ(ReadFile(Page("Work")), "Copy,^{c}\r\n,^{v}\r\n");
  Keys.CellEdited(1, KeyColumn::Command, "Paste, as text");
  Keys.CellEdited(0, KeyColumn::Command, "");
  Keys.CellEdited(0, KeyColumn::HotKey, "");
  EXPECT_EQ(ReadFile(Page("Work")), "Paste\\, as text,^{v}\r\n");

  // Nothing typed into the empty row leaves it empty.
  Keys.CellEdited(2, KeyColumn::Command, "");
  EXPECT_EQ(Keys.Rows().size(), 2u);

  KeysWindow again({Folder, Bench.Registry, Bench.Boxes, Dialog, Main, Bench.Loop, Bench.Language},
                   View);
  again.FormActivate();
  EXPECT_EQ(again.Rows(), (std::vector<KeyCombination>{{"Paste, as text", "^{v}"}}));
}

TEST_F(KeysFixture, ChangingPageSavesTheOldOneAndComesBackToItsRow) {
  WritePage("A", "a1,1\r\na2,2\r\na3,3\r\n");
  WritePage("B", "b1,1\r\n");
  Keys.FormActivate();
  Keys.RowClick(2);
  Keys.PageChange(1);
  EXPECT_EQ(View.Selected, 0);  // row 2 is not within B's grid
  Keys.RowClick(1);
  Keys.PageChange(0);
  EXPECT_EQ(View.Selected, 1);
  WriteFile(Page("B"), "changed elsewhere,\r\n");
  Keys.GridExit();
  EXPECT_EQ(ReadFile(Page("A")), "a1,1\r\na2,2\r\na3,3\r\n");
  EXPECT_EQ(ReadFile(Page("B")), "changed elsewhere,\r\n");
}

TEST_F(KeysFixture, ANewPageNamedLikeAnotherIsRefused) {
  WritePage("Work", "Copy,^{c}\r\n");
  Keys.FormActivate();
  const struct {
    std::string Name;
    std::string_view Message;
  } cases[] = {
      {"Work", "This name already exists! Enter new name."},
      {"WORK", "This name already exists! Enter new name."},
      {"Later", "This name already exists! Enter new name."},  // made on disk meanwhile
      {"a/b", "A page name cannot be empty or hold any of these characters: "},
      {"", "A page name cannot be empty or hold any of these characters: "},
  };
  WritePage("Later", "Undo,^{z}\r\n");
  for (const auto& c : cases) {
    Bench.Boxes.Shown.clear();
    Dialog.Answers = {c.Name};
    Keys.Button3Click();
    ASSERT_EQ(Bench.Boxes.Shown.size(), 1u) << c.Name;
    EXPECT_TRUE(Bench.Boxes.Shown[0].Text.starts_with(c.Message)) << c.Name;
    EXPECT_EQ(View.Pages, std::vector<std::string>{"Work"});
  }
  EXPECT_EQ(ReadFile(Page("Later")), "Undo,^{z}\r\n");
  EXPECT_EQ(ReadFile(Page("Work")), "Copy,^{c}\r\n");
}

TEST_F(KeysFixture, ADeletedPageStaysDeleted) {
  WritePage("A", "a,1\r\n");
  WritePage("B", "b,2\r\n");
  Keys.FormActivate();
  Bench.Boxes.Answers = {MessageAnswer::Cancel};
  Keys.Button4Click();
  EXPECT_TRUE(std::filesystem::exists(Page("A")));
  EXPECT_EQ(Bench.Boxes.Shown.back().Text, "Delete \"A\"?");

  Keys.Button4Click();  // OK
  EXPECT_FALSE(std::filesystem::exists(Page("A")));
  EXPECT_EQ(View.Pages, std::vector<std::string>{"B"});
  EXPECT_EQ(View.Rows, (std::vector<KeyCombination>{{"b", "2"}}));
  Keys.GridExit();
  Keys.FormClose();
  EXPECT_FALSE(std::filesystem::exists(Page("A")));
  EXPECT_EQ(View.Closed, 0);
}

TEST_F(KeysFixture, DeletingTheLastPageClosesTheWindow) {
  WritePage("Only", "a,1\r\n");
  Bench.Language = Bulgarian;
  Keys.FormActivate();
  Keys.Button4Click();
  EXPECT_EQ(Bench.Boxes.Shown.back().Text, "Изтриване на \"Only\"?");
  EXPECT_FALSE(std::filesystem::exists(Page("Only")));
  EXPECT_EQ(Dialog.Requests.size(), 1u);  // a new page is offered
  EXPECT_TRUE(View.Rows.empty());
  Bench.Loop.AdvanceBy(KeysWindow::CloseDelay);
  EXPECT_EQ(View.Closed, 1);
  Keys.FormClose();
  EXPECT_TRUE(ListKeyCombinationPages(Folder).empty());

  // Opened again, the window starts over.
  Dialog.Answers = {"Fresh"};
  Keys.FormActivate();
  EXPECT_EQ(View.Pages, std::vector<std::string>{"Fresh"});
}

TEST_F(KeysFixture, AnUnreadableFileIsReportedAndNeverSavedOver) {
  WritePage("A", "a,1\r\n");
  WritePage("B", "b,2\r\n");
  Keys.FormActivate();
  std::filesystem::remove(Page("B"));
  std::filesystem::create_directory(Page("B"));  // exists, but cannot be read as a file
  WriteFile(Page("B") / "inside", "kept");
  Keys.PageChange(1);
  ASSERT_EQ(Bench.Boxes.Shown.size(), 1u);
  EXPECT_EQ(Bench.Boxes.Shown[0].Text, std::string(Text(KeysText::CannotRead, English)) + "B.kcn" +
                                           std::string(Text(KeysText::CannotReadEnd, English)));
  EXPECT_FALSE(View.Editable);
  EXPECT_FALSE(Keys.Writable());
  Keys.CellEdited(0, KeyColumn::Command, "typed");
  EXPECT_TRUE(Keys.Rows().empty());
  EXPECT_EQ(View.Rows, std::vector<KeyCombination>{});
  Keys.GridExit();
  Keys.PageChange(0);
  Keys.FormClose();
  EXPECT_EQ(ReadFile(Page("B") / "inside"), "kept");
  EXPECT_EQ(Bench.Boxes.Shown.size(), 1u);
}

TEST_F(KeysFixture, AClickCopiesTheKeyStringIntoTheSendKeyField) {
  WritePage("Work", "Copy,^{c}\r\nNothing,\r\n");
  Keys.FormActivate();
  Keys.RowClick(0);
  EXPECT_EQ(Main.Controls.KeyName, "^{c}");
  Keys.RowClick(1);  // no key string: the field keeps what it has
  EXPECT_EQ(Main.Controls.KeyName, "^{c}");
  EXPECT_EQ(Bench.Tree.Count(), 7);
}

TEST_F(KeysFixture, AddAssignsTheKeyStringToTheMarkedButton) {
  WritePage("Work", "Copy,^{c}\r\nPaste,^{v}\r\n");
  Keys.FormActivate();
  Keys.RowClick(1);
  Keys.ButtonAddClick();
  EXPECT_EQ(Main.Controls.Operation, EditorOperation::SendKeys);
  ASSERT_EQ(Bench.Tree.Count(), 8);
  EXPECT_EQ(Bench.Tree.Text(2), "<SendKey>[^{v}]");
  EXPECT_EQ(Main.Controls.KeyName, "");  // the editor empties its field after adding
  EXPECT_GT(Main.Refreshed, 0);
}

TEST_F(KeysFixture, ADoubleClickAssignsOnlyAsASendKeyCommand) {
  WritePage("Work", "Copy,^{c}\r\n");
  Keys.FormActivate();
  Main.Controls.Operation = EditorOperation::Command;
  Main.Controls.CommandName = "MouseLeftClick";
  Keys.RowDblClick(0);
  EXPECT_EQ(Main.Controls.KeyName, "^{c}");
  EXPECT_EQ(Bench.Tree.Count(), 7);

  Main.Controls.Operation = EditorOperation::SendKeys;
  Keys.RowDblClick(0);
  ASSERT_EQ(Bench.Tree.Count(), 8);
  EXPECT_EQ(Bench.Tree.Text(2), "<SendKey>[^{c}]");
}

TEST_F(KeysFixture, ConnectedTheSelectedKeyStringFollowsTheSendKeyField) {
  WritePage("Work", "Copy,^{c}\r\n");
  Bench.Registry.SetValue(VendorKey, "SensWhitSendKeys", 1u);
  Keys.FormActivate();
  Keys.RowClick(0);
  Main.ChangeKeyName("^{x}");
  EXPECT_EQ(View.Rows[0].HotKey, "^{x}");
  EXPECT_EQ(ReadFile(Page("Work")), "Copy,^{x}\r\n");

  // Adding through "<<" empties the field afterwards; the row keeps its key string.
  Keys.ButtonAddClick();
  EXPECT_EQ(Main.Controls.KeyName, "");
  EXPECT_EQ(ReadFile(Page("Work")), "Copy,^{x}\r\n");

  // In the empty row, the field's text makes a new row.
  Keys.RowClick(1);
  Main.ChangeKeyName("[f5]");
  EXPECT_EQ(Keys.Rows(), (std::vector<KeyCombination>{{"Copy", "^{x}"}, {"", "[f5]"}}));
  EXPECT_EQ(View.Rows, Keys.Rows());

  Keys.Form1ConnectClick(false);
  Main.ChangeKeyName("^{z}");
  EXPECT_EQ(Keys.Rows()[1].HotKey, "[f5]");
}

TEST_F(KeysFixture, ClosingSavesThePageAndTheOptions) {
  WritePage("Work", "");
  Keys.FormActivate();
  Keys.HotKeysEnableClick(true);
  Keys.Form1ConnectClick(true);
  Keys.FormClose();
  EXPECT_EQ(Bench.Registry.Value(VendorKey, "HotKeysEnabled_Keys"),
            std::optional<platform::FakeRegistryValue>(1u));
  EXPECT_EQ(Bench.Registry.Value(VendorKey, "SensWhitSendKeys"),
            std::optional<platform::FakeRegistryValue>(1u));
  // A later activation keeps what was ticked.
  Keys.HotKeysEnableClick(false);
  Keys.FormActivate();
  EXPECT_FALSE(Keys.HotKeysEnable());
}

}  // namespace
}  // namespace quillon

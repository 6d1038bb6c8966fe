// The key-combination window driven as a user would, beside the configuration window: controls
// found by their names, message boxes and the new-page dialog scripted, time virtual.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <deque>
#include <fstream>
#include <sstream>

#include "MainWindowBench.h"
#include "TempFolder.h"
#include "config/EditorBench.h"
#include "core/actions/KeysTexts.h"
#include "gui/ConfigTreeModel.h"
#include "gui/KeyNameField.h"
#include "gui/TForm1.h"
#include "gui/TForm2.h"
#include "gui/TFormKeys.h"
#include "gui/TFormNewTab.h"
#include "platform/fake/FakeDesktopSystem.h"

namespace quillon::gui {
namespace {

using test::ReadFile;

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

struct KeysWindowFixture : ::testing::Test, MainWindowBench {
  KeysWindowFixture() {
    std::filesystem::create_directories(Folder);
    Form.OnButtonKeys = [this] { Keys.Open(); };
    Form.OnKeyNameChanged = [this](std::string_view text) { Keys.KeyNameChanged(text); };
    Form.OnLanguageFlipped = [this] { Keys.ApplyTexts(); };
    EXPECT_TRUE(Form.FormCreate());
  }
  ~KeysWindowFixture() override { Keys.hide(); }

  void WritePage(std::string_view name, std::string_view bytes) const {
    std::ofstream(Page(name), std::ios::binary) << bytes;
  }
  std::filesystem::path Page(std::string_view name) const {
    return Folder / (std::string(name) + ".kcn");
  }

  template <typename Control>
  Control* Find(QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QLatin1String(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  void Click(QWidget& window, const char* name) { Find<QAbstractButton>(window, name)->click(); }
  void OpenKeys() {
    Click(Form, "ButtonKeys");
    ASSERT_TRUE(Keys.isVisible());
  }
  QTableWidget* Grid() { return Find<QTableWidget>(Keys, "Keys"); }
  QString Cell(int row, int column) { return Grid()->item(row, column)->text(); }

  // Opens the cell's editor, lets `type` work in it, then moves to another cell, which commits
  // the edit.
  template <typename Editor, typename Typing>
  void EditCell(int row, int column, Typing type) {
    QTableWidget* grid = Grid();
    grid->setCurrentCell(row, column);
    grid->editItem(grid->item(row, column));
    auto* editor = grid->viewport()->findChild<Editor*>();
    ASSERT_NE(editor, nullptr);
    type(editor);
    grid->setCurrentCell(row == 0 ? 1 : 0, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  std::filesystem::path Folder = Bench.Folder.Path / "Keys";
  ScriptedNewPage Dialog;
  TFormKeys Keys{{Folder, Bench.Registry, Bench.Boxes, Dialog, Form, Bench.Loop, Bench.Language}};
};

TEST_F(KeysWindowFixture, ALineWithTwoCommasKeepsTheSecondInTheKeyString) {
  WritePage("Work", "Comma key,^{,},x\r\nCopy,^{c}\r\n");
  WritePage("Games", "Jump,[space]\r\n");
  OpenKeys();
  for (const char* name : {"PageControl1", "Keys", "HotKeysEnable", "Form1Connect", "ButtonAdd",
                           "Button1", "Button3", "Button4", "ButtonHelp"}) {
    EXPECT_NE(Keys.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
  }
  auto* pages = Find<QTabBar>(Keys, "PageControl1");
  ASSERT_EQ(pages->count(), 2);
  EXPECT_EQ(pages->tabText(0), "Games");
  pages->setCurrentIndex(1);
  ASSERT_EQ(Grid()->rowCount(), 3);  // two rows and the empty one
  EXPECT_EQ(Cell(0, 0), "Comma key");
  EXPECT_EQ(Cell(0, 1), "^{,},x");
  EXPECT_EQ(Cell(2, 0), "");
}

TEST_F(KeysWindowFixture, TypingIntoTheEmptyRowAddsARowAndSavesIt) {
  WritePage("Work", "Copy,^{c}\r\n");
  OpenKeys();
  EditCell<QLineEdit>(1, 0, [](QLineEdit* editor) { QTest::keyClicks(editor, "Paste, plain"); });
  EXPECT_EQ(Grid()->rowCount(), 3);
  EXPECT_EQ(ReadFile(Page("Work")), "Copy,^{c}\r\nPaste\\, plain,\r\n");

  // With Hot Keys enabled, the hot-key cell records key presses as send-key tokens.
  Find<QCheckBox>(Keys, "HotKeysEnable")->click();
  EditCell<KeyNameField>(1, 1, [](KeyNameField* editor) {
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_F5);
  });
  EXPECT_EQ(Cell(1, 1), "^{v}[f5]");
  EXPECT_EQ(ReadFile(Page("Work")), "Copy,^{c}\r\nPaste\\, plain,^{v}[f5]\r\n");
  EXPECT_EQ(Grid()->rowCount(), 3);

  // Reopened, the page reads back as it was typed.
  Click(Keys, "Button1");
  EXPECT_FALSE(Keys.isVisible());
  TFormKeys again({Folder, Bench.Registry, Bench.Boxes, Dialog, Form, Bench.Loop, Bench.Language});
  again.Open();
  auto* grid = again.findChild<QTableWidget*>(QStringLiteral("Keys"));
  EXPECT_EQ(grid->item(1, 0)->text(), "Paste, plain");
  EXPECT_TRUE(again.findChild<QCheckBox*>(QStringLiteral("HotKeysEnable"))->isChecked());
  again.hide();
}

TEST_F(KeysWindowFixture, DeletingTheLastPageClosesTheWindow) {
  WritePage("Only", "Copy,^{c}\r\n");
  OpenKeys();
  Click(Keys, "Button4");
  ASSERT_EQ(Bench.Boxes.Shown.size(), 1u);
  EXPECT_EQ(Bench.Boxes.Shown[0].Text, "Delete \"Only\"?");
  EXPECT_FALSE(std::filesystem::exists(Page("Only")));
  EXPECT_EQ(Dialog.Requests.size(), 1u);  // a new page was offered and refused
  EXPECT_EQ(Find<QTabBar>(Keys, "PageControl1")->count(), 0);
  EXPECT_TRUE(Keys.isVisible());
  Bench.Loop.AdvanceBy(KeysWindow::CloseDelay);
  EXPECT_FALSE(Keys.isVisible());
  EXPECT_FALSE(std::filesystem::exists(Page("Only")));
}

TEST_F(KeysWindowFixture, AddAssignsTheRowToTheMarkedButton) {
  WritePage("Work", "Copy,^{c}\r\nPaste,^{v}\r\n");
  Click(Form, "Button4");  // New: the keys of the remote
  auto* tree = Find<QTreeView>(Form, "TreeView");
  tree->setCurrentIndex(dynamic_cast<ConfigTreeModel*>(tree->model())->IndexOf(1));  // 1. Power
  OpenKeys();
  Grid()->setCurrentCell(1, 0);
  Click(Keys, "ButtonAdd");
  EXPECT_EQ(Bench.Tree.Text(2), "<SendKey>[^{v}]");
  EXPECT_TRUE(Find<QGroupBox>(Form, "RadioGroup1")
                  ->findChildren<QRadioButton*>()[static_cast<int>(EditorOperation::SendKeys)]
                  ->isChecked());
  EXPECT_TRUE(Bench.Boxes.Shown.empty());
}

TEST_F(KeysWindowFixture, ConnectedTheSelectedRowFollowsTheSendKeyField) {
  WritePage("Work", "Copy,^{c}\r\n");
  OpenKeys();
  Find<QCheckBox>(Keys, "Form1Connect")->click();
  Grid()->setCurrentCell(0, 1);
  QTest::keyClick(Find<KeyNameField>(Form, "KeyName"), Qt::Key_F5);
  EXPECT_EQ(Cell(0, 1), "[f5]");
  EXPECT_EQ(ReadFile(Page("Work")), "Copy,[f5]\r\n");
}

TEST_F(KeysWindowFixture, CaptionsFollowTheLanguage) {
  WritePage("Work", "");
  OpenKeys();
  EXPECT_EQ(Keys.windowTitle(), "Keys");
  EXPECT_EQ(Find<QAbstractButton>(Keys, "Button4")->text(), "Remove");
  EXPECT_EQ(Find<QAbstractButton>(Keys, "Form1Connect")->text(), "Sens with \"Send keys\" field");
  EXPECT_EQ(Grid()->horizontalHeaderItem(1)->text(), "Hot Key");
  Click(Form, "Button6");
  EXPECT_EQ(Keys.windowTitle(), "Клавишни комбинации");
  EXPECT_EQ(Find<QAbstractButton>(Keys, "Button3")->text(), "Добави");
  EXPECT_EQ(Find<QAbstractButton>(Keys, "Button1")->text(), "Затвори");
  EXPECT_EQ(Find<QAbstractButton>(Keys, "HotKeysEnable")->text(), "Разрешени клавишни комбинации");
  EXPECT_EQ(Grid()->horizontalHeaderItem(0)->text(), "Команда");
  EXPECT_TRUE(Find<QAbstractButton>(Keys, "Form1Connect")->toolTip().startsWith("ВНИМАНИЕ"));
}

TEST(NewTabDialogTest, RefusedCharactersNeverEnterTheName) {
  TFormNewTab dialog;
  QTimer::singleShot(0, &dialog, [&dialog] {
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    QTest::keyClicks(edit, "Wo/rk?");
    EXPECT_EQ(dialog.windowTitle(), "Нова");
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("Button2"))->text(), "Откажи");
    dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
  });
  const auto name = dialog.AskPageName({"Нова", "Име на новата страница", "OK", "Откажи"});
  EXPECT_EQ(name, std::optional<std::string>("Work"));
}

}  // namespace
}  // namespace quillon::gui

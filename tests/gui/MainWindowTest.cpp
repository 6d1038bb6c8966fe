// The configuration window driven as a user would: controls found by their names, message
// boxes and the load and save dialogs scripted, the core on fakes and virtual time.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <map>
#include <sstream>

#include "MainWindowBench.h"
#include "TempFolder.h"
#include "config/EditorBench.h"
#include "core/shell/MainWindowTexts.h"
#include "core/shell/Settings.h"
#include "core/shell/StartUp.h"
#include "gui/ConfigTreeModel.h"
#include "gui/TForm1.h"
#include "gui/TForm2.h"
#include "gui/TFormAllWindows.h"
#include "platform/fake/FakeDesktopSystem.h"

namespace quillon::gui {
namespace {

using test::ReadFile;

struct MainWindowFixture : ::testing::Test, MainWindowBench {
  MainWindowFixture() { EXPECT_TRUE(Form.FormCreate()); }

  template <typename Control>
  Control* Find(const char* name) {
    auto* control = Form.findChild<Control*>(QLatin1String(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  void Click(const char* name) { Find<QAbstractButton>(name)->click(); }
  QTreeView* Tree() { return Find<QTreeView>("TreeView"); }
  ConfigTreeModel* Model() { return dynamic_cast<ConfigTreeModel*>(Tree()->model()); }
  void Select(std::int32_t node) { Tree()->setCurrentIndex(Model()->IndexOf(node)); }
  void ChooseOperation(EditorOperation operation) {
    Find<QGroupBox>("RadioGroup1")
        ->findChildren<QRadioButton*>()[static_cast<int>(operation)]
        ->click();
  }
  // Types a window name and confirms it with Enter; the combo box hands the keys to its field.
  void EnterWindowName(const QString& name) {
    auto* combo = Find<QComboBox>("WinNameCombo");
    combo->lineEdit()->clear();
    QTest::keyClicks(combo, name);
    QTest::keyClick(combo, Qt::Key_Return);
  }
  QString NodeText(std::int32_t node) { return Model()->IndexOf(node).data().toString(); }

  // Every text the window shows: captions, titles and hints of its named controls and the
  // operation items.
  std::map<QString, QString> Texts() {
    std::map<QString, QString> texts;
    for (const QWidget* widget : Form.findChildren<QWidget*>()) {
      const QString name = widget->objectName();
      if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        texts[name + "/" + button->text()] = button->text();
      } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        texts[name + " caption"] = label->text();
      } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        texts[name + " caption"] = group->title();
      }
      if (!name.isEmpty()) texts[name + " hint"] = widget->toolTip();
    }
    return texts;
  }
};

TEST_F(MainWindowFixture, TheControlsCarryTheSystemsNames) {
  for (const char* name :
       {"RmtCtrl",       "TreeView",   "RadioGroup1",  "WinNameCombo", "RunApplication",
        "CommandName",   "KeyName",    "Button5",      "MessName",     "MessWParam",
        "MessLParam",    "ButtonAdd",  "ButtonRemove", "Button4",      "ButtonLoad",
        "ButtonSave",    "ButtonTest", "CheckBox1",    "CheckBox2",    "ShowFullWindow",
        "HotKeysEnable", "Button6",    "Button2",      "GroupBox1",    "StaticText1"}) {
    EXPECT_NE(Form.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
  }
  EXPECT_EQ(Find<QComboBox>("RmtCtrl")->currentText().toStdString(), test::VizioType);
  EXPECT_EQ(Find<QComboBox>("CommandName")->count(), 15);
  EXPECT_EQ(Find<QComboBox>("WinNameCombo")->currentText(), "none");
}

// The smallest screen the program starts on without asking holds the whole window, whatever the
// language's captions.
TEST_F(MainWindowFixture, TheWindowFitsAnEightHundredBySixHundredScreenInBothLanguages) {
  for (const LanguageFlag language : {English, Bulgarian}) {
    SCOPED_TRACE(language);
    if (Bench.Language != language) Click("Button6");
    const QSize size = Form.minimumSizeHint();
    EXPECT_LE(size.width(), 800);
    EXPECT_LE(size.height(), 600);
  }
}

TEST_F(MainWindowFixture, ShowFullWindowIsStoredAtOnceWhenClicked) {
  ASSERT_TRUE(Find<QCheckBox>("ShowFullWindow")->isChecked());
  for (const bool stored : {false, true}) {
    Click("ShowFullWindow");
    EXPECT_EQ(ReadValue(Bench.Registry, settings::ShowFullWindow), stored);
  }
}

TEST_F(MainWindowFixture, TheScreenSaverChoiceSwitchesItAndShowsItsStateOnActivation) {
  Form.Machine = &Desktop.System;
  ASSERT_TRUE(Form.FormCreate());
  Click("ScreenSaverOff");
  EXPECT_FALSE(Desktop.System.ScreenSaverActive());
  Click("ScreenSaverOn");
  EXPECT_TRUE(Desktop.System.ScreenSaverActive());

  // Switched elsewhere meanwhile: the window shows it when it becomes active again.
  Desktop.System.SetScreenSaverActive(false);
  Form.show();
  Form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
  EXPECT_TRUE(Find<QRadioButton>("ScreenSaverOff")->isChecked());
}

TEST_F(MainWindowFixture, RunApplicationStartsTheApplicationOfTheConfiguration) {
  Form.Launcher = &Desktop.Launcher;
  ASSERT_TRUE(Form.FormCreate());
  EXPECT_FALSE(Find<QPushButton>("BitBtn1")->isEnabled());  // "New group" names none
  std::filesystem::copy_file(
      std::filesystem::path(QUILLON_SOURCE_DIR) / "samples/remotes/Living room.rir",
      Bench.File("Living room"));
  Bench.Dialogs.LoadAnswers = {{LoadDialogResult::Load, "Living room"}};
  Click("ButtonLoad");
  Select(0);
  Click("BitBtn1");
  EXPECT_EQ(Desktop.Log.Texts(),
            std::vector<std::string>{R"(launch path="C:\Program Files\Media Player\player.exe" )"
                                     R"(folder="C:\Program Files\Media Player\")"});
}

TEST_F(MainWindowFixture, BuildingAGroupKeyAndSavingGivesTheFile) {
  Click("Button4");  // New: the keys of the remote
  Select(0);
  EnterWindowName("Media Player");
  ASSERT_EQ(NodeText(0), "[Media Player][]");

  Select(5);
  ChooseOperation(EditorOperation::GroupKey);
  EnterWindowName("Photo Viewer");
  Click("ButtonAdd");
  ASSERT_EQ(NodeText(5), "5. Input - [Group Key][Photo Viewer][]");
  EXPECT_EQ(Model()->rowCount(Model()->IndexOf(5)), 6);

  Select(6);  // 1. Power inside the group
  ChooseOperation(EditorOperation::Command);
  Find<QComboBox>("CommandName")->setCurrentText("MouseLeftClick");
  Click("ButtonAdd");

  Bench.Dialogs.SaveAnswers = {"Evening"};
  Click("ButtonSave");
  ASSERT_EQ(Bench.Dialogs.SaveRequests.size(), 1u);
  EXPECT_EQ(Bench.Dialogs.SaveRequests[0].Proposal, "VIZIO  VX32L-Media Player");
  EXPECT_EQ(ReadFile(Bench.File("Evening")),
            "[Media Player][]\r\n"
            "\t1. Power\r\n"
            "\t2. Vol_up\r\n"
            "\t3. Vol_dn\r\n"
            "\t4. Mute\r\n"
            "\t5. Input - [Group Key][Photo Viewer][]\r\n"
            "\t\t1. Power\r\n"
            "\t\t\t<Command>[MouseLeftClick]\r\n"
            "\t\t2. Vol_up\r\n"
            "\t\t3. Vol_dn\r\n"
            "\t\t4. Mute\r\n"
            "\t\t5. Input\r\n"
            "\t\t\t<Command>[Close Group]\r\n"
            "\t\t6. Down\r\n"
            "\t6. Down\r\n"
            "<Remoute Control Type> - VIZIO  VX32L\r\n");
  EXPECT_EQ(Form.windowTitle(), "Quillon  [Evening]");
  EXPECT_TRUE(Bench.Boxes.Shown.empty());
}

TEST_F(MainWindowFixture, RemovingAGroupKeyRestoresThePlainLabel) {
  Click("Button4");
  Select(0);
  EnterWindowName("Media Player");
  Select(5);
  ChooseOperation(EditorOperation::GroupKey);
  EnterWindowName("Photo Viewer");
  Click("ButtonAdd");
  ASSERT_EQ(Model()->rowCount(Model()->IndexOf(5)), 6);
  Select(5);
  Click("ButtonRemove");
  EXPECT_EQ(NodeText(5), "5. Input");
  EXPECT_EQ(Model()->rowCount(Model()->IndexOf(5)), 0);
  EXPECT_EQ(Model()->rowCount(Model()->IndexOf(0)), 6);
  EXPECT_EQ(Bench.Tree.Count(), 7);
}

TEST_F(MainWindowFixture, AddAndRemoveAreEnabledOnKeysOnly) {
  Click("Button4");
  auto* add = Find<QPushButton>("ButtonAdd");
  auto* remove = Find<QPushButton>("ButtonRemove");
  Select(0);
  EXPECT_FALSE(add->isEnabled());
  EXPECT_FALSE(remove->isEnabled());
  Select(3);
  ChooseOperation(EditorOperation::Command);
  EXPECT_FALSE(add->isEnabled());  // "none" chosen
  EXPECT_TRUE(remove->isEnabled());
  Find<QComboBox>("CommandName")->setCurrentText("MouseUp");
  EXPECT_TRUE(add->isEnabled());
}

TEST_F(MainWindowFixture, FlippingTheLanguageTwiceRestoresEveryCaption) {
  const auto english = Texts();
  Click("Button6");
  EXPECT_EQ(Bench.Language, Bulgarian);
  EXPECT_EQ(Find<QPushButton>("ButtonTest")->text(), "Готов съм !");
  EXPECT_EQ(Find<QGroupBox>("RadioGroup1")->title(), "Действие");
  for (const ControlText& entry : MainWindowTexts) {
    const auto* control =
        Form.findChild<QWidget*>(QString::fromUtf8(entry.Control.data(), entry.Control.size()));
    if (control == nullptr || entry.Property != TextProperty::Hint) continue;
    EXPECT_EQ(control->toolTip().toStdString(),
              QString::fromUtf8(entry.Text.InBulgarian.data(), entry.Text.InBulgarian.size())
                  .replace("\r\n", "\n")
                  .toStdString());
  }
  EXPECT_NE(Texts(), english);
  Click("Button6");
  EXPECT_EQ(Bench.Language, English);
  EXPECT_EQ(Texts(), english);
}

TEST_F(MainWindowFixture, RefusalsShowTheirMessages) {
  Click("Button4");
  Click("ButtonSave");
  ASSERT_EQ(Bench.Boxes.Shown.size(), 1u);
  EXPECT_EQ(Bench.Boxes.Shown[0].Text, "'New group' is not valid application !");
  EXPECT_EQ(Bench.Boxes.Shown[0].Caption, "Error");

  Click("Button6");  // the next refusal in Bulgarian
  Select(0);
  EnterWindowName("Player [2]");
  ASSERT_EQ(Bench.Boxes.Shown.size(), 2u);
  EXPECT_TRUE(Bench.Boxes.Shown[1].Text.starts_with("Името на прозореца"));
  EXPECT_EQ(Bench.Boxes.Shown[1].Caption, "Грешка");
  EXPECT_EQ(NodeText(0), "New group");
}

TEST_F(MainWindowFixture, KeyPressesInTheKeyFieldBecomeAKeyString) {
  Click("Button4");
  Select(2);
  ChooseOperation(EditorOperation::SendKeys);
  auto* keyName = Find<KeyNameField>("KeyName");
  QTest::keyClick(keyName, Qt::Key_F5);
  QTest::keyClick(keyName, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(keyName->text(), "[f5]^{a}");
  QTest::keyClick(keyName, Qt::Key_Backspace);
  QTest::keyClick(keyName, Qt::Key_Tab);
  EXPECT_EQ(keyName->text(), "[f5][tab]");
  QTest::keyClick(keyName, Qt::Key_Backspace);
  QTest::keyClick(keyName, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(keyName->text(), "[f5]^{a}");
  Click("ButtonAdd");
  EXPECT_EQ(NodeText(3), "<SendKey>[[f5]^{a}]");
  EXPECT_TRUE(keyName->text().isEmpty());

  Find<QCheckBox>("HotKeysEnable")->click();  // typed characters now
  QTest::keyClicks(keyName, "Hi");
  EXPECT_EQ(keyName->text(), "!{h}i");
}

TEST_F(MainWindowFixture, DoubleClickExecutesWhenTicked) {
  Click("Button4");
  Select(1);
  ChooseOperation(EditorOperation::Command);
  Find<QComboBox>("CommandName")->setCurrentText("MouseLeft");
  Click("ButtonAdd");
  emit Tree()->doubleClicked(Model()->IndexOf(1));
  EXPECT_TRUE(Bench.Actions.Executed.empty());
  Find<QCheckBox>("CheckBox2")->click();
  emit Tree()->doubleClicked(Model()->IndexOf(1));
  ASSERT_EQ(Bench.Actions.Executed.size(), 1u);
  EXPECT_EQ(Bench.Actions.Executed[0].Parameter, "MouseLeft");
}

// Opens the name dialog on the selected node and, once it shows, types `typed` into its field
// (after clearing it when asked) and clicks `button`.
void RenameThroughTheDialog(TForm1& form, const QString& typed, const char* button, bool clearFirst,
                            QString* shown = nullptr) {
  QTimer::singleShot(0, [typed, button, clearFirst, shown] {
    auto* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    if (shown != nullptr) *shown = field->text();
    if (clearFirst) field->clear();
    QTest::keyClicks(field, typed);
    dialog->findChild<QPushButton*>(QLatin1String(button))->click();
  });
  EXPECT_TRUE(form.RenameSelectedNode());
}

TEST_F(MainWindowFixture, TheNameDialogAddsRenamesAndClearsADisplayName) {
  Click("Button4");
  Select(5);
  Bench.Pipeline.ReceiveEnabled = true;
  bool receivingMeanwhile = true;
  QTimer::singleShot(0, [&] { receivingMeanwhile = Bench.Pipeline.ReceiveEnabled; });
  QString shown;
  RenameThroughTheDialog(Form, "Start [music]", "BitBtn2", true, &shown);
  EXPECT_EQ(shown, "Enter new name here");
  EXPECT_EQ(NodeText(5), "5. Input [Start music]");  // brackets never enter the field
  EXPECT_FALSE(receivingMeanwhile);                  // no button runs behind the dialog
  EXPECT_TRUE(Bench.Pipeline.ReceiveEnabled);

  RenameThroughTheDialog(Form, "Go", "BitBtn2", true, &shown);
  EXPECT_EQ(shown, "Start music");
  EXPECT_EQ(NodeText(5), "5. Input [Go]");

  RenameThroughTheDialog(Form, "ignored", "BitBtn3", false);  // Close changes nothing
  EXPECT_EQ(NodeText(5), "5. Input [Go]");
  RenameThroughTheDialog(Form, "", "BitBtn1", false);  // Clear
  EXPECT_EQ(NodeText(5), "5. Input");

  Select(0);  // the root takes no display name: no dialog
  EXPECT_FALSE(Form.RenameSelectedNode());
}

TEST_F(MainWindowFixture, TheWindowListHandsATitleToTheEditor) {
  platform::EffectLog log;
  platform::FakeDesktop desktop(log);
  desktop.AddWindow("Media Player");
  desktop.AddWindow("Notes");
  TFormAllWindows list({desktop, Form, Bench.Tree, Bench.Boxes, Bench.Language}, &Form);
  Click("Button4");
  Select(0);
  QTimer::singleShot(0, [] {
    auto* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "All Windows");
    auto* titles = dialog->findChild<QListWidget*>(QStringLiteral("ListBox1"));
    ASSERT_EQ(titles->count(), 2);
    titles->setCurrentRow(1);
    dialog->findChild<QPushButton*>(QStringLiteral("ButtonAdd"))->click();
    dialog->findChild<QPushButton*>(QStringLiteral("ButtonClose"))->click();
  });
  list.Open();
  EXPECT_EQ(NodeText(0), "[Notes][]");
  EXPECT_EQ(Find<QComboBox>("WinNameCombo")->currentText(), "Notes");
  EXPECT_TRUE(Bench.Boxes.Shown.empty());
}

TEST_F(MainWindowFixture, WithoutANotificationAreaTheWindowMinimisesInsteadOfHiding) {
  Form.show();
  Click("ButtonTest");
  EXPECT_TRUE(Form.isVisible());
  EXPECT_TRUE(Form.isMinimized());
}

TEST_F(MainWindowFixture, RunAtStartUpWritesAndRemovesTheAutostartEntry) {
  const auto entry = Config.Path / "autostart" / "quillon.desktop";
  Click("CheckBox1");
  EXPECT_TRUE(std::filesystem::exists(entry));
  EXPECT_NE(ReadFile(entry).find("Exec=\"/usr/bin/quillon\""), std::string::npos);
  Click("CheckBox1");
  EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST_F(MainWindowFixture, ClosingStoresTheWindowsSettings) {
  Click("Button6");
  Find<QCheckBox>("CheckBox2")->click();
  Form.close();
  const MainWindowSettings stored = ReadMainWindowSettings(Bench.Registry);
  EXPECT_EQ(stored.Language, Bulgarian);
  EXPECT_TRUE(stored.DoubleClick);
}

TEST_F(MainWindowFixture, TheCurrentFunctionWindowShowsAndClosesOnTime) {
  Display.SetHintInterval(2000);
  Display.IRShowHint("1. Power");
  EXPECT_TRUE(Form2.isVisible());
  EXPECT_EQ(Form2.findChild<QLabel*>("Label1")->text(), "1. Power");
  const QRect screen = Form2.screen()->geometry();
  EXPECT_EQ(Form2.geometry().right(), screen.width() - 10 - 1);
  EXPECT_EQ(Form2.geometry().bottom(), screen.height() - 30 - 1);
  Display.IRShowHint("[F1]\r[Photo Viewer]\r5. Input");
  EXPECT_EQ(Form2.findChild<QLabel*>("Label1")->text(), "[F1]\n[Photo Viewer]\n5. Input");
  Bench.Loop.AdvanceBy(2000);
  EXPECT_FALSE(Form2.isVisible());
}

}  // namespace
}  // namespace quillon::gui

#include "gui/TForm1.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLineEdit>

#include "core/config/NameDialog.h"
#include "core/config/NodeText.h"
#include "core/shell/MainWindowTexts.h"
#include "core/shell/Settings.h"
#include "core/shell/StartUp.h"
#include "core/shell/StartUpChecks.h"
#include "gui/ControlTexts.h"
#include "gui/QtText.h"
#include "gui/TFormNewName.h"

namespace quillon::gui {

namespace {

// The file name of a program path, Windows or Linux.
QString FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return ToQString(slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace

TForm1::TForm1(const MainWindowContext& context)
    : The(context),
      Editor(context.Editor, *this),
      Tray(*this),
      Controls(BuildTForm1Controls(this, context.Editor.Boxes, context.Language)),
      Model(new ConfigTreeModel(context.Editor.Tree, this)),
      TrayIcon1(new TTrayIcon(this)) {
  setObjectName(QStringLiteral("TForm1"));
  setWindowIcon(ProgramIcon());
  Controls.TreeView->setModel(Model);
  Connect();
}

void TForm1::Connect() {
  TForm1Controls& c = Controls;
  connect(c.TreeView->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
    Editor.TreeViewClick(SelectedNode());
    UpdateButtons();
  });
  connect(c.TreeView, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
    Editor.TreeViewDblClick(Model->NodeAt(index), Controls.CheckBox2->isChecked());
  });
  connect(c.Operations, &QButtonGroup::idClicked, this, [this] { UpdateButtons(); });
  connect(c.CommandName, &QComboBox::currentIndexChanged, this, [this] { UpdateButtons(); });
  connect(c.KeyName, &QLineEdit::textChanged, this, [this](const QString& text) {
    UpdateButtons();
    if (OnKeyNameChanged) OnKeyNameChanged(ToUtf8(text));
  });
  connect(findChild<QPushButton*>(QStringLiteral("ButtonKeys")), &QPushButton::clicked, this,
          [this] {
            if (OnButtonKeys) OnButtonKeys();
          });
  connect(findChild<QPushButton*>(QStringLiteral("ButtonAudio")), &QPushButton::clicked, this,
          [this] {
            if (AudioWindow != nullptr) AudioWindow->Open();
          });
  connect(findChild<QPushButton*>(QStringLiteral("BitBtn1")), &QPushButton::clicked, this,
          &TForm1::BitBtn1Click);
  connect(findChild<QPushButton*>(QStringLiteral("Button3")), &QPushButton::clicked, this,
          &TForm1::Button3Click);
  connect(findChild<QPushButton*>(QStringLiteral("BitBtn2")), &QPushButton::clicked, this, [this] {
    if (OnOptions) OnOptions();
  });
  connect(c.RmtCtrl, &QComboBox::activated, this, [this] {
    Editor.RmtCtrlChange(ToUtf8(Controls.RmtCtrl->currentText()));
    UpdateButtons();
  });
  // A window name counts once it is entered (Enter, or leaving the field), not at each key.
  connect(c.WinNameCombo->lineEdit(), &QLineEdit::editingFinished, this,
          [this] { Editor.WinNameComboChange(Panel()); });
  connect(c.ButtonAdd, &QPushButton::clicked, this, [this] {
    Editor.ButtonAddClick(Panel());
    UpdateButtons();
  });
  connect(c.ButtonRemove, &QPushButton::clicked, this, [this] {
    Editor.ButtonRemoveClick(SelectedNode());
    UpdateButtons();
  });
  connect(c.Button4, &QPushButton::clicked, this, [this] { Editor.Button4Click(); });
  connect(c.ButtonLoad, &QPushButton::clicked, this, [this] {
    const ReceptionOff off(The.System.Pipeline);
    Editor.ButtonLoadClick();
  });
  connect(c.ButtonSave, &QPushButton::clicked, this, [this] {
    const ReceptionOff off(The.System.Pipeline);
    Editor.ButtonSaveClick(Panel());
  });
  connect(c.Button5, &QPushButton::clicked, c.KeyName, &QLineEdit::clear);
  connect(c.HotKeysEnable, &QCheckBox::toggled, this,
          [this](bool ticked) { Controls.KeyName->Recording = ticked; });
  connect(c.Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
  connect(c.CheckBox1, &QCheckBox::clicked, this, [this](bool ticked) { CheckBox1Click(ticked); });
  for (QRadioButton* saver : {c.ScreenSaverOn, c.ScreenSaverOff}) {
    connect(saver, &QRadioButton::clicked, this, [this, on = saver == c.ScreenSaverOn] {
      if (Machine != nullptr) Machine->SetScreenSaverActive(on);
    });
  }
  // Stored at once (silent on failure, as every setting); the side windows that show move to
  // their new places.
  connect(c.ShowFullWindow, &QCheckBox::clicked, this, [this](bool ticked) {
    static_cast<void>(WriteValue(The.Editor.Registry, settings::ShowFullWindow, ticked));
    for (QWidget* side : SideWindows) {
      if (side->isVisible()) PlaceSideWindow(*side);
    }
  });
  connect(c.ButtonTest, &QPushButton::clicked, this, [this] { Tray.ButtonTestClick(); });
  connect(c.Button2, &QPushButton::clicked, this, &QWidget::close);
  connect(findChild<QPushButton*>(QStringLiteral("ButtonSkins")), &QPushButton::clicked, this,
          [this] {
            const ReceptionOff off(The.System.Pipeline);
            ButtonSkinsClick();
          });
  connect(c.RunApplication, &QPushButton::clicked, this, [this] {
    const ReceptionOff off(The.System.Pipeline);
    RunApplicationClick();
  });
  connect(findChild<QPushButton*>(QStringLiteral("ButtonAllWindows")), &QPushButton::clicked, this,
          [this] {
            const ReceptionOff off(The.System.Pipeline);
            if (OnAllWindows) OnAllWindows();
          });
  auto* rename = new QAction(c.TreeView);
  rename->setShortcut(Qt::Key_F2);
  rename->setShortcutContext(Qt::WidgetShortcut);
  connect(rename, &QAction::triggered, this, [this] { RenameSelectedNode(); });
  c.TreeView->addAction(rename);
  c.TreeView->setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(c.COMName, &QButtonGroup::idClicked, this, [this](int port) {
    if (OnComPortChosen) OnComPortChosen(port);
  });
  for (QAbstractButton* item : c.COMName->buttons()) item->installEventFilter(this);
  connect(findChild<QPushButton*>(QStringLiteral("NewRmtCtrl")), &QPushButton::clicked, this,
          [this] {
            if (OnNewRmtCtrl) OnNewRmtCtrl();
          });
  TrayIcon1->OnClick = [this] { Tray.TrayIconClick(); };
}

bool TForm1::FormCreate() {
  ApplyTexts();
  const MainWindowSettings settings = ReadMainWindowSettings(The.Editor.Registry);
  if (!Editor.StartUp(settings.RemoteType, settings.FileName)) return false;
  Controls.CheckBox1->setChecked(AutoStartEnabled(The.AutoStartEntry));
  Controls.CheckBox2->setChecked(settings.DoubleClick);
  Controls.HotKeysEnable->setChecked(settings.HotKeysEnabled);
  Controls.KeyName->Recording = settings.HotKeysEnabled;
  Controls.ShowFullWindow->setChecked(settings.ShowFullWindow);
  Controls.Label2->setText(QStringLiteral("PTK0.0"));
  ShowSelectedPort(ReadComPort(The.Editor.Registry, settings::Com));
  findChild<QPushButton*>(QStringLiteral("NewRmtCtrl"))
      ->setEnabled(static_cast<bool>(OnNewRmtCtrl));
  Controls.RunApplication->setEnabled(static_cast<bool>(OnProbeApplication));
  findChild<QPushButton*>(QStringLiteral("ButtonSkins"))->setEnabled(Skins != nullptr);
  findChild<QPushButton*>(QStringLiteral("ButtonAllWindows"))
      ->setEnabled(static_cast<bool>(OnAllWindows));
  findChild<QPushButton*>(QStringLiteral("ButtonKeys"))
      ->setEnabled(static_cast<bool>(OnButtonKeys));
  findChild<QPushButton*>(QStringLiteral("ButtonAudio"))->setEnabled(AudioWindow != nullptr);
  findChild<QPushButton*>(QStringLiteral("BitBtn2"))->setEnabled(static_cast<bool>(OnOptions));
  findChild<QGroupBox*>(QStringLiteral("ScreenSaver"))->setEnabled(Machine != nullptr);
  TrayIcon1->Activate();
  UpdateButtons();
  return true;
}

void TForm1::LearningWindowClosed() { Editor.RemoteTypesChanged(); }

std::int32_t TForm1::SelectedNode() const {
  return Model->NodeAt(Controls.TreeView->currentIndex());
}

EditorPanel TForm1::Panel() const {
  const TForm1Controls& c = Controls;
  EditorPanel panel;
  panel.Selected = SelectedNode();
  panel.Operation = static_cast<EditorOperation>(std::max(c.Operations->checkedId(), 0));
  panel.WindowName = ToUtf8(c.WinNameCombo->currentText());
  panel.ApplicationPath = ApplicationPath;
  panel.CommandName = ToUtf8(c.CommandName->currentText());
  panel.KeyName = ToUtf8(c.KeyName->text());
  panel.MessageName = ToUtf8(c.MessName->currentText());
  panel.MessageWParam = c.MessWParam->value();
  panel.MessageLParam = c.MessLParam->value();
  panel.AudioWindowShowing = AudioWindow != nullptr && AudioWindow->isVisible();
  if (panel.AudioWindowShowing) panel.AudioCommand = AudioWindow->ChosenCommand();
  return panel;
}

void TForm1::UpdateButtons() {
  const EditorButtons buttons = Editor.ButtonsFor(Panel());
  Controls.ButtonAdd->setEnabled(buttons.Add);
  Controls.ButtonRemove->setEnabled(buttons.Remove);
}

void TForm1::ApplyTexts() {
  const LanguageFlag language = The.Language;
  for (const ControlText& entry : MainWindowTexts) ApplyControlText(*this, entry, language);
  for (std::size_t operation = 0; operation < OperationTexts.size(); ++operation) {
    Controls.Operations->button(static_cast<int>(operation))
        ->setText(ToQString(OperationTexts[operation](language)));
  }
  ShowSkinsCaption();
  Controls.TreeView->actions().front()->setText(
      ToQString(Text(NameDialogText::RenameHint, language)));
  Controls.ShowFullWindow->setToolTip(
      DisplayText(Text(StartUpCheckText::FullWindowHint, language)));
  ShowApplication();
}

void TForm1::ShowApplication() {
  Controls.RunApplication->setText(
      ApplicationPath.empty()
          ? ToQString(MainWindowText("RunApplication", TextProperty::Caption, The.Language))
          : FileNameOf(ApplicationPath));
  findChild<QPushButton*>(QStringLiteral("BitBtn1"))
      ->setEnabled(Launcher != nullptr && !ApplicationPath.empty());
}

void TForm1::RunApplicationClick() {
  // Programs here seldom end in ".exe", and "*.*" would pass over every name without a dot: all
  // files are chosen at first.
  QString allFiles = QStringLiteral("All Files(*)");
  const QString program = QFileDialog::getOpenFileName(
      this, ToQString(MainWindowText("OpenDialog", TextProperty::Caption, The.Language)), {},
      QStringLiteral("Programm Files(*.exe);;") + allFiles, &allFiles);
  if (program.isEmpty()) return;
  const std::vector<std::string> titles = OnProbeApplication(ToUtf8(program));
  if (titles.empty()) return;
  for (const std::string& title : titles) TakeWindowName(title);
  Controls.WinNameCombo->setEditText(ToQString(titles.front()));
  ApplicationPath = ToUtf8(program);
  ShowApplication();
  Editor.WinNameComboChange(Panel());
}

void TForm1::ButtonSkinsClick() {
  if (ApplicationPath.empty()) return;
  const Options now = ReadOptions(The.System.Registry);
  if (!Skins->Waiting()) {
    Skins->Start(ApplicationPath, now.StartTime, The.Language);
  } else {
    for (const std::string& title : Skins->Complete(now.CloseTime, now.StartTime, The.Language)) {
      const QString name = ToQString(title);
      if (Controls.WinNameCombo->findText(name) < 0) Controls.WinNameCombo->addItem(name);
    }
  }
  ShowSkinsCaption();
}

void TForm1::ShowSkinsCaption() {
  findChild<QPushButton*>(QStringLiteral("ButtonSkins"))
      ->setText(Skins != nullptr && Skins->Waiting()
                    ? ToQString(MainWindowText("ButtonSkins", TextProperty::Caption, The.Language))
                    : ToQString(SkinsCaption));
}

void TForm1::Button6Click() {
  The.Language = FlipLanguage(The.Language);
  if (OnLanguageFlipped) OnLanguageFlipped();
  ApplyTexts();
}

void TForm1::CheckBox1Click(bool ticked) {
  // Failures are silent, as with every setting: the box shows what the entry now says.
  const auto done = ticked ? WriteAutoStartEntry(The.AutoStartEntry, The.ProgramPath)
                           : RemoveAutoStartEntry(The.AutoStartEntry);
  if (!done) Controls.CheckBox1->setChecked(AutoStartEnabled(The.AutoStartEntry));
}

void TForm1::SetKeyName(std::string_view keys) {
  Controls.KeyName->setText(ToQString(keys));
  Controls.KeyName->end(false);
}

void TForm1::ChooseSendKeys() {
  Controls.Operations->button(static_cast<int>(EditorOperation::SendKeys))->setChecked(true);
}

bool TForm1::RenameSelectedNode() {
  const std::int32_t node = SelectedNode();
  if (!TakesDisplayName(The.Editor.Tree, node)) return false;
  const ReceptionOff off(The.System.Pipeline);
  TFormNewName dialog(The.Editor.Tree.Text(node), The.Language, this);
  if (const auto field = dialog.Ask()) RenameNode(The.Editor.Tree, node, *field);
  return true;
}

void TForm1::ChooseCommand() {
  Controls.Operations->button(static_cast<int>(EditorOperation::Command))->setChecked(true);
}

void TForm1::ChooseGroupKey() {
  Controls.Operations->button(static_cast<int>(EditorOperation::GroupKey))->setChecked(true);
}

void TForm1::TakeWindowName(std::string_view title) {
  const QString name = ToQString(title);
  if (Controls.WinNameCombo->findText(name) < 0) Controls.WinNameCombo->addItem(name);
  Controls.WinNameCombo->setEditText(name);
  ResetApplication();
}

void TForm1::SetCaption(std::string_view caption) { setWindowTitle(ToQString(caption)); }

void TForm1::ShowRemoteTypes(const std::vector<std::string>& names) {
  Controls.RmtCtrl->clear();
  for (const std::string& name : names) Controls.RmtCtrl->addItem(ToQString(name));
  Controls.RmtCtrl->setCurrentIndex(-1);
}

void TForm1::ShowRemoteType(std::string_view name) {
  Controls.RmtCtrl->setCurrentIndex(Controls.RmtCtrl->findText(ToQString(name)));
}

void TForm1::ShowNode(std::int32_t node, const NodePanel& panel) {
  TForm1Controls& c = Controls;
  const QModelIndex index = Model->IndexOf(node);
  c.TreeView->setCurrentIndex(index);
  c.TreeView->expand(index);
  c.TreeView->scrollTo(index);
  if (panel.Operation) c.Operations->button(static_cast<int>(*panel.Operation))->setChecked(true);
  if (panel.WindowName) c.WinNameCombo->setEditText(ToQString(*panel.WindowName));
  if (panel.ApplicationPath) {
    ApplicationPath = *panel.ApplicationPath;
    ShowApplication();
  }
  if (panel.CommandName) c.CommandName->setCurrentText(ToQString(*panel.CommandName));
  if (panel.KeyName) c.KeyName->setText(ToQString(*panel.KeyName));
  if (panel.MessageName) c.MessName->setCurrentText(ToQString(*panel.MessageName));
  if (panel.MessageWParam) c.MessWParam->setValue(static_cast<int>(*panel.MessageWParam));
  if (panel.MessageLParam) c.MessLParam->setValue(static_cast<int>(*panel.MessageLParam));
  UpdateButtons();
}

void TForm1::EnableEditor(bool enabled) {
  Controls.TreeView->setEnabled(enabled);
  Controls.EditorPanel->setEnabled(enabled);
  UpdateButtons();
}

void TForm1::ClearWindowNames() {
  Controls.WinNameCombo->clear();
  Controls.WinNameCombo->setEditText(ToQString(NoWindowName));
}

void TForm1::ResetApplication() {
  ApplicationPath.clear();
  ShowApplication();
}

void TForm1::ClearKeyName() { Controls.KeyName->clear(); }

void TForm1::ResetCommandList() {
  Controls.CommandName->clear();
  for (const std::string_view name : BuiltInCommands) {
    Controls.CommandName->addItem(ToQString(name));
  }
  Controls.CommandName->setCurrentIndex(0);
}

void TForm1::SaveWindowSettings() {
  MainWindowSettings settings;
  settings.Language = The.Language;
  settings.DoubleClick = Controls.CheckBox2->isChecked();
  settings.HotKeysEnabled = Controls.HotKeysEnable->isChecked();
  settings.ShowFullWindow = Controls.ShowFullWindow->isChecked();
  settings.FileName = The.Editor.Current.FilePath.string();
  if (const int port = Controls.COMName->checkedId(); port > 0) {
    static_cast<void>(WriteComPort(The.Editor.Registry, settings::Com, port));
  }
  // Settings failures are silent to the user.
  static_cast<void>(WriteMainWindowSettings(The.Editor.Registry, settings));
}

void TForm1::EndProgram() { close(); }

}  // namespace quillon::gui

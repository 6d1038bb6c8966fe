#include "gui/TForm1Controls.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include <initializer_list>
#include <limits>

#include "gui/ControlTexts.h"

namespace quillon::gui {

namespace {

constexpr int ProgramNameWidth = 160;

QPushButton* Button(const char* name, bool enabled = true) {
  auto* button = Named(new QPushButton, name);
  button->setEnabled(enabled);
  return button;
}

// A button that shows an icon; its hint says what it does.
QPushButton* IconButton(const char* name, QStyle::StandardPixmap icon, bool enabled = true) {
  QPushButton* button = Button(name, enabled);
  button->setIcon(button->style()->standardIcon(icon));
  return button;
}

// A list whose longest entry does not set the window's width.
QComboBox* Combo(const char* name) {
  auto* combo = Named(new QComboBox, name);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo->setMinimumContentsLength(12);
  return combo;
}

// Controls side by side; the one at `stretchAt` takes the room left, or a stretch at the end
// when there is none.
QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, int stretchAt = -1) {
  auto* row = new QHBoxLayout;
  int at = 0;
  for (QWidget* widget : widgets) row->addWidget(widget, at++ == stretchAt ? 1 : 0);
  if (stretchAt < 0) row->addStretch();
  return row;
}

QSpinBox* ParameterBox(const char* name) {
  auto* box = Named(new QSpinBox, name);
  box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
  return box;
}

}  // namespace

TForm1Controls BuildTForm1Controls(QWidget* form, MessageBoxes& boxes,
                                   const LanguageFlag& language) {
  TForm1Controls c{};

  // Top: the receiver and its port, the language, the exit.
  auto* top = new QHBoxLayout;
  top->addWidget(Named(new QLabel, "Label1"));
  c.Label2 = Named(new QLabel, "Label2");
  top->addWidget(c.Label2);
  top->addWidget(PortChoice(c.COMName));
  auto* saver = Named(new QGroupBox, "ScreenSaver");
  c.ScreenSaverOn = Named(new QRadioButton, "ScreenSaverOn");
  c.ScreenSaverOff = Named(new QRadioButton, "ScreenSaverOff");
  auto* saverRow = new QHBoxLayout(saver);
  saverRow->addWidget(c.ScreenSaverOn);
  saverRow->addWidget(c.ScreenSaverOff);
  saver->setEnabled(false);
  top->addWidget(saver);
  top->addStretch();
  c.Button6 = Button("Button6");
  c.Button2 = IconButton("Button2", QStyle::SP_DialogCloseButton);
  top->addWidget(c.Button6);
  top->addWidget(c.Button2);

  // Left: the remote type, the tree and the whole configuration.
  auto* remote = Named(new QGroupBox, "GroupBox1");
  auto* remoteRow = new QHBoxLayout(remote);
  c.RmtCtrl = Combo("RmtCtrl");
  remoteRow->addWidget(c.RmtCtrl, 1);
  remoteRow->addWidget(Button("NewRmtCtrl", false));
  c.TreeView = Named(new QTreeView, "TreeView");
  c.TreeView->header()->hide();
  c.TreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  c.TreeView->setMinimumSize(240, 360);
  c.Button4 = Button("Button4");
  c.ButtonLoad = Button("ButtonLoad");
  c.ButtonSave = Button("ButtonSave");
  auto* left = new QVBoxLayout;
  left->addWidget(remote);
  left->addWidget(c.TreeView, 1);
  left->addLayout(Row({c.Button4, c.ButtonLoad, c.ButtonSave}));

  // Middle: "<<" and ">>".
  c.ButtonAdd = Button("ButtonAdd");
  c.ButtonAdd->setText(QStringLiteral("<<"));
  c.ButtonRemove = Button("ButtonRemove");
  c.ButtonRemove->setText(QStringLiteral(">>"));
  auto* middle = new QVBoxLayout;
  middle->addStretch();
  middle->addWidget(c.ButtonAdd);
  middle->addWidget(c.ButtonRemove);
  middle->addStretch();

  // Right: the operation, each item with its parameters in the rows below it, then the
  // program's buttons.
  c.EditorPanel = Named(new QGroupBox, "RadioGroup1");
  auto* panel = new QVBoxLayout(c.EditorPanel);
  c.Operations = new QButtonGroup(c.EditorPanel);
  const auto item = [&](int operation) {
    auto* button = new QRadioButton;
    c.Operations->addButton(button, operation);
    panel->addWidget(button);
  };

  item(0);
  c.WinNameCombo = Combo("WinNameCombo");
  c.WinNameCombo->setEditable(true);
  c.RunApplication = Button("RunApplication", false);
  // A long program name must not widen the window: its hint tells it whole.
  c.RunApplication->setMaximumWidth(ProgramNameWidth);
  panel->addLayout(Row({Named(new QLabel, "StaticText1"), c.WinNameCombo}, 1));
  panel->addLayout(
      Row({c.RunApplication, Button("ButtonSkins", false), Button("ButtonAllWindows", false)}));

  item(1);
  c.CommandName = Combo("CommandName");
  panel->addLayout(Row({c.CommandName, Button("ButtonAudio", false)}, 0));

  item(2);
  c.KeyName = Named(new KeyNameField(boxes, language), "KeyName");
  c.Button5 = Button("Button5");
  c.HotKeysEnable = Named(new QCheckBox, "HotKeysEnable");
  panel->addLayout(
      Row({c.KeyName, c.Button5, IconButton("BitBtn3", QStyle::SP_MessageBoxQuestion)}, 0));
  panel->addLayout(
      Row({c.HotKeysEnable, Button("ButtonKeys", false), Button("ButtonKeyHelp", false)}));

  item(3);
  c.MessName = Combo("MessName");
  c.MessName->addItems({QString(), QStringLiteral("WM_COMMAND"), QStringLiteral("WM_CLOSE")});
  c.MessWParam = ParameterBox("MessWParam");
  c.MessLParam = ParameterBox("MessLParam");
  panel->addLayout(Row({c.MessName, c.MessWParam, c.MessLParam}, 0));
  panel->addStretch();
  c.Operations->button(0)->setChecked(true);

  auto* right = new QVBoxLayout;
  right->addWidget(c.EditorPanel, 1);
  right->addLayout(Row({Button("BitBtn1", false), Button("BitBtn2", false),
                        IconButton("ButtonHelp", QStyle::SP_DialogHelpButton, false),
                        IconButton("Button3", QStyle::SP_MessageBoxInformation)}));

  // Bottom: the check boxes and the test.
  c.ButtonTest = Button("ButtonTest");
  c.CheckBox1 = Named(new QCheckBox, "CheckBox1");
  c.CheckBox2 = Named(new QCheckBox, "CheckBox2");
  c.ShowFullWindow = Named(new QCheckBox, "ShowFullWindow");
  QHBoxLayout* checks = Row({c.CheckBox1, c.CheckBox2, c.ShowFullWindow});
  checks->addWidget(c.ButtonTest);

  auto* work = new QHBoxLayout;
  work->addLayout(left, 1);
  work->addLayout(middle);
  work->addLayout(right, 1);
  auto* layout = new QVBoxLayout(form);
  layout->addLayout(top);
  layout->addLayout(work, 1);
  layout->addLayout(checks);
  return c;
}

}  // namespace quillon::gui

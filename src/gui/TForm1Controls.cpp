#include "gui/TForm1Controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include <limits>

#include "gui/ControlTexts.h"

namespace quillon::gui {

namespace {

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

QSpinBox* ParameterBox(const char* name) {
  auto* box = Named(new QSpinBox, name);
  box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
  return box;
}

}  // namespace

TForm1Controls BuildTForm1Controls(QWidget* form, MessageBoxes& boxes,
                                   const LanguageFlag& language) {
  TForm1Controls c{};

  // Top: the receiver, the program's buttons, the language.
  auto* top = new QHBoxLayout;
  top->addWidget(Named(new QLabel, "Label1"));
  c.Label2 = Named(new QLabel, "Label2");
  top->addWidget(c.Label2);
  auto* ports = Named(new QGroupBox, "COMName");
  auto* portRow = new QHBoxLayout(ports);
  c.COMName = new QButtonGroup(ports);
  for (int port = 1; port <= 4; ++port) {
    auto* item = new QRadioButton(QStringLiteral("COM%1").arg(port));
    c.COMName->addButton(item, port);
    portRow->addWidget(item);
  }
  top->addWidget(ports);
  top->addStretch();
  top->addWidget(Button("BitBtn1", false));
  top->addWidget(Button("BitBtn2", false));
  top->addWidget(IconButton("ButtonHelp", QStyle::SP_DialogHelpButton, false));
  top->addWidget(IconButton("Button3", QStyle::SP_MessageBoxInformation, false));
  c.Button6 = Button("Button6");
  c.Button2 = IconButton("Button2", QStyle::SP_DialogCloseButton);
  top->addWidget(c.Button6);
  top->addWidget(c.Button2);

  // Left: the remote type and the tree.
  auto* remote = Named(new QGroupBox, "GroupBox1");
  auto* remoteRow = new QHBoxLayout(remote);
  c.RmtCtrl = Named(new QComboBox, "RmtCtrl");
  c.RmtCtrl->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  remoteRow->addWidget(c.RmtCtrl, 1);
  remoteRow->addWidget(Button("NewRmtCtrl", false));
  c.TreeView = Named(new QTreeView, "TreeView");
  c.TreeView->header()->hide();
  c.TreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  c.TreeView->setMinimumSize(300, 360);
  auto* left = new QVBoxLayout;
  left->addWidget(remote);
  left->addWidget(c.TreeView, 1);

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

  // Right: the operation and its parameters.
  c.EditorPanel = Named(new QGroupBox, "RadioGroup1");
  auto* panel = new QGridLayout(c.EditorPanel);
  c.Operations = new QButtonGroup(c.EditorPanel);
  // Each operation's item, with its parameters in the rows below it.
  constexpr int ItemRows[] = {0, 2, 4, 7};
  for (int operation = 0; operation < 4; ++operation) {
    auto* item = new QRadioButton;
    c.Operations->addButton(item, operation);
    panel->addWidget(item, ItemRows[operation], 0, 1, 4);
  }
  c.Operations->button(0)->setChecked(true);

  c.WinNameCombo = Named(new QComboBox, "WinNameCombo");
  c.WinNameCombo->setEditable(true);
  c.RunApplication = Button("RunApplication", false);
  panel->addWidget(Named(new QLabel, "StaticText1"), 1, 0);
  panel->addWidget(c.WinNameCombo, 1, 1);
  panel->addWidget(c.RunApplication, 1, 2);
  panel->addWidget(Button("ButtonAllWindows", false), 1, 3);

  c.CommandName = Named(new QComboBox, "CommandName");
  panel->addWidget(c.CommandName, 3, 1);
  panel->addWidget(Button("ButtonAudio", false), 3, 2);
  panel->addWidget(Button("ButtonSkins", false), 3, 3);

  c.KeyName = Named(new KeyNameField(boxes, language), "KeyName");
  c.Button5 = Button("Button5");
  c.HotKeysEnable = Named(new QCheckBox, "HotKeysEnable");
  QPushButton* hint = IconButton("BitBtn3", QStyle::SP_MessageBoxQuestion);
  panel->addWidget(c.KeyName, 5, 1);
  panel->addWidget(c.Button5, 5, 2);
  panel->addWidget(hint, 5, 3);
  panel->addWidget(c.HotKeysEnable, 6, 1);
  panel->addWidget(Button("ButtonKeys", false), 6, 2);
  panel->addWidget(Button("ButtonKeyHelp", false), 6, 3);

  c.MessName = Named(new QComboBox, "MessName");
  c.MessName->addItems({QString(), QStringLiteral("WM_COMMAND"), QStringLiteral("WM_CLOSE")});
  c.MessWParam = ParameterBox("MessWParam");
  c.MessLParam = ParameterBox("MessLParam");
  panel->addWidget(c.MessName, 8, 1);
  panel->addWidget(c.MessWParam, 8, 2);
  panel->addWidget(c.MessLParam, 8, 3);

  // Bottom: the whole configuration, the test, the check boxes.
  c.Button4 = Button("Button4");
  c.ButtonLoad = Button("ButtonLoad");
  c.ButtonSave = Button("ButtonSave");
  c.ButtonTest = Button("ButtonTest");
  auto* files = new QHBoxLayout;
  for (QPushButton* button : {c.Button4, c.ButtonLoad, c.ButtonSave}) files->addWidget(button);
  files->addStretch();
  files->addWidget(c.ButtonTest);
  c.CheckBox1 = Named(new QCheckBox, "CheckBox1");
  c.CheckBox2 = Named(new QCheckBox, "CheckBox2");
  c.ShowFullWindow = Named(new QCheckBox, "ShowFullWindow");
  auto* checks = new QHBoxLayout;
  for (QCheckBox* box : {c.CheckBox1, c.CheckBox2, c.ShowFullWindow}) checks->addWidget(box);
  checks->addStretch();

  auto* work = new QHBoxLayout;
  work->addLayout(left, 1);
  work->addLayout(middle);
  work->addWidget(c.EditorPanel, 1);
  auto* layout = new QVBoxLayout(form);
  layout->addLayout(top);
  layout->addLayout(work, 1);
  layout->addLayout(files);
  layout->addLayout(checks);
  return c;
}

}  // namespace quillon::gui

#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeView>
#include <QWidget>

#include "core/actions/MessageBox.h"
#include "core/common/Language.h"
#include "gui/KeyNameField.h"

namespace quillon::gui {

// The controls of the configuration window, laid out and named as the system names them
// (objectName); their texts come from the language table. Controls whose work belongs to other
// windows or to the receivers are there but disabled until that work is wired.
struct TForm1Controls {
  QComboBox* RmtCtrl;
  QTreeView* TreeView;
  QButtonGroup* Operations;  // the items of RadioGroup1, ids in EditorOperation order
  QComboBox* WinNameCombo;
  QPushButton* RunApplication;
  QComboBox* CommandName;
  KeyNameField* KeyName;
  QComboBox* MessName;
  QSpinBox* MessWParam;
  QSpinBox* MessLParam;
  QPushButton* ButtonAdd;
  QPushButton* ButtonRemove;
  QPushButton* Button4;
  QPushButton* ButtonLoad;
  QPushButton* ButtonSave;
  QPushButton* ButtonTest;
  QPushButton* Button5;
  QPushButton* Button6;
  QPushButton* Button2;
  QCheckBox* CheckBox1;
  QCheckBox* CheckBox2;
  QCheckBox* ShowFullWindow;
  QCheckBox* HotKeysEnable;
  QLabel* Label2;
  QButtonGroup* COMName;  // COM1 to COM4, ids 1 to 4
  QRadioButton* ScreenSaverOn;
  QRadioButton* ScreenSaverOff;
  QWidget* EditorPanel;  // the panel the editor enables with its tree
};

TForm1Controls BuildTForm1Controls(QWidget* form, MessageBoxes& boxes,
                                   const LanguageFlag& language);

}  // namespace quillon::gui

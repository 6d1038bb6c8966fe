#pragma once

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include <array>

namespace quillon::gui {

// The controls of the learning window, laid out and named as the system names them
// (objectName). The two markers, LabelCheck and Label3, stand in the first column of `Panel`,
// beside the control they point at.
struct TMainControls {
  QLabel* Label1;         // "Receiver"
  QLabel* Label9;         // the receiver's model; a click starts it
  QGroupBox* Ports;       // holds the port choice
  QButtonGroup* COMName;  // the receiver's port, COM1 to COM4, ids 1 to 4
  QPushButton* ButtonStartLearn;
  QPushButton* Button3;  // "Clear All"
  QPushButton* ButtonOptions;
  QPushButton* ButtonHelp;
  QPushButton* ButtonExit;
  QLabel* Label2;  // "Button name:"
  QComboBox* ButtonName;
  QPushButton* ButtonOk;
  QPushButton* Button2;  // "Clear button"
  std::array<QLineEdit*, 5> Edits;
  QLabel* LabelCheck;
  QLabel* Label3;
  QTableWidget* SG;
  QGroupBox* GroupBox1;  // "Lock up"
  QTableWidget* SGError;
  QPlainTextEdit* Memo1;
  QGridLayout* Panel;
};

TMainControls BuildTMainControls(QWidget* form);

// Moves a marker of the panel beside `target`, a control of the panel's second column.
void PlaceBeside(TMainControls& controls, QLabel* marker, QWidget* target);

}  // namespace quillon::gui

#include "gui/TMainControls.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QStyle>
#include <QVBoxLayout>

#include "core/learning/LearnGrid.h"
#include "gui/ControlTexts.h"

namespace quillon::gui {

namespace {

QPushButton* IconButton(const char* name, QStyle::StandardPixmap icon) {
  auto* button = Named(new QPushButton, name);
  button->setIcon(button->style()->standardIcon(icon));
  return button;
}

QLabel* Marker(const char* name) {
  auto* marker = Named(new QLabel(QStringLiteral(">")), name);
  QFont font = marker->font();
  font.setBold(true);
  marker->setFont(font);
  QPalette palette = marker->palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  marker->setPalette(palette);
  return marker;
}

QTableWidget* Grid(const char* name) {
  auto* grid = Named(new QTableWidget(0, static_cast<int>(LearnGrid::Columns)), name);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->verticalHeader()->hide();
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  return grid;
}

// The rows of the panel.
constexpr int NameLabelRow = 0;
constexpr int NameRow = 1;
constexpr int RememberRow = 2;
constexpr int ClearButtonRow = 3;
constexpr int FirstBoxRow = 4;

}  // namespace

TMainControls BuildTMainControls(QWidget* form) {
  TMainControls c{};

  // Top: the receiver and its port, the options, help and exit.
  c.Label1 = Named(new QLabel, "Label1");
  c.Label9 = Named(new QLabel(QStringLiteral("PTK0.0")), "Label9");
  c.Label9->setCursor(Qt::PointingHandCursor);
  c.Ports = PortChoice(c.COMName);
  c.ButtonOptions = Named(new QPushButton, "ButtonOptions");
  c.ButtonHelp = IconButton("ButtonHelp", QStyle::SP_DialogHelpButton);
  c.ButtonHelp->setEnabled(false);
  c.ButtonExit = IconButton("ButtonExit", QStyle::SP_DialogCloseButton);
  auto* top = new QHBoxLayout;
  top->addWidget(c.Label1);
  top->addWidget(c.Label9);
  top->addWidget(c.Ports);
  top->addStretch();
  top->addWidget(c.ButtonOptions);
  top->addWidget(c.ButtonHelp);
  top->addWidget(c.ButtonExit);

  // Left: the start and clear buttons over the log.
  c.ButtonStartLearn = Named(new QPushButton, "ButtonStartLearn");
  c.Button3 = Named(new QPushButton, "Button3");
  c.Memo1 = Named(new QPlainTextEdit, "Memo1");
  c.Memo1->setReadOnly(true);
  c.Memo1->setMinimumSize(360, 300);
  auto* starts = new QHBoxLayout;
  starts->addWidget(c.ButtonStartLearn);
  starts->addWidget(c.Button3);
  auto* left = new QVBoxLayout;
  left->addLayout(starts);
  left->addWidget(c.Memo1, 1);

  // Right: the name, Remember, Clear button and the five code boxes, the markers beside them.
  c.Panel = new QGridLayout;
  c.Label2 = Named(new QLabel, "Label2");
  c.ButtonName = Named(new QComboBox, "ButtonName");
  c.ButtonName->setEditable(true);
  c.ButtonName->setInsertPolicy(QComboBox::NoInsert);
  c.ButtonName->setMinimumWidth(200);
  c.ButtonOk = Named(new QPushButton, "ButtonOk");
  c.Button2 = Named(new QPushButton, "Button2");
  c.Label3 = Marker("Label3");
  c.LabelCheck = Marker("LabelCheck");
  c.Panel->setColumnMinimumWidth(0, 16);
  c.Panel->addWidget(c.Label2, NameLabelRow, 1);
  c.Panel->addWidget(c.ButtonName, NameRow, 1);
  c.Panel->addWidget(c.Label3, NameRow, 0);
  c.Panel->addWidget(c.ButtonOk, RememberRow, 1);
  c.Panel->addWidget(c.Button2, ClearButtonRow, 1);
  static constexpr std::array<const char*, 5> BoxNames = {"Edit1", "Edit2", "Edit3", "Edit4",
                                                          "Edit5"};
  for (std::size_t box = 0; box < c.Edits.size(); ++box) {
    c.Edits[box] = Named(new QLineEdit, BoxNames[box]);
    c.Edits[box]->setReadOnly(true);
    c.Panel->addWidget(c.Edits[box], FirstBoxRow + static_cast<int>(box), 1);
  }
  c.Panel->addWidget(c.LabelCheck, FirstBoxRow, 0);
  c.Panel->setRowStretch(FirstBoxRow + static_cast<int>(c.Edits.size()), 1);

  // Bottom: the learned keys and the lock-up pairs.
  c.SG = Grid("SG");
  c.SGError = Grid("SGError");
  c.GroupBox1 = Named(new QGroupBox, "GroupBox1");
  auto* lockUps = new QVBoxLayout(c.GroupBox1);
  lockUps->addWidget(c.SGError);
  auto* grids = new QHBoxLayout;
  grids->addWidget(c.SG, 3);
  grids->addWidget(c.GroupBox1, 2);

  auto* work = new QHBoxLayout;
  work->addLayout(left, 1);
  work->addLayout(c.Panel);
  auto* layout = new QVBoxLayout(form);
  layout->addLayout(top);
  layout->addLayout(work, 1);
  layout->addLayout(grids, 1);
  return c;
}

void PlaceBeside(TMainControls& controls, QLabel* marker, QWidget* target) {
  const int index = controls.Panel->indexOf(target);
  if (index < 0) return;
  int row = 0;
  int column = 0;
  int rows = 0;
  int columns = 0;
  controls.Panel->getItemPosition(index, &row, &column, &rows, &columns);
  controls.Panel->removeWidget(marker);
  controls.Panel->addWidget(marker, row, 0);
}

}  // namespace quillon::gui

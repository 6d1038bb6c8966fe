#include "gui/TMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QSignalBlocker>

#include "core/learning/LearnSettings.h"
#include "core/shell/MainWindowTexts.h"
#include "gui/ControlTexts.h"
#include "gui/QtText.h"
#include "gui/TFormSave.h"

namespace quillon::gui {

namespace {

// The captions and hints of the learning window, keyed by the control's name. The start
// button's caption follows the procedure ("Start Learn" or "Save data").
inline constexpr auto LearningWindowTexts = std::to_array<ControlText>({
    {"Label1", TextProperty::Caption, {"Receiver", "Приемник"}},
    {"Label9", TextProperty::Hint, {"Restart Receiver", "Рестартиране на приемника"}},
    {"Button3", TextProperty::Caption, {"Clear All", "Изчисти всичко"}},
    {"ButtonExit", TextProperty::Hint, {"Exit", "Изход"}},
    {"ButtonHelp", TextProperty::Hint, {"Help", "Помощ"}},
    {"Label2", TextProperty::Caption, {"Button name:", "Бутон-име:"}},
    {"Button2", TextProperty::Caption, {"Clear button", "Изтрий данните за този бутон"}},
    {"ButtonOk", TextProperty::Caption, {"Remember", "Запомни"}},
    {"GroupBox1", TextProperty::Caption, {"Lock up", "Заключени"}},
    {"ButtonOptions", TextProperty::Caption, {"Options", "Настройки"}},
});

void ShowGrid(QTableWidget* table, const LearnGrid& grid) {
  if (grid.Rows.empty()) return;
  QStringList header;
  for (const std::string& cell : grid.Rows.front()) header.append(ToQString(cell));
  table->setHorizontalHeaderLabels(header);
  table->setRowCount(static_cast<int>(grid.Rows.size() - 1));
  for (std::size_t row = 1; row < grid.Rows.size(); ++row) {
    for (std::size_t column = 0; column < LearnGrid::Columns; ++column) {
      table->setItem(static_cast<int>(row - 1), static_cast<int>(column),
                     new QTableWidgetItem(ToQString(grid.Rows[row][column])));
    }
  }
}

}  // namespace

TMain::TMain(const LearningWindowContext& context)
    : The(context),
      Controls(BuildTMainControls(this)),
      Form3(std::make_unique<TForm3>()),
      Learning({The.Pipeline, The.Remote, The.Settings, The.Registry, The.Learn, The.Loop,
                The.Clock, *this, The.Language, The.RemoteFolder, The.Protocol,
                The.ReceiverOptions}) {
  setObjectName(QStringLiteral("TMain"));
  setWindowTitle(QStringLiteral("Tashvel"));
  Connect();
  Controls.Label9->setEnabled(The.Discovery != nullptr);
  Controls.ButtonOptions->setEnabled(false);
  ShowSelectedPort(The.Learn.ComPort);
  Learning.FormCreate();
  ApplyLearningWindowTexts();
}

void TMain::Connect() {
  TMainControls& c = Controls;
  connect(c.ButtonStartLearn, &QPushButton::clicked, this,
          [this] { Learning.ButtonStartLearnClick(); });
  connect(c.Button3, &QPushButton::clicked, this, [this] { Learning.Button3Click(); });
  connect(c.Button2, &QPushButton::clicked, this, [this] { Learning.Button2Click(); });
  connect(c.ButtonOk, &QPushButton::clicked, this, [this] { Learning.ButtonOkClick(); });
  connect(c.ButtonOptions, &QPushButton::clicked, this, [this] { Learning.ButtonOptionsClick(); });
  connect(c.ButtonExit, &QPushButton::clicked, this, &QWidget::close);
  connect(c.ButtonName->lineEdit(), &QLineEdit::textEdited, this,
          [this](const QString& text) { Learning.ButtonNameChange(ToUtf8(text)); });
  connect(c.ButtonName, &QComboBox::textActivated, this,
          [this](const QString& text) { Learning.ButtonNameChange(ToUtf8(text)); });
  c.ButtonName->lineEdit()->installEventFilter(this);
  c.Label9->installEventFilter(this);
  connect(c.COMName, &QButtonGroup::idClicked, this, [this](int port) {
    TakeLearningPort(The.Learn, port);
    if (OnComPortChosen) OnComPortChosen(port);
  });
  for (QAbstractButton* item : c.COMName->buttons()) item->installEventFilter(this);
  Form3->OnCancel = [this] { Learning.ProgressCancelClick(); };
}

void TMain::Open() {
  ApplyLearningWindowTexts();
  Controls.ButtonOptions->setEnabled(static_cast<bool>(OnOptions));
  // Reception stays off until learning starts: a press of the remote meanwhile starts it.
  The.Pipeline.ReceiveEnabled = false;
  show();
  raise();
  activateWindow();
}

void TMain::ShowSelectedPort(std::int32_t port) {
  TakeLearningPort(The.Learn, port);
  TickPort(*Controls.COMName, port);
}

void TMain::ShowReceiverModel(const std::string& model) {
  Controls.Label9->setText(ToQString(model));
}

void TMain::ApplyLearningWindowTexts() {
  const LanguageFlag language = The.Language;
  for (const ControlText& entry : LearningWindowTexts) ApplyControlText(*this, entry, language);
  SetStartLearnCaption(std::string(Text(
      Learning.State().SaveCaption ? LearningText::SaveData : LearningText::StartLearn, language)));
}

void TMain::Log(const std::string& text) { Controls.Memo1->appendPlainText(DisplayText(text)); }

void TMain::SetLogGreyed(bool greyed) {
  Controls.Memo1->viewport()->setBackgroundRole(greyed ? QPalette::Window : QPalette::Base);
}

void TMain::SetCodeBox(std::int32_t box, const std::string& text) {
  if (box < 1 || box > static_cast<std::int32_t>(Controls.Edits.size())) return;
  Controls.Edits[static_cast<std::size_t>(box - 1)]->setText(ToQString(text));
}

void TMain::PlaceLabelCheck(std::int32_t box) {
  if (box < 1 || box > static_cast<std::int32_t>(Controls.Edits.size())) return;
  PlaceBeside(Controls, Controls.LabelCheck, Controls.Edits[static_cast<std::size_t>(box - 1)]);
}

void TMain::ShowGrids(const LearnGrid& keys, const LearnGrid& lockUps) {
  ShowGrid(Controls.SG, keys);
  ShowGrid(Controls.SGError, lockUps);
}

void TMain::SetNameText(const std::string& text) {
  const QString shown = ToQString(text);
  if (Controls.ButtonName->currentText() != shown) Controls.ButtonName->setEditText(shown);
}

void TMain::SetNameList(const std::vector<std::string>& names) {
  const QSignalBlocker blocker(Controls.ButtonName);
  const QString text = Controls.ButtonName->currentText();
  Controls.ButtonName->clear();
  for (const std::string& name : names) Controls.ButtonName->addItem(ToQString(name));
  Controls.ButtonName->setEditText(text);
}

QWidget* TMain::Control(LearningControl control) const {
  switch (control) {
    case LearningControl::ButtonStartLearn:
      return Controls.ButtonStartLearn;
    case LearningControl::Button2:
      return Controls.Button2;
    case LearningControl::Button3:
      return Controls.Button3;
    case LearningControl::ButtonOk:
      return Controls.ButtonOk;
    case LearningControl::ButtonName:
      return Controls.ButtonName;
  }
  return Controls.ButtonStartLearn;
}

void TMain::SetControlEnabled(LearningControl control, bool enabled) {
  Control(control)->setEnabled(enabled);
}

void TMain::Focus(LearningControl control) {
  QWidget* widget = Control(control);
  if (widget->isEnabled()) widget->setFocus();
}

void TMain::SetStartLearnCaption(const std::string& caption) {
  Controls.ButtonStartLearn->setText(ToQString(caption));
}

void TMain::PlaceLabel3(Label3Place place) {
  PlaceBeside(Controls, Controls.Label3,
              place == Label3Place::NameBox ? static_cast<QWidget*>(Controls.ButtonName)
                                            : Controls.ButtonOk);
}

void TMain::SetLabel3Red(bool red) {
  QPalette palette = Controls.Label3->palette();
  palette.setColor(QPalette::WindowText, red ? Qt::red : Qt::yellow);
  Controls.Label3->setPalette(palette);
}

void TMain::ShowSaveDialog(SaveDialog& dialog) {
  TFormSave form(dialog, The.Language, this);
  form.exec();
}

void TMain::ShowOptionsDialog() {
  if (OnOptions) OnOptions();
}

void TMain::HandPortBack() {
  if (OnPortBack) OnPortBack();
}

void TMain::EndProgram() {
  if (OnEndProgram) {
    OnEndProgram();
  } else {
    close();
  }
}

void TMain::closeEvent(QCloseEvent* event) {
  Form3->hide();
  Learning.FormClose();
  event->accept();
  if (OnClosed) OnClosed();
}

bool TMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Controls.Label9) {
    if (event->type() == QEvent::MouseButtonRelease && The.Discovery != nullptr) {
      The.Discovery->StartFromLabel(The.HighestPort);
      return true;
    }
    return QWidget::eventFilter(watched, event);
  }
  if (IsItemOf(*Controls.COMName, watched)) {
    // Moving between the items keeps the focus in the choice; leaving it stores the port.
    if (event->type() == QEvent::FocusOut &&
        !IsItemOf(*Controls.COMName, QApplication::focusWidget())) {
      static_cast<void>(SaveLearningPort(The.Registry, The.Learn));  // silent, as settings are
    }
    return QWidget::eventFilter(watched, event);
  }
  if (NameBoxKey(event)) return true;
  if (event->type() == QEvent::FocusOut &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    Learning.ButtonNameExit();
  }
  return QWidget::eventFilter(watched, event);
}

// A key press in the name box: Enter moves on to "Remember"; a character the procedure refuses
// is dropped. True when the key is taken here.
bool TMain::NameBoxKey(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    Learning.ButtonNameEnter();
    return true;
  }
  const bool caretAtStart = Controls.ButtonName->lineEdit()->cursorPosition() == 0;
  for (const char32_t character : key->text().toUcs4()) {
    if (!Learning.ButtonNameKeyPress(character, caretAtStart)) return true;
  }
  return false;
}

}  // namespace quillon::gui

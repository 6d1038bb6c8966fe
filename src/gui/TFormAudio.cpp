#include "gui/TFormAudio.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/actions/AudioTexts.h"
#include "core/shell/Settings.h"
#include "gui/ControlTexts.h"
#include "gui/QtText.h"

namespace quillon::gui {

namespace {

QSlider* Position(const char* name) {
  auto* slider = Named(new QSlider(Qt::Horizontal), name);
  slider->setTracking(true);
  return slider;
}

QSpinBox* Step(const char* name, const IntegerSetting& setting) {
  auto* field = Named(new QSpinBox, name);
  field->setRange(setting.Min, setting.Max);
  return field;
}

// Refills the list only when its entries changed, so that showing a new position keeps its
// scrolling.
void Fill(QListWidget* list, const std::vector<std::string>& entries, std::int32_t selected) {
  const QSignalBlocker blocker(list);
  bool same = list->count() == static_cast<int>(entries.size());
  for (int row = 0; same && row < list->count(); ++row) {
    same = list->item(row)->text() == ToQString(entries[static_cast<std::size_t>(row)]);
  }
  if (!same) {
    list->clear();
    for (const std::string& entry : entries) list->addItem(ToQString(entry));
  }
  list->setCurrentRow(selected);
}

}  // namespace

std::unique_ptr<platform::MixerDevice> MixerChanges::Open(std::size_t index,
                                                          std::function<void()> onControlChange) {
  return Inner.Open(index, [this, changed = std::move(onControlChange)] {
    changed();
    if (AfterChange) AfterChange();
  });
}

TFormAudio::TFormAudio(const AudioWindowContext& context, QWidget* owner)
    : QWidget(owner),
      The(context),
      MixerList(Named(new QListWidget, "MixerList")),
      DestinationList(Named(new QListWidget, "DestinationList")),
      LineList(Named(new QListWidget, "LineList")),
      VolumeLabel(Named(new QLabel, "VolumeLabel")),
      VolumeValue(Named(new QLabel, "VolumeValue")),
      TrackBar(Position("TrackBar")),
      BalanceLabel(Named(new QLabel, "BalanceLabel")),
      BalanceMin(Named(new QLabel, "BalanceMin")),
      BalanceMax(Named(new QLabel, "BalanceMax")),
      TrackBar1(Position("TrackBar1")),
      CheckBox(Named(new QCheckBox, "CheckBox")),
      AudioStepLabel(Named(new QLabel, "AudioStepLabel")),
      AudioStep(Step("AudioStep", settings::VolumeStep)),
      BalStepLabel(Named(new QLabel, "BalStepLabel")),
      BalStep(Step("BalStep", settings::BalanceStep)),
      ButtonVolumeDown(Named(new QPushButton, "ButtonVolumeDown")),
      ButtonVolumeUp(Named(new QPushButton, "ButtonVolumeUp")),
      ButtonLeft(Named(new QPushButton, "ButtonLeft")),
      ButtonRight(Named(new QPushButton, "ButtonRight")),
      ButtonMute(Named(new QPushButton, "ButtonMute")),
      ButtonClose(Named(new QPushButton, "ButtonClose")),
      ButtonHelp(Named(new QPushButton, "ButtonHelp")) {
  setObjectName(QStringLiteral("TFormAudio"));
  setWindowFlag(Qt::Window);
  TrackBar->setRange(0, AudioModel::MaxVolume);
  ButtonHelp->setEnabled(false);  // the help file is not part of the program yet

  auto* lists = new QHBoxLayout;
  for (QListWidget* list : {MixerList, DestinationList, LineList}) lists->addWidget(list);

  auto* positions = new QGridLayout;
  positions->addWidget(VolumeLabel, 0, 0);
  positions->addWidget(TrackBar, 0, 1, 1, 3);
  positions->addWidget(VolumeValue, 0, 4);
  positions->addWidget(AudioStepLabel, 0, 5);
  positions->addWidget(AudioStep, 0, 6);
  positions->addWidget(ButtonVolumeDown, 1, 1);
  positions->addWidget(ButtonVolumeUp, 1, 3);
  positions->addWidget(BalanceLabel, 2, 0);
  positions->addWidget(TrackBar1, 2, 1, 1, 3);
  positions->addWidget(BalStepLabel, 2, 5);
  positions->addWidget(BalStep, 2, 6);
  positions->addWidget(BalanceMin, 3, 1);
  positions->addWidget(BalanceMax, 3, 3, Qt::AlignRight);
  positions->addWidget(ButtonLeft, 4, 1);
  positions->addWidget(ButtonRight, 4, 3);
  positions->addWidget(CheckBox, 5, 0);
  positions->addWidget(ButtonMute, 5, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ButtonHelp);
  buttons->addWidget(ButtonClose);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists);
  layout->addLayout(positions);
  layout->addLayout(buttons);

  owner->installEventFilter(this);
  The.Changes.AfterChange = [this] { ShowModel(); };
  ApplyTexts();
  ShowModel();
  Connect();
}

TFormAudio::~TFormAudio() { The.Changes.AfterChange = nullptr; }

void TFormAudio::Connect() {
  connect(MixerList, &QListWidget::currentRowChanged, this, [this](int row) {
    The.Model.SelectMixer(row);
    ShowModel();
  });
  connect(DestinationList, &QListWidget::currentRowChanged, this, [this](int row) {
    The.Model.SelectDestination(row);
    ShowModel();
  });
  connect(LineList, &QListWidget::currentRowChanged, this, [this](int row) {
    The.Model.SelectLine(row);
    ShowModel();
  });
  connect(TrackBar, &QSlider::valueChanged, this, [this](int position) {
    The.Model.VolumeChange(position);
    ShowModel();
  });
  connect(TrackBar1, &QSlider::valueChanged, this, [this](int position) {
    The.Model.BalanceChange(position);
    ShowModel();
  });
  connect(CheckBox, &QCheckBox::toggled, this, [this](bool checked) {
    The.Model.MuteChange(checked);
    ShowModel();
  });
  // Step settings that cannot be stored keep working for this run; failures are silent.
  connect(AudioStep, &QSpinBox::valueChanged, this, [this](int percent) {
    The.Model.SetAudioStep(percent);
    static_cast<void>(The.Model.SaveSteps());
  });
  connect(BalStep, &QSpinBox::valueChanged, this, [this](int percent) {
    The.Model.SetBalStep(percent);
    static_cast<void>(The.Model.SaveSteps());
  });
  connect(ButtonVolumeDown, &QPushButton::clicked, this,
          [this] { AddCommand(AudioAction::VolumeDown); });
  connect(ButtonVolumeUp, &QPushButton::clicked, this,
          [this] { AddCommand(AudioAction::VolumeUp); });
  connect(ButtonLeft, &QPushButton::clicked, this,
          [this] { AddCommand(AudioAction::BalanceLeft); });
  connect(ButtonRight, &QPushButton::clicked, this,
          [this] { AddCommand(AudioAction::BalanceRight); });
  connect(ButtonMute, &QPushButton::clicked, this, [this] { AddCommand(AudioAction::Mute); });
  connect(ButtonClose, &QPushButton::clicked, this, &QWidget::close);
}

void TFormAudio::Open() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
  The.Editor.RefreshEditor();
}

void TFormAudio::ApplyTexts() {
  const LanguageFlag language = The.Language;
  const auto text = [language](AudioText role) { return ToQString(Text(role, language)); };
  setWindowTitle(text(AudioText::Caption));
  VolumeLabel->setText(text(AudioText::VolumeLabel));
  BalanceLabel->setText(text(AudioText::BalanceLabel));
  AudioStepLabel->setText(text(AudioText::StepLabel));
  BalStepLabel->setText(text(AudioText::StepLabel));
  ButtonVolumeDown->setText(text(AudioText::VolumeDownButton));
  ButtonVolumeUp->setText(text(AudioText::VolumeUpButton));
  ButtonLeft->setText(text(AudioText::LeftButton));
  ButtonRight->setText(text(AudioText::RightButton));
  ButtonMute->setText(text(AudioText::MuteButton));
  ButtonClose->setText(text(AudioText::CloseButton));
  ButtonHelp->setText(text(AudioText::HelpButton));
}

void TFormAudio::ShowModel() {
  const AudioModel& model = The.Model;
  Fill(MixerList, model.MixerList(), model.MixerIndex());
  Fill(DestinationList, model.DestinationList(), model.DestinationIndex());
  Fill(LineList, model.LineList(), model.LineIndex());
  DestinationList->setEnabled(model.ListsEnabled());
  LineList->setEnabled(model.ListsEnabled());
  {
    const QSignalBlocker volume(TrackBar);
    const QSignalBlocker balance(TrackBar1);
    const QSignalBlocker mute(CheckBox);
    TrackBar->setValue(model.Volume());
    TrackBar1->setRange(model.BalanceMin(), model.BalanceMax());
    TrackBar1->setValue(model.Balance());
    CheckBox->setChecked(model.Mute());
  }
  VolumeValue->setText(QString::number(model.Volume()));
  BalanceMin->setText(QString::number(model.BalanceMin()));
  BalanceMax->setText(QString::number(model.BalanceMax()));
  TrackBar1->setToolTip(QString::number(model.Balance()));
  TrackBar->setEnabled(model.VolumeEnabled());
  TrackBar1->setEnabled(model.BalanceEnabled());
  for (QPushButton* button : {ButtonVolumeDown, ButtonVolumeUp, ButtonLeft, ButtonRight}) {
    button->setEnabled(model.VolumeButtonsEnabled());
  }
  CheckBox->setEnabled(model.MuteEnabled());
  ButtonMute->setEnabled(model.MuteEnabled());
  const QSignalBlocker audioStep(AudioStep);
  const QSignalBlocker balStep(BalStep);
  AudioStep->setValue(model.AudioStep());
  BalStep->setValue(model.BalStep());
}

std::string TFormAudio::ChosenCommand() const {
  return Chosen ? The.Model.CommandParameter(*Chosen) : std::string();
}

void TFormAudio::AddCommand(AudioAction action) {
  Chosen = action;
  The.Editor.ChooseCommand();
  EditorPanel panel = The.Editor.EditorState();
  panel.AudioWindowShowing = true;
  panel.AudioCommand = ChosenCommand();
  The.Editor.ConfigurationEditor().ButtonAddClick(panel);
  The.Editor.RefreshEditor();
}

void TFormAudio::showEvent(QShowEvent* event) {
  NoMixerTold = false;
  QWidget::showEvent(event);
}

void TFormAudio::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  The.Editor.RefreshEditor();
}

void TFormAudio::changeEvent(QEvent* event) {
  // Told once each time the window is shown: the box itself would activate the window again.
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && The.Model.NoMixerPresent() &&
      !NoMixerTold) {
    NoMixerTold = true;
    ShowMessageBox(The.Boxes, The.Language, Text(AudioText::NoMixer, The.Language),
                   MessageButtons::Ok, MessageKind::Error);
  }
  QWidget::changeEvent(event);
}

bool TFormAudio::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Hide && isVisible()) close();
  return QWidget::eventFilter(watched, event);
}

}  // namespace quillon::gui

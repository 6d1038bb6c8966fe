#include "gui/TFormOptions.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>

#include "core/shell/OptionsTexts.h"
#include "core/shell/Settings.h"
#include "gui/ControlTexts.h"
#include "gui/QtText.h"

namespace quillon::gui {

namespace {

QFormLayout* AddGroup(QGridLayout* grid, const char* name, int row, int column) {
  auto* group = new QGroupBox;
  group->setObjectName(QLatin1String(name));
  grid->addWidget(group, row, column);
  return new QFormLayout(group);
}

QPushButton* AddButton(QHBoxLayout* row, const char* name) {
  auto* button = new QPushButton;
  button->setObjectName(QLatin1String(name));
  row->addWidget(button);
  return button;
}

}  // namespace

TFormOptions::TFormOptions(const OptionsWindowContext& context, QWidget* parent)
    : QDialog(parent), The(context) {
  setObjectName(QStringLiteral("TFormOptions"));
  Build();
  Connect();
  ShowOptions(The.System.Settings);
  ApplyTexts();
}

void TFormOptions::Build() {
  auto* grid = new QGridLayout;
  QFormLayout* remote = AddGroup(grid, "GroupRemoteControl", 0, 0);
  AddSpin(remote, "SignalLen", settings::SignalLength, &Options::SignalLength,
          MarkedOption::SignalLength);
  AddSpin(remote, "ImpulseNum", settings::ImpulseNumber, &Options::ImpulseNumber,
          MarkedOption::ImpulseNumber);
  AddSpin(AddGroup(grid, "GroupSendKey", 1, 0), "KeyTime", settings::KeysDelay, &Options::KeysDelay,
          std::nullopt);
  AddSpin(AddGroup(grid, "GroupMouseMotion", 2, 0), "MouseStep", settings::MouseStep,
          &Options::MouseStep, MarkedOption::MouseStep);
  QFormLayout* application = AddGroup(grid, "GroupApplication", 0, 1);
  AddSpin(application, "StartApplicationValue", settings::StartApplication,
          &Options::StartApplication, MarkedOption::StartApplication);
  AddSpin(application, "StartWindowsValue", settings::StartWindows, &Options::StartWindows,
          MarkedOption::StartWindows);
  QFormLayout* skins = AddGroup(grid, "GroupSkins", 1, 1);
  AddSpin(skins, "StartTimeValue", settings::StartTime, &Options::StartTime,
          MarkedOption::StartTime);
  AddSpin(skins, "CloseTimeValue", settings::CloseTime, &Options::CloseTime,
          MarkedOption::CloseTime);
  QFormLayout* errors = AddGroup(grid, "GroupErrorCorrection", 2, 1);
  AddSpin(errors, "StartError", settings::StartError, &Options::StartError,
          MarkedOption::StartError);
  AddSpin(errors, "MaxValueError", settings::MaxValueError, &Options::MaxValueError,
          MarkedOption::MaxValueError);
  AddSpin(errors, "ImpDiv", settings::ImpulseDiv, &Options::ImpulseDiv, MarkedOption::ImpulseDiv);
  AddSpin(errors, "DiffImp", settings::DifferentImp, &Options::DifferentImp,
          MarkedOption::DifferentImp);

  QFormLayout* additional = AddGroup(grid, "GroupAdditional", 3, 0);
  CheckBox1 = AddCheck(additional, "CheckBox1", &Options::ShowHint);
  ShowTime = AddSpin(additional, "ShowTime", settings::ShowHintTime, &Options::ShowHintTime,
                     MarkedOption::ShowHintTime);
  AddCheck(additional, "ShowUnknownButton", &Options::ShowUnknownButton);
  AddCheck(additional, "LookforPTK", &Options::LookForPTK);
  AddCheck(additional, "CPUSpeedWarning", &Options::CPUSpeedWarning);

  auto* buttons = new QHBoxLayout;
  connect(AddButton(buttons, "ButtonDefault"), &QPushButton::clicked, this, [this] {
    Options defaults = Values();
    SetDefaults(defaults);
    ShowOptions(defaults);
  });
  buttons->addStretch();
  QPushButton* ok = AddButton(buttons, "ButtonOk");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { Accept(); });
  connect(AddButton(buttons, "ButtonCancel"), &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
}

QSpinBox* TFormOptions::AddSpin(QFormLayout* group, const char* name, const IntegerSetting& setting,
                                std::int32_t Options::*value, std::optional<MarkedOption> mark) {
  auto* spin = new QSpinBox;
  spin->setObjectName(QLatin1String(name));
  spin->setRange(setting.Min, setting.Max);
  auto* label = new QLabel;
  label->setObjectName(QStringLiteral("Label") + QLatin1String(name));
  label->setBuddy(spin);
  group->addRow(label, spin);
  Spins.push_back({spin, label, value, mark});
  return spin;
}

QCheckBox* TFormOptions::AddCheck(QFormLayout* group, const char* name, bool Options::*value) {
  auto* box = new QCheckBox;
  box->setObjectName(QLatin1String(name));
  group->addRow(box);
  Checks.push_back({box, value});
  return box;
}

void TFormOptions::Connect() {
  for (const SpinOption& option : Spins) {
    connect(option.Spin, &QSpinBox::valueChanged, this, [this] { UpdateMarks(); });
  }
  connect(CheckBox1, &QCheckBox::toggled, this, [this] { UpdateShowTime(); });
}

void TFormOptions::ApplyTexts() {
  const LanguageFlag language = The.Language;
  for (const ControlText& entry : OptionsWindowTexts) ApplyControlText(*this, entry, language);
}

void TFormOptions::ShowOptions(const Options& options) {
  for (const SpinOption& option : Spins) option.Spin->setValue(options.*option.Value);
  for (const CheckOption& option : Checks) option.Box->setChecked(options.*option.Value);
  UpdateMarks();
  UpdateShowTime();
}

Options TFormOptions::Values() const {
  Options options;
  for (const SpinOption& option : Spins) options.*option.Value = option.Spin->value();
  for (const CheckOption& option : Checks) options.*option.Value = option.Box->isChecked();
  return options;
}

bool TFormOptions::Open() {
  ReceivePipeline& pipeline = The.System.Pipeline;
  const bool receiving = pipeline.ReceiveEnabled;
  pipeline.ReceiveEnabled = false;
  The.System.Settings = ReadOptions(The.System.Registry);
  ShowOptions(The.System.Settings);
  ApplyTexts();
  const bool accepted = exec() == QDialog::Accepted;
  pipeline.ReceiveEnabled = receiving;
  return accepted;
}

void TFormOptions::UpdateMarks() {
  const Options options = Values();
  for (const SpinOption& option : Spins) {
    if (!option.Mark) continue;
    QPalette palette = option.Label->palette();
    palette.setColor(QPalette::WindowText, IsChanged(options, *option.Mark) ? Qt::red : Qt::black);
    option.Label->setPalette(palette);
  }
}

void TFormOptions::UpdateShowTime() {
  const bool enabled = CheckBox1->isChecked();
  ShowTime->setEnabled(enabled);
  for (const SpinOption& option : Spins) {
    if (option.Spin == ShowTime) option.Label->setEnabled(enabled);
  }
}

// The options are written silently: a store that cannot be opened keeps the old values.
void TFormOptions::Accept() {
  The.System.Settings = Values();
  static_cast<void>(WriteOptions(The.System.Registry, The.System.Settings));
  ApplyOptions(The.System);
  accept();
}

}  // namespace quillon::gui

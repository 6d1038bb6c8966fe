#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>

#include <optional>
#include <vector>

#include "core/common/Language.h"
#include "core/shell/MainWindowActivation.h"
#include "core/shell/Options.h"

namespace quillon::gui {

// What the options dialog works with; everything outlives the dialog.
struct OptionsWindowContext {
  RunningSystem System;  // its Settings are the options every part of the program reads
  const LanguageFlag& Language;
};

// The options dialog: one spin control per numeric option, with the range of its setting, and
// the four yes/no options. A spin value's label is red while it differs from its default. OK
// writes the options and hands them on to the running system; "Default" only resets the
// controls.
class TFormOptions : public QDialog {
 public:
  explicit TFormOptions(const OptionsWindowContext& context, QWidget* parent = nullptr);

  // BitBtn2 of the configuration window and ButtonOptions of the learning window: reads the
  // options afresh and shows them with reception off until the dialog closes. Returns whether
  // OK was pressed.
  bool Open();

  // The captions and hints in the current language.
  void ApplyTexts();

 private:
  // A spin control, its label and the option it edits; `Mark` is empty for KeysDelay.
  struct SpinOption {
    QSpinBox* Spin;
    QLabel* Label;
    std::int32_t Options::*Value;
    std::optional<MarkedOption> Mark;
  };
  struct CheckOption {
    QCheckBox* Box;
    bool Options::*Value;
  };

  // The controls set from `options`, and the values the controls hold.
  void ShowOptions(const Options& options);
  Options Values() const;
  void Build();
  void Connect();
  QSpinBox* AddSpin(QFormLayout* group, const char* name, const IntegerSetting& setting,
                    std::int32_t Options::*value, std::optional<MarkedOption> mark);
  QCheckBox* AddCheck(QFormLayout* group, const char* name, bool Options::*value);
  void UpdateMarks();
  void UpdateShowTime();
  void Accept();

  OptionsWindowContext The;
  std::vector<SpinOption> Spins;
  std::vector<CheckOption> Checks;
  QCheckBox* CheckBox1 = nullptr;
  QSpinBox* ShowTime = nullptr;
};

}  // namespace quillon::gui

#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/actions/AudioModel.h"
#include "core/actions/MessageBox.h"
#include "core/common/Language.h"
#include "core/config/ConfigEditor.h"
#include "platform/Mixer.h"

namespace quillon::gui {

// The configuration window as the audio window uses it: "<<" there adds an audio command to the
// selected key under 'Command'.
class AudioCommandEditor {
 public:
  virtual ~AudioCommandEditor() = default;
  // The operation becomes 'Command'.
  virtual void ChooseCommand() = 0;
  virtual EditorPanel EditorState() const = 0;
  virtual ConfigEditor& ConfigurationEditor() = 0;
  virtual void RefreshEditor() = 0;
};

// The machine's mixer as the audio model opens it, telling the audio window after the model has
// taken a change notification, so that the window shows the line as reloaded.
class MixerChanges : public platform::Mixer {
 public:
  explicit MixerChanges(platform::Mixer& mixer) : Inner(mixer) {}

  std::size_t DeviceCount() const override { return Inner.DeviceCount(); }
  std::unique_ptr<platform::MixerDevice> Open(std::size_t index,
                                              std::function<void()> onControlChange) override;

  std::function<void()> AfterChange;

 private:
  platform::Mixer& Inner;
};

struct AudioWindowContext {
  AudioModel& Model;
  MixerChanges& Changes;
  AudioCommandEditor& Editor;
  MessageBoxes& Boxes;
  const LanguageFlag& Language;
};

// The audio window ("Audio commands"): the mixer, destination and line lists, the volume
// (TrackBar) and balance (TrackBar1) positions, the mute box (CheckBox) and the step fields
// over the audio model, and the "<<" buttons that add audio commands to the configuration.
// Every change goes to the model, which writes the mixer; the window shows what the model holds.
// It lives for the whole run and closes when its owner, the configuration window, hides. With
// no mixer in the system it says so when it becomes active, once each time it is shown.
class TFormAudio : public QWidget {
 public:
  TFormAudio(const AudioWindowContext& context, QWidget* owner);
  TFormAudio(const TFormAudio&) = delete;
  TFormAudio& operator=(const TFormAudio&) = delete;
  ~TFormAudio() override;

  // ButtonAudio of the configuration window: shows the window and brings it to the front.
  void Open();
  // The captions in the current language.
  void ApplyTexts();
  // The audio command of the lists and the action last picked with a "<<" button, empty before
  // the first pick.
  std::string ChosenCommand() const;

 protected:
  void showEvent(QShowEvent* event) override;
  // "<<" of the configuration window adds audio commands only while this window shows.
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Connect();
  void ShowModel();
  void AddCommand(AudioAction action);

  AudioWindowContext The;
  std::optional<AudioAction> Chosen;
  QListWidget* MixerList;
  QListWidget* DestinationList;
  QListWidget* LineList;
  QLabel* VolumeLabel;
  QLabel* VolumeValue;
  QSlider* TrackBar;
  QLabel* BalanceLabel;
  QLabel* BalanceMin;
  QLabel* BalanceMax;
  QSlider* TrackBar1;
  QCheckBox* CheckBox;
  QLabel* AudioStepLabel;
  QSpinBox* AudioStep;
  QLabel* BalStepLabel;
  QSpinBox* BalStep;
  QPushButton* ButtonVolumeDown;
  QPushButton* ButtonVolumeUp;
  QPushButton* ButtonLeft;
  QPushButton* ButtonRight;
  QPushButton* ButtonMute;
  QPushButton* ButtonClose;
  QPushButton* ButtonHelp;
  bool NoMixerTold = false;
};

}  // namespace quillon::gui

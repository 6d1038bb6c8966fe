#pragma once

#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/learning/LearningProcedure.h"
#include "core/receiver/ReceiverDiscovery.h"
#include "core/shell/HintDisplay.h"
#include "gui/TForm3.h"
#include "gui/TMainControls.h"

namespace quillon::gui {

// What the learning window works with; everything outlives the window. The receiver's parts
// are there when the program has a microcontroller receiver and a receiver search.
struct LearningWindowContext {
  ReceivePipeline& Pipeline;
  CurrentRemote& Remote;
  Options& Settings;
  platform::Registry& Registry;
  LearnSettings& Learn;
  platform::EventLoop& Loop;
  const platform::Clock& Clock;
  const LanguageFlag& Language;
  std::filesystem::path RemoteFolder;
  MessageBoxes& Boxes;
  HintDisplay& Hints;
  PtkProtocol* Protocol = nullptr;
  PtkOptions* ReceiverOptions = nullptr;
  ReceiverDiscovery* Discovery = nullptr;  // the receiver label starts the receiver with it
  std::int32_t HighestPort = 0;            // the top of the receiver search
};

// The learning window: it renders what the learning procedure tells it and forwards every
// click, key and text change of its controls to the procedure, which holds every rule.
class TMain : public QWidget, public LearningView {
 public:
  explicit TMain(const LearningWindowContext& context);

  // The procedure, whose consumers the receive pipeline and the receiver's protocol take.
  LearningProcedure& Procedure() { return Learning; }

  // Shows the window with reception off, so that a press of any button of the remote starts
  // learning.
  void Open();
  // The captions and hints of the window in the current language.
  void ApplyLearningWindowTexts();

  // The receiver side: the port choice (COMName) shows the receiver's port and hands the
  // user's choice on; with a microcontroller receiver the choice is fixed. The receiver label
  // (Label9) shows the receiver's model. The choice is the learning side's stored port, written
  // when the choice loses the focus and when the window closes.
  void ShowSelectedPort(std::int32_t port);
  void PtkReceiverInUse() { Controls.Ports->setEnabled(false); }
  void ShowReceiverModel(const std::string& model);
  std::function<void(std::int32_t)> OnComPortChosen;

  // The options dialog (ButtonOptions is enabled only with one), the window closed, the port
  // handed back to the configuration window, and the end of the program.
  std::function<void()> OnOptions;
  std::function<void()> OnClosed;
  std::function<void()> OnPortBack;
  std::function<void()> OnEndProgram;

  // LearningView
  void ShowHint(const std::string& text) override { The.Hints.IRShowHint(text); }
  void Log(const std::string& text) override;
  void ClearLog() override { Controls.Memo1->clear(); }
  void SetLogGreyed(bool greyed) override;
  void SetWindowEnabled(bool enabled) override { setEnabled(enabled); }
  bool WindowShowing() const override { return isVisible(); }
  void SetCodeBox(std::int32_t box, const std::string& text) override;
  void PlaceLabelCheck(std::int32_t box) override;
  void SetLabelCheckVisible(bool visible) override { Controls.LabelCheck->setVisible(visible); }
  void ShowGrids(const LearnGrid& keys, const LearnGrid& lockUps) override;
  void SetNameText(const std::string& text) override;
  void SetNameList(const std::vector<std::string>& names) override;
  void SetControlEnabled(LearningControl control, bool enabled) override;
  void Focus(LearningControl control) override;
  void SetStartLearnCaption(const std::string& caption) override;
  void PlaceLabel3(Label3Place place) override;
  void SetLabel3Visible(bool visible) override { Controls.Label3->setVisible(visible); }
  void SetLabel3Red(bool red) override;
  MessageAnswer ShowMessage(const MessageBoxContent& box) override { return The.Boxes.Show(box); }
  void ShowSaveDialog(SaveDialog& dialog) override;
  void ShowOptionsDialog() override;
  void ShowProgressDialog(const ProgressDialog& dialog) override {
    Form3->ShowProgressDialog(dialog);
  }
  void CloseProgressDialog() override { Form3->CloseProgressDialog(); }
  void HandPortBack() override;
  void EndProgram() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Connect();
  bool NameBoxKey(QEvent* event);
  QWidget* Control(LearningControl control) const;

  LearningWindowContext The;
  TMainControls Controls;
  std::unique_ptr<TForm3> Form3;  // a window of its own: it stays usable while this one is not
  LearningProcedure Learning;
};

}  // namespace quillon::gui

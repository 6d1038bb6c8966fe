#pragma once

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/learning/LearningView.h"
#include "core/learning/ProgressDialog.h"
#include "core/learning/SaveDialog.h"

namespace quillon::test {

// A learning window that keeps what it was told to show, answers message boxes from a script
// (then with the first button) and fills the save dialog with scripted names.
class FakeLearningView : public LearningView {
 public:
  void ShowHint(const std::string& text) override { Hints.push_back(text); }
  void Log(const std::string& text) override { Lines.push_back(text); }
  void ClearLog() override { Lines.clear(); }
  void SetLogGreyed(bool greyed) override { LogGreyed = greyed; }
  void SetWindowEnabled(bool enabled) override { WindowEnabled = enabled; }
  bool WindowShowing() const override { return Showing; }
  void SetCodeBox(std::int32_t box, const std::string& text) override {
    Boxes.at(static_cast<std::size_t>(box - 1)) = text;
  }
  void PlaceLabelCheck(std::int32_t box) override { LabelCheckBox = box; }
  void SetLabelCheckVisible(bool visible) override { LabelCheckVisible = visible; }
  void ShowGrids(const LearnGrid& keys, const LearnGrid& lockUps) override {
    Keys = keys;
    LockUps = lockUps;
  }
  void SetNameText(const std::string& text) override { NameText = text; }
  void SetNameList(const std::vector<std::string>& names) override { NameList = names; }
  void SetControlEnabled(LearningControl control, bool enabled) override {
    Enabled[control] = enabled;
    if (OnEnable) OnEnable(control, enabled);
  }
  void Focus(LearningControl control) override { Focused = control; }
  void SetStartLearnCaption(const std::string& caption) override { StartCaption = caption; }
  void PlaceLabel3(Label3Place place) override { Label3At = place; }
  void SetLabel3Visible(bool visible) override { Label3Visible = visible; }
  void SetLabel3Red(bool red) override { Label3Red = red; }
  MessageAnswer ShowMessage(const MessageBoxContent& box) override {
    Messages.push_back(box.Text);
    if (Answers.empty()) return box.Buttons.front().Answer;
    const MessageAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  void ShowSaveDialog(SaveDialog& dialog) override {
    dialog.FormActivate();
    dialog.RemCtrlTypeChange(Producer);
    dialog.RemCtrlModelChange(Model);
    if (PressSave) {
      dialog.Button1Click();
    } else {
      dialog.Button2Click();
    }
  }
  void ShowOptionsDialog() override {
    if (InOptions) InOptions();
  }
  void ShowProgressDialog(const ProgressDialog& dialog) override { ProgressLines = dialog.Lines; }
  void CloseProgressDialog() override { ++ProgressCloses; }
  void HandPortBack() override { ++PortHandedBack; }
  void EndProgram() override { Ended = true; }

  // The last `n` log lines.
  std::vector<std::string> Tail(std::size_t n) const {
    return {Lines.end() - static_cast<std::ptrdiff_t>(std::min(n, Lines.size())), Lines.end()};
  }

  std::vector<std::string> Hints;
  std::vector<std::string> Lines;
  bool LogGreyed = false;
  bool WindowEnabled = true;
  bool Showing = true;
  std::array<std::string, 5> Boxes;
  std::int32_t LabelCheckBox = 0;
  bool LabelCheckVisible = false;
  LearnGrid Keys;
  LearnGrid LockUps;
  std::string NameText;
  std::vector<std::string> NameList;
  std::map<LearningControl, bool> Enabled;
  std::function<void(LearningControl, bool)> OnEnable;
  LearningControl Focused = LearningControl::ButtonStartLearn;
  std::string StartCaption;
  Label3Place Label3At = Label3Place::NameBox;
  bool Label3Visible = false;
  bool Label3Red = false;
  std::vector<std::string> Messages;
  std::deque<MessageAnswer> Answers;
  std::string Producer = "Acme";
  std::string Model = "TV1";
  bool PressSave = true;
  std::function<void()> InOptions;
  std::vector<std::string> ProgressLines;
  std::int32_t ProgressCloses = 0;
  std::int32_t PortHandedBack = 0;
  bool Ended = false;
};

}  // namespace quillon::test

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/actions/MessageBox.h"
#include "core/learning/LearnGrid.h"
#include "core/learning/ProgressDialog.h"
#include "core/receiver/ReceiverView.h"

namespace quillon {

class SaveDialog;

// The controls of the learning window that the procedure enables, disables or focuses.
enum class LearningControl : std::uint8_t {
  ButtonStartLearn,  // "Start Learn", during training "Save data"
  Button2,           // "Clear button"
  Button3,           // "Clear All"
  ButtonOk,          // "Remember"
  ButtonName,        // the name box
};

// Where the blinking ">" (Label3) points.
enum class Label3Place : std::uint8_t { NameBox, Remember };

// The learning window (TMain) as the learning procedure drives it. The window renders what it
// is told and forwards every click, key and text change to the procedure; it decides nothing.
// Texts arrive in the language of the moment. From ReceiverView: ShowHint (hint window) and
// Log (one line appended to the log, Memo1). From ProgressDialogView: the progress dialog
// (TForm3) while the receiver changes its data form.
class LearningView : public ReceiverView, public ProgressDialogView {
 public:
  virtual void ClearLog() = 0;
  virtual void SetLogGreyed(bool greyed) = 0;
  virtual void SetWindowEnabled(bool enabled) = 0;
  // Whether the window is on the screen (it exists, hidden, for the whole run).
  virtual bool WindowShowing() const = 0;

  // Edit1..Edit5 (`box` 1 to 5), and LabelCheck, the ">" beside the box that takes the next
  // code.
  virtual void SetCodeBox(std::int32_t box, const std::string& text) = 0;
  virtual void PlaceLabelCheck(std::int32_t box) = 0;
  virtual void SetLabelCheckVisible(bool visible) = 0;

  // The grid of learned keys (SG) and the grid of lock-up pairs (SGError), whole.
  virtual void ShowGrids(const LearnGrid& keys, const LearnGrid& lockUps) = 0;

  // The name box's text and its drop-down list of remembered names.
  virtual void SetNameText(const std::string& text) = 0;
  virtual void SetNameList(const std::vector<std::string>& names) = 0;

  virtual void SetControlEnabled(LearningControl control, bool enabled) = 0;
  virtual void Focus(LearningControl control) = 0;
  virtual void SetStartLearnCaption(const std::string& caption) = 0;

  // Label3: where it stands, whether it shows, and its colour (red, else yellow).
  virtual void PlaceLabel3(Label3Place place) = 0;
  virtual void SetLabel3Visible(bool visible) = 0;
  virtual void SetLabel3Red(bool red) = 0;

  // A modal message box; gives the button pressed.
  virtual MessageAnswer ShowMessage(const MessageBoxContent& box) = 0;
  // The save dialog (TFormSave), modal: the window shows it over `dialog`, forwards its events
  // and returns when the dialog has its result.
  virtual void ShowSaveDialog(SaveDialog& dialog) = 0;
  // The options dialog, modal.
  virtual void ShowOptionsDialog() = 0;

  // The serial port goes back to the configuration window when the learning window closes.
  virtual void HandPortBack() = 0;
  // A receiver that cannot be brought back leaves nothing to do: the program ends.
  virtual void EndProgram() = 0;
};

}  // namespace quillon

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/common/Language.h"
#include "core/learning/SaveDialog.h"

namespace quillon {

enum class ProgressDialogText { Caption, Cancel, PressButtonOne, Count };

inline constexpr TextTable<ProgressDialogText> ProgressDialogTexts = {{
    {"Change data type", "Промяна на данните за ДУ"},
    {"Cancel", "Откажи"},
    {"Please press the button №1 five(5) times running", "Натиснете бутон №1 пет(5) пъти"},
}};

inline std::string_view Text(ProgressDialogText role, LanguageFlag language) {
  return Text(ProgressDialogTexts, role, language);
}

// The progress dialog (TForm3), shown while a microcontroller receiver is retuned to the
// remote being learned: it asks for five presses of button 1, and the receiver side appends
// its progress lines. It closes with Cancel when the receiver cannot be retuned, or when the
// user cancels.
class ProgressDialog {
 public:
  // Caption and button in `language`, the memo holding the request alone.
  void FormShow(LanguageFlag language);
  void AddLine(std::string line) { Lines.push_back(std::move(line)); }
  void Close(DialogResult result);

  std::string Caption;
  std::string ButtonCaption;
  std::vector<std::string> Lines;
  bool Showing = false;
  DialogResult Result = DialogResult::None;
};

// Where the progress dialog shows: again after each change of the model, until closed.
class ProgressDialogView {
 public:
  virtual ~ProgressDialogView() = default;
  virtual void ShowProgressDialog(const ProgressDialog& dialog) = 0;
  virtual void CloseProgressDialog() = 0;
};

}  // namespace quillon

#include "core/learning/ProgressDialog.h"

namespace quillon {

void ProgressDialog::FormShow(LanguageFlag language) {
  Caption = Text(ProgressDialogText::Caption, language);
  ButtonCaption = Text(ProgressDialogText::Cancel, language);
  Lines = {std::string(Text(ProgressDialogText::PressButtonOne, language))};
  Showing = true;
  Result = DialogResult::None;
}

void ProgressDialog::Close(DialogResult result) {
  Showing = false;
  Result = result;
}

}  // namespace quillon

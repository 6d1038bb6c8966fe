#include "core/learning/SaveDialog.h"

#include <algorithm>
#include <array>

#include "core/common/Utf8.h"

namespace quillon {

namespace {

// The refused set as the dialog lists it, the apostrophe twice; U+0406 is the Windows-1251
// byte 0xB2.
constexpr std::array<char32_t, 32> Refused = {
    U',', U'.', U'\u0406', U'!', U'@', U'#', U'$', U'%',  U'^', U'&',  U'*',
    U'(', U')', U'+',      U'=', U'{', U'}', U'[', U']',  U';', U'\'', U'\'',
    U':', U'"', U'?',      U'/', U'>', U'<', U'|', U'\\', U'~', U'`'};

std::string Filtered(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const char32_t c = NextCodePoint(text, i);
    if (SaveDialog::KeyAccepted(c)) out.append(text.substr(start, i - start));
  }
  return out;
}

}  // namespace

bool SaveDialog::KeyAccepted(char32_t character) {
  return std::find(Refused.begin(), Refused.end(), character) == Refused.end();
}

void SaveDialog::FormActivate() {
  UpdateSave();
  Focused = SaveDialogControl::RemCtrlType;
}

void SaveDialog::RemCtrlTypeChange(std::string_view text) {
  Producer = Filtered(text);
  UpdateSave();
}

void SaveDialog::RemCtrlModelChange(std::string_view text) {
  Model = Filtered(text);
  UpdateSave();
}

void SaveDialog::EnterPressed(SaveDialogControl control) {
  if (control == SaveDialogControl::RemCtrlType) {
    Focused = SaveDialogControl::RemCtrlModel;
  } else if (control == SaveDialogControl::RemCtrlModel && SaveEnabled) {
    Focused = SaveDialogControl::Button1;
  }
}

void SaveDialog::Button1Click() {
  if (SaveEnabled) Result = DialogResult::Ok;
}

void SaveDialog::Button2Click() { Result = DialogResult::Cancel; }

}  // namespace quillon

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/common/Language.h"

namespace quillon {

// How a modal dialog of the learning side closed.
enum class DialogResult : std::uint8_t { None = 0, Ok = 1, Cancel = 2 };

enum class SaveDialogText { Caption, ProducerLabel, ModelLabel, Save, Cancel, Count };

inline constexpr TextTable<SaveDialogText> SaveDialogTexts = {{
    {"Data save", "Запис на данни"},
    {"Remote control producer", "Модел на дистанционното"},
    {"Remote control type", "Тип на дистанционното"},
    {"Save", "Запиши"},
    {"Cancel", "Откажи"},
}};

inline std::string_view Text(SaveDialogText role, LanguageFlag language) {
  return Text(SaveDialogTexts, role, language);
}

// The controls of the save dialog that can hold the focus.
enum class SaveDialogControl : std::uint8_t {
  RemCtrlType,   // the producer
  RemCtrlModel,  // the type (model)
  Button1,       // "Save"
  Button2,       // "Cancel"
};

// The save dialog (TFormSave): the producer and the type under which a learned remote is
// stored. Both become parts of the file name (joined by "_"), so the characters that a file
// name cannot hold, and punctuation, are refused in either field.
class SaveDialog {
 public:
  // A typed character that either field takes: blank, underscore, hyphen, letters and digits
  // pass; 32 characters of punctuation do not.
  static bool KeyAccepted(char32_t character);

  // Focus on the producer; Save enabled exactly when both texts are non-empty.
  void FormActivate();
  // A change of either text, typed or pasted: refused characters are dropped.
  void RemCtrlTypeChange(std::string_view text);
  void RemCtrlModelChange(std::string_view text);
  // Enter in the producer moves on to the type; Enter in the type moves on to Save when Save
  // can take the focus.
  void EnterPressed(SaveDialogControl control);
  void Button1Click();  // Save: closes with Ok
  void Button2Click();  // Cancel, or the window closed: closes with Cancel

  std::string Producer;
  std::string Model;
  bool SaveEnabled = false;
  SaveDialogControl Focused = SaveDialogControl::RemCtrlType;
  DialogResult Result = DialogResult::None;

 private:
  void UpdateSave() { SaveEnabled = !Producer.empty() && !Model.empty(); }
};

}  // namespace quillon

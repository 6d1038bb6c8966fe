#pragma once

#include "core/common/Language.h"

namespace quillon {

// The messages of the remote data file and of the learned-data analyses.
enum class LearningText {
  ErrorInFile,
  RestartProgram,
  FileExistsPrefix,
  FileExistsOverwrite,
  GridKeyNumber,
  GridName,
  GridData,
  PressOfTen,
  SpecialRepeatCode,
  NoSpecialRepeatCode,
  Count
};

inline constexpr TextTable<LearningText> LearningTexts = {{
    {"Error in file: ", "Грешка във файла: "},
    {" \r\n\r\nRestart Quillon !", " \r\n\r\nРестартирайте Quillon !"},
    {"File ", "Файлът "},
    {" exists!\r\nOverwrite?", " съществува!\r\nЗапис върху него?"},
    {"Key №", "Бутон-№"},
    {"Name", "Име"},
    {"Data[", "Данни["},
    {" at 10", " от 10"},
    {"This is a remote with special repeat code.",
     "Това дистанционно има специален код за повторение."},
    {"This is a remote with no special repeat code.",
     "Това дистанционно няма специален код за повторение."},
}};

inline std::string_view Text(LearningText role, LanguageFlag language) {
  return Text(LearningTexts, role, language);
}

}  // namespace quillon

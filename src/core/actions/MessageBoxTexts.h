#pragma once

#include "core/common/Language.h"

namespace quillon {

// Message box captions, then button captions.
enum class MessageBoxText {
  Warning,
  Error,
  Information,
  Confirmation,
  Ok,
  Cancel,
  Abort,
  Retry,
  Ignore,
  Yes,
  No,
  Count
};

inline constexpr TextTable<MessageBoxText> MessageBoxTexts = {{
    {"Warning", "Внимание"},
    {"Error", "Грешка"},
    {"Information", "Информация"},
    {"Confirmation", "Въпрос"},
    {"OK", "Да"},
    {"Cancel", "Откажи"},
    {"Abort", "Прекъсни"},
    {"Retry", "Повтори"},
    {"Ignore", "Игнорирай"},
    {"Yes", "Да"},
    {"No", "Не"},
}};

inline std::string_view Text(MessageBoxText role, LanguageFlag language) {
  return Text(MessageBoxTexts, role, language);
}

}  // namespace quillon

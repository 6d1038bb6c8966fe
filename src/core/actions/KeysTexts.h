#pragma once

#include "core/common/Language.h"

namespace quillon {

// The key-combination window, its new-page dialog and their messages.
enum class KeysText {
  Caption,
  Button4,  // delete page
  Button3,  // new page
  Button1,  // close
  ButtonHelp,
  HotKeysEnable,
  Form1Connect,
  Form1ConnectHint,
  CommandHeader,
  HotKeyHeader,
  NewPageCaption,
  NewPageLabel,
  NewPageOk,
  NewPageCancel,
  NameExists,
  DeleteQuestion,
  DeleteQuestionEnd,
  InvalidName,
  CannotRead,
  CannotReadEnd,
  CannotSave,
  CannotDelete,
  Count
};

inline constexpr TextTable<KeysText> KeysTexts = {{
    {"Keys", "Клавишни комбинации"},
    {"Remove", "Изтрий"},
    {"Add", "Добави"},
    {"Close", "Затвори"},
    {"Help", "Помощ"},
    {"Hot Keys enabled", "Разрешени клавишни комбинации"},
    {"Sens with \"Send keys\" field", "Свързан с поле \"Клавиш\""},
    {"",
     "ВНИМАНИЕ: При включване на тази функция\r\nвсяка промяна в поле \"Клавиш\" се "
     "отразява\r\nи в текущото поле на \"Клавишни комбинации\""},
    {"Command", "Команда"},
    {"Hot Key", "Бърз клавиш"},
    {"New page", "Нова"},
    {"Name of the new page", "Име на новата страница"},
    {"OK", "OK"},
    {"Cancel", "Откажи"},
    {"This name already exists! Enter new name.", "Това име вече се използва! Въведете ново име."},
    {"Delete \"", "Изтриване на \""},
    {"\"?", "\"?"},
    {"A page name cannot be empty or hold any of these characters: ",
     "Името на страницата не може да е празно или да съдържа някой от тези знаци: "},
    {"The file \"", "Файлът \""},
    {"\" cannot be read. The page is shown empty, and the file is not saved over.",
     "\" не може да бъде прочетен. Страницата е празна и файлът няма да бъде презаписан."},
    {"The page cannot be saved: ", "Страницата не може да бъде записана: "},
    {"The page cannot be deleted: ", "Страницата не може да бъде изтрита: "},
}};

inline std::string_view Text(KeysText role, LanguageFlag language) {
  return Text(KeysTexts, role, language);
}

}  // namespace quillon

#pragma once

#include <string>
#include <string_view>

#include "core/common/Language.h"

namespace quillon {

// The configuration editor's messages and the captions it gives the load and save dialogs.
enum class EditorText {
  RemoteTypeNotSelected,
  NewGroupNotValid,
  FileExistsOverwrite,
  LoadCaption,
  LoadButton,
  CancelButton,
  DeleteButton,
  SaveCaption,
  SaveAsLabel,
  SaveButton,
  DeleteQuestion,
  QuestionMark,
  AlreadyHasFunction,
  BracketsInWindowName,
  InvalidConfigurationName,
  UseAudioButtons,
  OldDataFound,
  Count
};

inline constexpr TextTable<EditorText> EditorTexts = {{
    {"\"Remote control type\" not selected!", "Няма избрано ДУ!"},
    {"'New group' is not valid application !",
     "Няма присвоено приложение на конфигурацията! Кликнете върху 'New group', след това "
     "натиснете бутон 'Приложение' и изберете приложението, което ще управлявате с ДУ"},
    {"File exists!\r\nOverwrite?", "Файлът съществува!\r\nПрезапис?"},
    {"Load configuration", "Зареждане на конфигурация"},
    {"Load", "Зареди"},
    {"Cancel", "Откажи"},
    {"Delete", "Изтрий"},
    {"Save Configuration", "Запис на конфигурацията"},
    {"Save As: ", "Запиши като:"},
    {"Save", "Запис"},
    {"Delete ", "Изтриване на "},
    {"?", "?"},
    // Dispatch runs only the first child of a key, so a second function would never run.
    {"This button already has a function; only the first one is executed.\r\nAdd another one?",
     "Този бутон вече има функция; изпълнява се само първата.\r\nДа се добави ли още една?"},
    // Brackets, TABs and line breaks would split the node text or the file's lines.
    {"A window name or application path may not contain \"[\", \"]\", a TAB or a line "
     "break:\r\n",
     "Името на прозореца и пътят на приложението не могат да съдържат \"[\", \"]\", табулация "
     "или нов ред:\r\n"},
    {"A configuration name may not be empty or contain any of these characters:\r\n",
     "Името на конфигурацията не може да е празно или да съдържа някой от тези знаци:\r\n"},
    {"Please use the buttons from the window \"Audio commands\".",
     "Моля използвайте бутоните от прозореца \"Звук команди\"."},
    // After the name of a remote whose file an older version wrote (see OldDataQuestion).
    {": Old data found! Correcting data?",
     "\" не са пълни!\r\nЖелаете ли да се извърши корекция на данните?"},
}};

inline std::string_view Text(EditorText role, LanguageFlag language) {
  return Text(EditorTexts, role, language);
}

// Whether to correct the file of the remote `name`, which an older version wrote.
inline std::string OldDataQuestion(std::string_view name, LanguageFlag language) {
  const std::string before = language == Bulgarian ? "Данните за ДУ \"" : "";
  return before + std::string(name) + std::string(Text(EditorText::OldDataFound, language));
}

}  // namespace quillon

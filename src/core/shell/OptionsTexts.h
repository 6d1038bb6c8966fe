#pragma once

#include <array>

#include "core/shell/MainWindowTexts.h"

namespace quillon {

// The captions and hints of the options dialog (TFormOptions), keyed by the control's name.
// The dialog applies the whole table each time it opens, so it shows the current language.
// Each spin control's label is named after it with the prefix "Label".
inline constexpr auto OptionsWindowTexts = std::to_array<ControlText>({
    {"TFormOptions", TextProperty::Caption, {"Options", "Настройки"}},
    {"GroupRemoteControl", TextProperty::Caption, {"Remote Control", "Дистанционно"}},
    {"LabelSignalLen", TextProperty::Caption, {"Signal length (ms)", "Дължина на сигнала (ms)"}},
    {"LabelImpulseNum",
     TextProperty::Caption,
     {"Maximum number of impulses", "Максимален брой импулси"}},
    {"GroupSendKey", TextProperty::Caption, {"SendKey function", "Функция \"Клавиши\""}},
    {"LabelKeyTime",
     TextProperty::Caption,
     {"Time between two keys (ms)", "Време между два клавиша (ms)"}},
    {"GroupMouseMotion",
     TextProperty::Caption,
     {"MouseMotion function", "Функция \"Движение на мишката\""}},
    {"LabelMouseStep", TextProperty::Caption, {"Mouse step time (ms)", "Време за стъпка (ms)"}},
    {"GroupApplication", TextProperty::Caption, {"Application", "Приложение"}},
    {"LabelStartApplicationValue",
     TextProperty::Caption,
     {"Start of the application (s)", "Стартиране на приложението (s)"}},
    {"LabelStartWindowsValue",
     TextProperty::Caption,
     {"Initialising of its windows (s)", "Инициализиране на прозорците (s)"}},
    {"GroupSkins", TextProperty::Caption, {"Skins", "Skin-ове"}},
    {"LabelStartTimeValue",
     TextProperty::Caption,
     {"Wait after start (s)", "Изчакване след стартиране (s)"}},
    {"LabelCloseTimeValue",
     TextProperty::Caption,
     {"Wait after close (s)", "Изчакване след затваряне (s)"}},
    {"GroupErrorCorrection", TextProperty::Caption, {"Error Correction", "Корекция на грешки"}},
    {"LabelStartError",
     TextProperty::Caption,
     {"Difference between two values (%)", "Разлика между две стойности (%)"}},
    {"LabelMaxValueError",
     TextProperty::Caption,
     {"Deviation from the maximum value (%)", "Отклонение от максималната стойност (%)"}},
    {"LabelImpDiv",
     TextProperty::Caption,
     {"Deviation of the number of impulses (+/-)", "Отклонение в броя на импулсите (+/-)"}},
    {"LabelDiffImp",
     TextProperty::Caption,
     {"Different kinds of impulses", "Брой различни импулси"}},
    {"DiffImp",
     TextProperty::Hint,
     {"2 -> 0101010101\n3 -> 0120120120\n4 -> 0123012301",
      "2 -> 0101010101\n3 -> 0120120120\n4 -> 0123012301"}},
    {"GroupAdditional", TextProperty::Caption, {"Additional settings", "Допълнителни настройки"}},
    {"CheckBox1",
     TextProperty::Caption,
     {"Show the current function", "Показване на текущата функция"}},
    {"LabelShowTime",
     TextProperty::Caption,
     {"Hide the function window after (s)", "Скриване на прозореца след (s)"}},
    {"ShowUnknownButton",
     TextProperty::Caption,
     {"Show unknown buttons", "Показване на непознати бутони"}},
    {"LookforPTK",
     TextProperty::Caption,
     {"Look for PTK/PTW receiver at start", "Търсене на PTK/PTW приемник при старт"}},
    {"CPUSpeedWarning",
     TextProperty::Caption,
     {"CPU low speed warning", "Предупреждение за ниска скорост на CPU"}},
    {"ButtonDefault", TextProperty::Caption, {"Default", "По подразбиране"}},
    {"ButtonOk", TextProperty::Caption, {"OK", "OK"}},
    {"ButtonCancel", TextProperty::Caption, {"Cancel", "Откажи"}},
});

}  // namespace quillon

#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/common/Language.h"

namespace quillon {

// The captions and hints of the configuration window (TForm1), keyed by the control's name.
// Switching the language applies the whole table again, so every text follows the flag.

enum class TextProperty : std::uint8_t { Caption, Hint };

struct ControlText {
  std::string_view Control;
  TextProperty Property = TextProperty::Caption;
  BilingualText Text;
};

inline constexpr auto MainWindowTexts = std::to_array<ControlText>({
    {"Label1", TextProperty::Caption, {"Receiver", "Приемник"}},
    {"Label2", TextProperty::Hint, {"Restart Receiver", "Рестартиране на приемника"}},
    {"CheckBox1", TextProperty::Caption, {"Run at StartUp", "Стартиране при включване"}},
    {"CheckBox2",
     TextProperty::Caption,
     {"Double click - execute function", "Двойно кликване - изпълнение на функцията"}},
    {"ShowFullWindow", TextProperty::Caption, {"Show full window", "Покажи целия прозорец"}},
    // The Bulgarian hint is the advice for small screens; the English one says the same.
    {"ShowFullWindow",
     TextProperty::Hint,
     {"If your screen is smaller than 1024/768\nit is better to turn this off",
      "Ако резолюцията на монитора ви е\r\nпо-малка от 1024/768 е препоръчително\r\nда изключите "
      "тази функция"}},
    {"BitBtn2", TextProperty::Caption, {"Options", "Настройки"}},
    {"ScreenSaver", TextProperty::Caption, {"Screen Saver", "Скрийнсейвър"}},
    {"ScreenSaverOn", TextProperty::Caption, {"On", "Вкл."}},
    {"ScreenSaverOff", TextProperty::Caption, {"Off", "Изкл."}},
    {"ButtonKeyHelp", TextProperty::Caption, {"Help", "Помощ"}},
    {"ButtonTest", TextProperty::Caption, {"I am ready !", "Готов съм !"}},
    {"GroupBox1", TextProperty::Caption, {"Remote Control type", "Тип на дистанционното"}},
    {"NewRmtCtrl", TextProperty::Caption, {"New", "Ново"}},
    {"BitBtn1", TextProperty::Caption, {"Run Application", "Старт на приложението"}},
    {"RadioGroup1", TextProperty::Caption, {"Operation", "Действие"}},
    {"StaticText1", TextProperty::Caption, {"Window Name", "Име на прозореца"}},
    {"Button5", TextProperty::Caption, {"Clear", "Изтрий"}},
    {"HotKeysEnable", TextProperty::Caption, {"Hot Keys enabled", "Разрешени клав. комб."}},
    {"HotKeysEnable",
     TextProperty::Hint,
     {"Shift + Left mouse button", "Shift + Ляв бутон на мишката"}},
    {"Button4", TextProperty::Caption, {"New", "Нова"}},
    {"ButtonLoad", TextProperty::Caption, {"Load", "Зареди"}},
    {"ButtonSave", TextProperty::Caption, {"Save", "Запиши"}},
    {"ButtonAllWindows", TextProperty::Caption, {"Show all windows", "Покажи всички прозорци"}},
    {"RunApplication", TextProperty::Caption, {"Application", "Приложение"}},
    {"OpenDialog", TextProperty::Caption, {"Open", "Избор на приложение"}},
    // While the skins probe waits for its second press; "Skins" otherwise.
    {"ButtonSkins", TextProperty::Caption, {"Complete !", "Завърши !"}},
    {"Button2", TextProperty::Hint, {"Exit", "Изход"}},
    {"Button3", TextProperty::Hint, {"About", "Инфо..."}},
    {"ButtonHelp", TextProperty::Hint, {"Help", "Помощ"}},
    {"ButtonKeys", TextProperty::Caption, {"Keys", "Клавишни комбинации"}},
    {"ButtonAudio", TextProperty::Caption, {"   Audio commands", "Звук команди"}},
    {"BitBtn3",
     TextProperty::Hint,
     {"BackSpace -> delete spec.key [xxxxx]\nShift+BackSpace -> delete 1 symbol",
      "BackSpace -> изтрива спец.клавиш [xxxxx]\nShift+BackSpace -> изтрива 1 символ"}},
    {"Button6", TextProperty::Hint, {"English/Bulgarian", "Английски/Български"}},
    // The language the button switches to.
    {"Button6", TextProperty::Caption, {"БГ", "EN"}},
    // The Windows program set these hints in Bulgarian only, keeping its design-time English.
    {"Button4",
     TextProperty::Hint,
     {"Create a new configuration\nfor this remote",
      "Създаване на нова конфигурация\nза това дистанционно"}},
    {"ButtonLoad",
     TextProperty::Hint,
     {"Load a ready configuration", "Зареждане на готова конфигурация"}},
    {"ButtonSave",
     TextProperty::Hint,
     {"Save this configuration", "Записване на тази конфигурация"}},
    {"ButtonAdd",
     TextProperty::Hint,
     {"Assigns the function chosen on the right\nto the button marked on the left",
      "Присвоява избраната от дясното поле функция\nна маркирания в лявото поле бутон"}},
    {"ButtonRemove",
     TextProperty::Hint,
     {"Deletes the function of the marked button", "Изтрива функцията на маркирания бутон"}},
});

// The items of RadioGroup1, in the order of EditorOperation.
inline constexpr std::array<BilingualText, 4> OperationTexts = {{
    {"Group key", "Групов бутон"},
    {"Command", "Команда"},
    {"Send key(s)", "Клавиш(и)"},
    {"Win message", "Съобщение"},
}};

// "Run Application" (BitBtn1) could not start the program named after this text.
inline constexpr BilingualText ApplicationNotStarted = {
    "The application could not be started:\r\n", "Приложението не може да бъде стартирано:\r\n"};

// The about box (Button3), after the program's name and version: the receivers it works with.
inline constexpr BilingualText AboutReceivers = {
    "Receivers: PTK1.0 and PTW1.0 (microcontroller receivers on a serial port), PTS (an infrared "
    "demodulator on a serial port's carrier line), kernel infrared devices (mode2), recorded "
    "captures.",
    "Приемници: PTK1.0 и PTW1.0 (приемници с микроконтролер на сериен порт), PTS (инфрачервен "
    "демодулатор на линията за носеща честота на сериен порт), инфрачервени устройства на ядрото "
    "(mode2), записани сигнали."};

// The text of one control, empty when the table has none.
inline std::string_view MainWindowText(std::string_view control, TextProperty property,
                                       LanguageFlag language) {
  for (const ControlText& entry : MainWindowTexts) {
    if (entry.Control == control && entry.Property == property) return entry.Text(language);
  }
  return {};
}

}  // namespace quillon

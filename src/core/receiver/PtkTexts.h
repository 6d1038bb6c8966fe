#pragma once

#include "core/common/Language.h"

namespace quillon {

// What the microcontroller receiver side shows in the hint window and the learning log: the
// start-up of the receiver, its replies, and the measurements of its hold-button data.
enum class PtkText {
  InitializingPleaseWait,
  StopReceiverDone,
  StopReceiverError,
  ErrorRestarting,
  ReceiverReady,
  StartReceiverDone,
  StartReceiverError,
  ReceiverNotFound,
  NewD,
  Delay,
  NewT,
  ReceiverOk,
  GetMyVersion,
  Stop,
  StopReceiver,
  Start,
  StartReceiver,
  GetSerialNumber,
  NewRxOk,
  InitializingReceiver,
  GetReceiverVersion,
  StartingReceiver,
  StoppingReceiver,
  ReceiverVersion,
  Error,
  SendNewT,
  Found,
  AtCom,
  ErrorReportIgnored,
  LineDropped,
  PortProblem,
  MeasureKeyTime,
  RecommendedKeyTime,
  MaxKeyTime,
  KeyTime,
  Milliseconds,
  Count
};

inline constexpr TextTable<PtkText> PtkTexts = {{
    {"Initializing... Please wait", "Инициализация... Моля, изчакайте"},
    {"STOP receiver", "СТОП на приемника"},
    {"Error: STOP receiver", "Грешка: СТОП на приемника"},
    {"Error occuring... Restarting...", "Възникна грешка... Рестартиране..."},
    {"Receiver... OK.", "Приемник... OK."},
    {"START receiver", "СТАРТ на приемника"},
    {"Error: START receiver", "Грешка: СТАРТ на приемника"},
    {"Receiver not found!", "Приемникът не е открит!"},
    {"New D = ", "Ново D = "},
    {"Delay = ", "Закъснение = "},
    {"New T = ", "Ново T = "},
    {"Receiver... Ok", "Приемник... Ok"},
    {"Get My Version", "Запитване за версията"},
    {"STOP", "СТОП"},
    {"STOP Receiver", "Приемникът е спрян"},
    {"START", "СТАРТ"},
    {"START Receiver", "Приемникът е стартиран"},
    {"Get Ser.Num", "Запитване за серийния номер"},
    {"NEW RX ... Ok", "Отговор от приемника ... Ok"},
    {"Initializing the receiver", "Инициализиране на приемника"},
    {"Get receiver version...", "Запитване за версията на приемника..."},
    {"Starting receiver...", "Стартиране на приемника..."},
    {"Stoping receiver...", "Спиране на приемника..."},
    {"Receiver Version: ", "Версия на приемника: "},
    {"ERROR", "ГРЕШКА"},
    {"SEND NEW T", "ИЗПРАЩАНЕ НА НОВО T"},
    {"Found...  ", "Открит...  "},
    {" at COM", " на COM"},
    {"Incomplete error report of the receiver ignored",
     "Непълният доклад за грешка от приемника е пренебрегнат"},
    {"Receiver data without a line end dropped, bytes: ",
     "Пренебрегнати данни от приемника без край на реда, байта: "},
    {"Serial port: ", "Сериен порт: "},
    {"Measure \"Time between two keys\"...", "Изчисляване на \"Време между два клавиша\"..."},
    {"Recommended \"Time between two keys\" = ", "Препоръчително \"Време между два клавиша\" = "},
    {"Max \"Time between two keys\" = ", "Максималното \"Време между два клавиша\" = "},
    {"\"Time between two keys\" = ", "\"Време между два клавиша\" = "},
    {"ms", "мс"},
}};

inline std::string_view Text(PtkText role, LanguageFlag language) {
  return Text(PtkTexts, role, language);
}

}  // namespace quillon

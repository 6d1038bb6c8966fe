#pragma once

#include <string_view>

#include "core/common/Language.h"

namespace quillon {

// The messages of the remote data file and of the learned-data analyses, then what the
// learning window shows: its log, its message boxes and the caption of its start button.
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
  StartLearn,
  SaveData,
  ConsistencyFailed,
  BeginSignalLengthTest,
  PressButtonOneFiveTimes,
  ValuesNotDiscovered,
  TryAgainOrLeave,
  EndSignalLengthTest,
  ReceiverInitializing,
  ErrorInReceiver,
  ReceiverReadyOk,
  BeginHoldButtonTest,
  PressAndHoldButtonOne,
  OrPressFiveTimes,
  OrPressTenTimes,
  EndHoldButtonTest,
  ReleaseTheButton,
  BeginningOfTraining,
  TrainingPressButtonOne,
  ReleaseAndPressAgain,
  HoldData,
  EnterButtonName,
  LengthOutsideWindow,
  MissingButtonName,
  FirstSymbolBlank,
  NameExistsPrefix,
  NameExistsSuffix,
  ButtonRemembered,
  ButtonRememberedSuffix,
  PressButtonNumber,
  PressButtonNumberSuffix,
  ClearButtonData,
  PressThisButtonAgain,
  Restarting,
  RestartReceiver,
  End,
  KeyTableFull,
  LockUpTableFull,
  DataNotSaved,
  OfferTemplatesOnly,
  TemplatesOnlyTraining,
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
    {"Start Learn", "Започни обучението"},
    {"Save data", "Запиши данните"},
    {"<< Failed to get a consistent signal. Please try again. >>",
     "<< Променете продължителността на натискане на бутона. >>"},
    {"*****Begin of test: DETERMINE SIGNAL LENGTH*****", "*****Начало на тест: ИНИЦИАЛИЗАЦИЯ*****"},
    {"Please press the button №1 five(5) times running", "Натиснете бутон №1 пет(5) пъти."},
    {"The values cannot be discovered.",
     "Инициализационните стойности не могат да бъдат установени"},
    {"Try again or leave the program. ",
     "Възможно е компютъра да е много бавен. Опитайте отново или излезте от програмата. "},
    {"*****End of test: Determine signal length*****", "*****Край на тест: Инициализация*****"},
    {"Receiver initializing... Please wait...", "Инициализация на приемника... Моля почакайте..."},
    {"Error in receiver!\r\nRestart Quillon.",
     "Грешка при инициализация на приемника!\r\nСтартирайте Quillon отново."},
    {"Receiver...Ok", "Приемник...Ok"},
    {"*****Begin of test: HOLD BUTTON*****", "*****Начало на тест: ЗАДЪРЖАН БУТОН*****"},
    {"Please press and hold down the button №1", "Натиснете бутон №1 и задръжте."},
    // The Bulgarian log gives one advice for both kinds of receiver.
    {"or press the button №1 five(5) times running.",
     "Ако не се получават данни, натискайте многократно бутона."},
    {"or press the button №1 ten(10) times running.",
     "Ако не се получават данни, натискайте многократно бутона."},
    {"*****End test: Hold button*****", "*****Край на тест: Задържан бутон*****"},
    {"!!! RELEASE THE BUTTON !!!", "!!! ПУСНЕТЕ БУТОНА !!!"},
    {"***** BEGINNING OF TRAINING*****", "*****НАЧАЛО НА ОБУЧЕНИЕТО*****"},
    {"Please press the button №1 five(5) times running", "Натиснете бутон №1 пет(5) пъти"},
    {"<<Release the button and press it again.>>", "<<Пуснете бутона и го натиснете отново>>"},
    {"Hold data", "Повторение на данните"},
    {"Enter the button name and press \"Remember\"",
     "Въведете име на бутона и натиснете \"Запомни\""},
    {"<< Failed to get a consistent signal. Please try again. >>",
     "<< Броят на данните не е достатъчен. >>"},
    {"Missing Button name!", "Липсва име на бутона!"},
    {"Error: First symbol is \" \"", "Грешка: Първия символ е \" \""},
    {"Button name \"", "Бутон с име \""},
    {"\" exists!\r\nChange the button name!", "\" съществува!\r\nПроменете името на бутона!"},
    {"Button №", "Бутон №"},
    {"  ...Ok", "  е запомнен"},
    {"Please press the button №", "Натиснете бутон №"},
    {" five(5) times running", "  пет(5) пъти"},
    {"Clear button data ...Ok", "Данните за този бутон са изтрити!"},
    // The Bulgarian log names no number here.
    {"Please press the button №", "Натиснете отново бутона пет(5) пъти."},
    {"Restarting...", "Рестартиране..."},
    {"Restart receiver...", "Рестартиране на приемника..."},
    {"*****END*****", "*****КРАЙ НА ОБУЧЕНИЕТО*****"},
    {"A remote holds at most 98 buttons.\r\nSave the data.",
     "Едно дистанционно побира най-много 98 бутона.\r\nЗапишете данните."},
    {"The codes of this button collide with a learned button,\r\nand a remote holds at most "
     "49 such pairs.\r\nClear this button.",
     "Кодовете на този бутон съвпадат с обучен бутон,\r\nа едно дистанционно побира най-много "
     "49 такива двойки.\r\nИзтрийте данните за този бутон."},
    {"The data are not saved: ", "Данните не са записани: "},
    {"The signal-length test cannot find the frame of this remote.\r\nContinue with button "
     "templates only?\r\nThe saved remote is then recognised by its templates.",
     "Тестът за дължина на сигнала не може да открие рамката на това дистанционно.\r\n"
     "Да продължи ли обучението само с шаблони на бутоните?\r\nЗаписаното дистанционно "
     "тогава се разпознава по шаблоните си."},
    {"*****Training with button templates only*****",
     "*****Обучение само с шаблони на бутоните*****"},
}};

inline std::string_view Text(LearningText role, LanguageFlag language) {
  return Text(LearningTexts, role, language);
}

// The Bulgarian log explains every third rejection by the length window in two more lines;
// the English log has no such lines. Each is completed with the figures named in it.
inline constexpr std::string_view CurrentLengthIs = "<< Текущия брой на импулсите е: ";
inline constexpr std::string_view AtNominalLength = ", при номинален брой: ";
inline constexpr std::string_view TryOtherDeviation =
    "Опитайте отново или променете допустимото отклонение: ±";
inline constexpr std::string_view FromSettings = " от \"НАСТРОЙКИ\" >>";

}  // namespace quillon

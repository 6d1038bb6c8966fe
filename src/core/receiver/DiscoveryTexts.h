#pragma once

#include <cstdint>
#include <string>

#include "core/common/Language.h"

namespace quillon {

// What the search for a receiver and its start at program start show.
enum class DiscoveryText {
  SearchAt,
  NotFound,
  CantOpenDevice,
  UnableInitializeAtStart,
  GoingOnWithoutReceiver,
  CpuSpeed,
  CpuSpeedTooLow,
  Restarting,
  RestartReceiver,
  UnableInitialize,
  Count
};

inline constexpr TextTable<DiscoveryText> DiscoveryTexts = {{
    {"Search for \"PTK/PTW receiver\" at COM", "Търсене на \"PTK/PTW приемник\" на COM"},
    {"PTK/PTW receiver not found", "Не е открит PTK/PTW приемник"},
    {"Can't open device COM\r\nIf you have \"PTW receiver\",turn out receiver and include "
     "again. Restart Quillon",
     " не може да бъде отворен!\r\nМоже би се използва от друга програма.\r\nАко използвате "
     "PTW приемник го извадете от USB и го включете отново. След това рестартирайте Quillon."},
    {"Error: Unable initialize receiver!\r\nRestart Quillon.",
     "Приемника не може да бъде инициализиран!\r\nСтартирайте Quillon отново."},
    {"Going on without a PTK/PTW receiver.", "Продължаване без PTK/PTW приемник."},
    {"CPU speed (", "Честотата на която работи процесора ("},
    {" too low!\r\nMinimum CPU speed for \"IR receiver\" must be 1000 MHz.\r\nQuillon possibly "
     "will not work correctly.\r\nYou can defy that alarm from \"Options->CPU low speed "
     "warning\"",
     " е много ниска!\r\nМинималната честота на процесора за работа с \"IR приемник\" трябва да "
     "бъде 1000 MHz.\r\nQuillon може би няма да работи коректно.\r\nМоже да изключите това "
     "предупреждение от \"Настройки->Предупреждение за ниска скорост на CPU\""},
    {"Restarting...", "Рестартиране..."},
    {"Restart receiver...", "Рестартиране на приемника..."},
    {"Unable initialize receiver!\r\nRestart Quillon.",
     "Приемникът не може да бъде инициализиран!\r\nСтартирайте Quillon отново."},
}};

inline std::string_view Text(DiscoveryText role, LanguageFlag language) {
  return Text(DiscoveryTexts, role, language);
}

// The box for a port that would not open: in Bulgarian the port's name leads.
std::string CantOpenDeviceText(LanguageFlag language, std::int32_t port);

// The warning for a processor below the clock the line capture needs, the clock printed as
// C's "%f" prints it.
std::string CpuSpeedWarningText(LanguageFlag language, double clockMHz);

}  // namespace quillon

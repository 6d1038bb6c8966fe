#pragma once

#include "core/common/Language.h"

namespace quillon {

// The messages of the configuration file and of key dispatch.
enum class ConfigText { ErrorInFile, DeleteFile, NoCommandApplied, UnknownKey, Count };

inline constexpr TextTable<ConfigText> ConfigTexts = {{
    {"Error in file: ", "Грешка във файла: "},
    {" \r\n\r\nDelete file !", " \r\n\r\nИзтриване на файла !"},
    {": No command applyed", ": Няма присвоена команда"},
    {"** Unknown key **", "** Непознат бутон **"},
}};

inline std::string_view Text(ConfigText role, LanguageFlag language) {
  return Text(ConfigTexts, role, language);
}

}  // namespace quillon

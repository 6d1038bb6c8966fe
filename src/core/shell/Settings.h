#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/Result.h"
#include "platform/Registry.h"

namespace quillon {

// Every persistent option lives in the current user's registry (or the file standing in for
// it), as named values under the vendor key, two product keys, and the list of programs run at
// log-on. This file names every value with its key, type, default and range; each reader
// clamps what it reads, so a value edited by hand can never put a control out of its range.

inline constexpr std::string_view VendorKey = "\\Software\\Vennard";
inline constexpr std::string_view ProductKey = "\\Software\\Vennard\\Pelmora";
inline constexpr std::string_view LearningKey = "\\Software\\Vennard\\Tashvel";
inline constexpr std::string_view RunKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// An integer value (REG_DWORD); stored numbers are read as signed, as the Windows program does.
struct IntegerSetting {
  std::string_view Key;
  std::string_view Name;
  std::int32_t Default;
  std::int32_t Min;
  std::int32_t Max;
};

// A yes/no value, stored as the integer 0 or 1.
struct BoolSetting {
  std::string_view Key;
  std::string_view Name;
  bool Default;
};

// A text value (REG_SZ).
struct TextSetting {
  std::string_view Key;
  std::string_view Name;
  std::string_view Default;
};

namespace settings {

// The options dialog's values, in the dialog's reading order. Ranges are those of its spin
// controls.
inline constexpr IntegerSetting StartTime{ProductKey, "StartTime", 5, 1, 10};
inline constexpr IntegerSetting CloseTime{ProductKey, "CloseTime", 1, 1, 10};
inline constexpr IntegerSetting StartApplication{ProductKey, "StartApplication", 5, 1, 10};
inline constexpr IntegerSetting StartWindows{ProductKey, "StartWindow(s)", 3, 1, 10};
inline constexpr IntegerSetting SignalLength{ProductKey, "SignalLength", 250, 50, 500};
inline constexpr IntegerSetting ImpulseNumber{ProductKey, "ImpulseNumber", 500, 100, 500};
inline constexpr IntegerSetting KeysDelay{ProductKey, "KeysDelay", 1, 1, 300};
inline constexpr IntegerSetting MouseStep{ProductKey, "MouseStep", 50, 10, 500};
inline constexpr BoolSetting ShowHint{ProductKey, "ShowHint", true};
inline constexpr BoolSetting ShowUnknownButton{ProductKey, "ShowUnknownButton", false};
inline constexpr BoolSetting LookForPTK{ProductKey, "LookForPTK", true};
inline constexpr BoolSetting CPUSpeedWarning{ProductKey, "CPUSpeedWarning", true};
inline constexpr IntegerSetting ShowHintTime{ProductKey, "ShowHintTime", 2, 1, 5};
inline constexpr IntegerSetting StartError{ProductKey, "StartError", 20, 20, 60};
inline constexpr IntegerSetting MaxValueError{ProductKey, "MaxValueError", 30, 20, 40};
inline constexpr IntegerSetting ImpulseDiv{ProductKey, "ImpulseDiv", 3, 0, 5};
inline constexpr IntegerSetting DifferentImp{ProductKey, "DifferentImp", 3, 2, 4};

// Other values of the product key. Language: 0 English, 1 Bulgarian.
inline constexpr IntegerSetting Language{ProductKey, "Language", 0, 0, 1};
inline constexpr TextSetting Com{ProductKey, "COM", "COM1"};
inline constexpr TextSetting FileName{ProductKey, "FileName", ""};
inline constexpr TextSetting RmtCtrlType{ProductKey, "RmtCtrlType", ""};
inline constexpr IntegerSetting VolumeStep{ProductKey, "VolumeStep", 10, 1, 50};
inline constexpr IntegerSetting BalanceStep{ProductKey, "BalanceStep", 10, 1, 50};

// The check boxes of the configuration and hot-key windows.
inline constexpr BoolSetting DoubleClick{VendorKey, "DoubleClick", false};
inline constexpr BoolSetting HotKeysEnabled{VendorKey, "HotKeysEnabled", true};
inline constexpr BoolSetting ShowFullWindow{VendorKey, "ShowFullWindow", true};
inline constexpr BoolSetting HotKeysEnabledKeys{VendorKey, "HotKeysEnabled_Keys", false};
inline constexpr BoolSetting SensWhitSendKeys{VendorKey, "SensWhitSendKeys", false};

// The learning side: its port and its list of button names ("Key Numbers" names, each in a
// value "Key Name #<index>" counted from 0).
inline constexpr TextSetting LearningCom{LearningKey, "COM", "COM1"};
inline constexpr TextSetting KeyNumbers{LearningKey, "Key Numbers", "0"};
inline constexpr std::string_view KeyNamePrefix = "Key Name #";

// The start-up entry: the program's full path while "Run at StartUp" is ticked.
inline constexpr TextSetting Brumcot{RunKey, "Brumcot", ""};

}  // namespace settings

std::int32_t Clamp(const IntegerSetting& setting, std::int32_t value);

// Reads through an open key: the default when the value is missing or of another type.
std::int32_t ReadSetting(const platform::RegistryKey& key, const IntegerSetting& setting);
bool ReadSetting(const platform::RegistryKey& key, const BoolSetting& setting);
std::string ReadSetting(const platform::RegistryKey& key, const TextSetting& setting);

// Writes through an open key; integers are clamped to their range first.
void WriteSetting(platform::RegistryKey& key, const IntegerSetting& setting, std::int32_t value);
void WriteSetting(platform::RegistryKey& key, const BoolSetting& setting, bool value);
void WriteSetting(platform::RegistryKey& key, const TextSetting& setting, std::string_view value);

// One value on its own: opens its key (creating it), reads or writes, closes it. A key that
// cannot be opened reads as the default; a write reports why it failed.
std::int32_t ReadValue(platform::Registry& registry, const IntegerSetting& setting);
bool ReadValue(platform::Registry& registry, const BoolSetting& setting);
std::string ReadValue(platform::Registry& registry, const TextSetting& setting);
Result<Done> WriteValue(platform::Registry& registry, const IntegerSetting& setting,
                        std::int32_t value);
Result<Done> WriteValue(platform::Registry& registry, const BoolSetting& setting, bool value);
Result<Done> WriteValue(platform::Registry& registry, const TextSetting& setting,
                        std::string_view value);
Result<Done> DeleteValue(platform::Registry& registry, const TextSetting& setting);

// The ports a "COM" value can name, and the port choices offer: COM1 to COM4.
inline constexpr std::int32_t FirstComPort = 1;
inline constexpr std::int32_t LastComPort = 4;

// The serial port a "COM" value names, 1 to 4: only the fourth character counts ("COM12" is
// port 1). A shorter text, or one naming another port, means port 1.
std::int32_t ComPortNumber(std::string_view value);
// "COM1" to "COM4". Throws std::out_of_range for another port: the port choice offers no other.
std::string ComPortName(std::int32_t port);
// The port of `setting` (settings::Com or settings::LearningCom).
std::int32_t ReadComPort(platform::Registry& registry, const TextSetting& setting);
Result<Done> WriteComPort(platform::Registry& registry, const TextSetting& setting,
                          std::int32_t port);

// The learning window's button names. "Key Numbers" that is not a decimal number counts 0
// names; reading stops at the first name missing before that count.
std::vector<std::string> ReadKeyNames(platform::Registry& registry);
// Writes "Key Numbers", then one value per name, and deletes the names a longer list left.
Result<Done> WriteKeyNames(platform::Registry& registry, const std::vector<std::string>& names);

}  // namespace quillon

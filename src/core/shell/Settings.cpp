#include "core/shell/Settings.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <utility>

namespace quillon {

namespace {

// Reads one value through a freshly opened key; the default when the key cannot be opened.
// Closing a key that was only read saves at most its creation; that outcome is not reported,
// as settings failures are silent.
template <typename Setting>
auto ReadOne(platform::Registry& registry, const Setting& setting) {
  using Value = decltype(ReadSetting(std::declval<const platform::RegistryKey&>(), setting));
  auto key = registry.OpenKey(setting.Key);
  if (!key) return Value(setting.Default);
  auto value = ReadSetting(*key.Value(), setting);
  static_cast<void>(key.Value()->Close());
  return value;
}

template <typename Setting, typename Value>
Result<Done> WriteOne(platform::Registry& registry, const Setting& setting, Value value) {
  auto key = registry.OpenKey(setting.Key);
  if (!key) return Error{key.ErrorMessage()};
  WriteSetting(*key.Value(), setting, value);
  return key.Value()->Close();
}

std::string KeyName(std::size_t index) {
  return std::string(settings::KeyNamePrefix) + std::to_string(index);
}

// The count of "Key Numbers": a decimal number, 0 for anything else.
std::size_t KeyCount(std::string_view text) {
  std::size_t count = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, count);
  return error == std::errc{} && stop == end ? count : 0;
}

}  // namespace

std::int32_t Clamp(const IntegerSetting& setting, std::int32_t value) {
  return std::clamp(value, setting.Min, setting.Max);
}

std::int32_t ReadSetting(const platform::RegistryKey& key, const IntegerSetting& setting) {
  const auto stored = key.ReadInteger(setting.Name);
  return stored ? Clamp(setting, static_cast<std::int32_t>(*stored)) : setting.Default;
}

bool ReadSetting(const platform::RegistryKey& key, const BoolSetting& setting) {
  return key.ReadBool(setting.Name).value_or(setting.Default);
}

std::string ReadSetting(const platform::RegistryKey& key, const TextSetting& setting) {
  return key.ReadString(setting.Name).value_or(std::string(setting.Default));
}

void WriteSetting(platform::RegistryKey& key, const IntegerSetting& setting, std::int32_t value) {
  key.WriteInteger(setting.Name, static_cast<std::uint32_t>(Clamp(setting, value)));
}

void WriteSetting(platform::RegistryKey& key, const BoolSetting& setting, bool value) {
  key.WriteBool(setting.Name, value);
}

void WriteSetting(platform::RegistryKey& key, const TextSetting& setting, std::string_view value) {
  key.WriteString(setting.Name, value);
}

std::int32_t ReadValue(platform::Registry& registry, const IntegerSetting& setting) {
  return ReadOne(registry, setting);
}

bool ReadValue(platform::Registry& registry, const BoolSetting& setting) {
  return ReadOne(registry, setting);
}

std::string ReadValue(platform::Registry& registry, const TextSetting& setting) {
  return ReadOne(registry, setting);
}

Result<Done> WriteValue(platform::Registry& registry, const IntegerSetting& setting,
                        std::int32_t value) {
  return WriteOne(registry, setting, value);
}

Result<Done> WriteValue(platform::Registry& registry, const BoolSetting& setting, bool value) {
  return WriteOne(registry, setting, value);
}

Result<Done> WriteValue(platform::Registry& registry, const TextSetting& setting,
                        std::string_view value) {
  return WriteOne(registry, setting, value);
}

Result<Done> DeleteValue(platform::Registry& registry, const TextSetting& setting) {
  auto key = registry.OpenKey(setting.Key);
  if (!key) return Error{key.ErrorMessage()};
  key.Value()->DeleteValue(setting.Name);
  return key.Value()->Close();
}

std::int32_t ComPortNumber(std::string_view value) {
  if (value.size() < 4) return FirstComPort;
  const std::int32_t port = value[3] - '0';
  return port >= FirstComPort && port <= LastComPort ? port : FirstComPort;
}

std::string ComPortName(std::int32_t port) {
  if (port < FirstComPort || port > LastComPort) {
    throw std::out_of_range("serial port COM" + std::to_string(port) + " is not offered");
  }
  return "COM" + std::to_string(port);
}

std::int32_t ReadComPort(platform::Registry& registry, const TextSetting& setting) {
  return ComPortNumber(ReadValue(registry, setting));
}

Result<Done> WriteComPort(platform::Registry& registry, const TextSetting& setting,
                          std::int32_t port) {
  return WriteValue(registry, setting, ComPortName(port));
}

std::vector<std::string> ReadKeyNames(platform::Registry& registry) {
  std::vector<std::string> names;
  auto key = registry.OpenKey(LearningKey);
  if (!key) return names;
  const std::size_t count = KeyCount(ReadSetting(*key.Value(), settings::KeyNumbers));
  for (std::size_t i = 0; i < count; ++i) {
    auto name = key.Value()->ReadString(KeyName(i));
    if (!name) break;
    names.push_back(std::move(*name));
  }
  static_cast<void>(key.Value()->Close());
  return names;
}

Result<Done> WriteKeyNames(platform::Registry& registry, const std::vector<std::string>& names) {
  auto key = registry.OpenKey(LearningKey);
  if (!key) return Error{key.ErrorMessage()};
  platform::RegistryKey& open = *key.Value();
  WriteSetting(open, settings::KeyNumbers, std::to_string(names.size()));
  for (std::size_t i = 0; i < names.size(); ++i) open.WriteString(KeyName(i), names[i]);
  for (std::size_t i = names.size(); open.ReadString(KeyName(i)); ++i) open.DeleteValue(KeyName(i));
  return open.Close();
}

}  // namespace quillon

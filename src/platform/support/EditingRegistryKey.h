#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/Registry.h"

namespace quillon::platform {

// What the settings-store backends share: every write of a key is one change of a value to an
// integer, a text, or nothing (deleted), and a boolean is an integer read as 0 or not.
class EditingRegistryKey : public RegistryKey {
 public:
  using WrittenValue = std::variant<std::uint32_t, std::string>;

  std::optional<bool> ReadBool(std::string_view name) const final {
    const auto value = ReadInteger(name);
    return value ? std::optional(*value != 0) : std::nullopt;
  }
  void WriteInteger(std::string_view name, std::uint32_t value) final { Change(name, value); }
  void WriteBool(std::string_view name, bool value) final {
    Change(name, std::uint32_t{value ? 1U : 0U});
  }
  void WriteString(std::string_view name, std::string_view value) final {
    Change(name, std::string(value));
  }
  void DeleteValue(std::string_view name) final { Change(name, std::nullopt); }

 protected:
  // Records the change unless the value already is `value`.
  virtual void Change(std::string_view name, std::optional<WrittenValue> value) = 0;
};

}  // namespace quillon::platform

#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/Registry.h"

namespace quillon::platform {

// A value of the fake store: an integer (DWORD) or a text.
using FakeRegistryValue = std::variant<std::uint32_t, std::string>;

// An in-memory settings store for tests and dry runs. Tests seed and inspect values directly,
// make a key unopenable (as when access is denied) and make saves fail (as when the disk is
// full); a closed handle's changes reach the store only when the save succeeds.
class FakeRegistry : public Registry {
 public:
  Result<std::unique_ptr<RegistryKey>> OpenKey(std::string_view path) override;

  void MakeUnopenable(std::string_view path);
  void FailSaves(bool fail) { SavesFail = fail; }

  // Stores a value, creating its key.
  void SetValue(std::string_view path, std::string_view name, FakeRegistryValue value);
  std::optional<FakeRegistryValue> Value(std::string_view path, std::string_view name) const;
  bool HasKey(std::string_view path) const;
  std::size_t ValueCount(std::string_view path) const;

  // Saves that changed the store.
  std::int32_t Saves() const { return SaveCount; }

 private:
  class Key;
  using Values = std::vector<std::pair<std::string, FakeRegistryValue>>;
  struct StoredKey {
    std::string Path;
    Values Entries;
  };
  // A change of one value; no value means deletion.
  struct Edit {
    std::string Name;
    std::optional<FakeRegistryValue> Value;
  };

  StoredKey* Find(std::string_view path);
  const StoredKey* Find(std::string_view path) const;
  StoredKey& FindOrAdd(std::string_view path);
  Result<Done> Save(std::string_view path, bool create, const std::vector<Edit>& edits);

  std::vector<StoredKey> Keys;
  std::vector<std::string> Unopenable;
  bool SavesFail = false;
  std::int32_t SaveCount = 0;
};

}  // namespace quillon::platform

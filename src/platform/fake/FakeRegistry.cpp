#include "platform/fake/FakeRegistry.h"

#include <algorithm>

#include "platform/support/EditingRegistryKey.h"

namespace quillon::platform {

namespace {

template <typename Entries>
auto FindEntry(Entries& entries, std::string_view name) {
  return std::find_if(entries.begin(), entries.end(),
                      [name](const auto& entry) { return SameRegistryName(entry.first, name); });
}

// The key of `keys` at `path`, or null; const or not as `keys` is.
template <typename Keys>
auto FindKey(Keys& keys, std::string_view path) -> decltype(&keys.front()) {
  path = TrimKeyPath(path);
  const auto key = std::find_if(keys.begin(), keys.end(),
                                [path](const auto& k) { return SameRegistryName(k.Path, path); });
  return key == keys.end() ? nullptr : &*key;
}

}  // namespace

// A handle sees the store as it is plus its own unsaved edits.
class FakeRegistry::Key final : public EditingRegistryKey {
 public:
  Key(FakeRegistry& owner, std::string path, bool create)
      : Owner(owner), Path(std::move(path)), Create(create) {}
  ~Key() override { static_cast<void>(Close()); }

  std::optional<std::uint32_t> ReadInteger(std::string_view name) const override {
    const auto value = Current(name);
    if (!value || !std::holds_alternative<std::uint32_t>(*value)) return std::nullopt;
    return std::get<std::uint32_t>(*value);
  }
  std::optional<std::string> ReadString(std::string_view name) const override {
    const auto value = Current(name);
    if (!value || !std::holds_alternative<std::string>(*value)) return std::nullopt;
    return std::get<std::string>(*value);
  }

  Result<Done> Close() override {
    if (!Create && Edits.empty()) return Done{};
    auto saved = Owner.Save(Path, Create, Edits);
    Create = false;
    Edits.clear();
    return saved;
  }

 private:
  std::optional<FakeRegistryValue> Current(std::string_view name) const {
    for (auto edit = Edits.rbegin(); edit != Edits.rend(); ++edit) {
      if (SameRegistryName(edit->Name, name)) return edit->Value;
    }
    return Owner.Value(Path, name);
  }
  void Change(std::string_view name, std::optional<WrittenValue> value) override {
    if (Current(name) != value) Edits.push_back({std::string(name), std::move(value)});
  }

  FakeRegistry& Owner;
  std::string Path;
  bool Create;
  std::vector<Edit> Edits;
};

Result<std::unique_ptr<RegistryKey>> FakeRegistry::OpenKey(std::string_view path) {
  path = TrimKeyPath(path);
  if (path.empty()) return Error{"empty registry key path"};
  for (const auto& denied : Unopenable) {
    if (SameRegistryName(denied, path)) {
      return Error{"cannot open registry key \\" + std::string(path) + ": access denied"};
    }
  }
  return std::unique_ptr<RegistryKey>(
      std::make_unique<Key>(*this, std::string(path), Find(path) == nullptr));
}

void FakeRegistry::MakeUnopenable(std::string_view path) {
  Unopenable.emplace_back(TrimKeyPath(path));
}

void FakeRegistry::SetValue(std::string_view path, std::string_view name, FakeRegistryValue value) {
  Values& entries = FindOrAdd(path).Entries;
  const auto entry = FindEntry(entries, name);
  if (entry != entries.end()) {
    entry->second = std::move(value);
  } else {
    entries.emplace_back(std::string(name), std::move(value));
  }
}

std::optional<FakeRegistryValue> FakeRegistry::Value(std::string_view path,
                                                     std::string_view name) const {
  const StoredKey* key = Find(path);
  if (key == nullptr) return std::nullopt;
  const auto entry = FindEntry(key->Entries, name);
  if (entry == key->Entries.end()) return std::nullopt;
  return entry->second;
}

bool FakeRegistry::HasKey(std::string_view path) const { return Find(path) != nullptr; }

std::size_t FakeRegistry::ValueCount(std::string_view path) const {
  const StoredKey* key = Find(path);
  return key == nullptr ? 0 : key->Entries.size();
}

FakeRegistry::StoredKey* FakeRegistry::Find(std::string_view path) { return FindKey(Keys, path); }

const FakeRegistry::StoredKey* FakeRegistry::Find(std::string_view path) const {
  return FindKey(Keys, path);
}

FakeRegistry::StoredKey& FakeRegistry::FindOrAdd(std::string_view path) {
  if (StoredKey* key = Find(path)) return *key;
  return Keys.emplace_back(StoredKey{std::string(TrimKeyPath(path)), {}});
}

Result<Done> FakeRegistry::Save(std::string_view path, bool create,
                                const std::vector<Edit>& edits) {
  if (SavesFail) return Error{"cannot save registry key \\" + std::string(path)};
  if (create) FindOrAdd(path);
  for (const Edit& edit : edits) {
    if (edit.Value) {
      SetValue(path, edit.Name, *edit.Value);
    } else if (StoredKey* key = Find(path)) {
      const auto entry = FindEntry(key->Entries, edit.Name);
      if (entry != key->Entries.end()) key->Entries.erase(entry);
    }
  }
  ++SaveCount;
  return Done{};
}

}  // namespace quillon::platform

#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "platform/linux/RegFileFormat.h"

namespace quillon::platform {

// The settings store of a Linux user: one file in the Windows registry export syntax (see
// RegFileFormat.h), readable, editable by hand and importable on Windows. Keys live under
// HKEY_CURRENT_USER.
//
// Every open reads the file, so a value changed by hand takes effect at the next read. The file
// is written when a handle that changed something is closed, once per handle however many
// values it changed: the file is read again, the handle's changes are applied to what it holds
// now (another handle or a hand edit may have changed other values meanwhile), and the whole
// file is written to "<file>.new" in the same folder, flushed to the disk and renamed over the
// file. A failed save leaves the old file whole. The folder is created when missing.
class RegFileRegistry : public Registry {
 public:
  explicit RegFileRegistry(std::filesystem::path file) : FilePath(std::move(file)) {}

  // Fails when the file exists but cannot be read, so that a save never replaces a file whose
  // values it could not see.
  Result<std::unique_ptr<RegistryKey>> OpenKey(std::string_view path) override;

 private:
  class Key;
  // A change of one value; no value means deletion.
  struct Edit {
    std::string Name;
    std::optional<RegValue> Value;
  };

  Result<RegDocument> Load() const;
  Result<Done> Save(std::string_view keyPath, const std::vector<Edit>& edits) const;

  std::filesystem::path FilePath;
};

// Where the store's file lives: $XDG_CONFIG_HOME/quillon/registry.reg, or
// $HOME/.config/quillon/registry.reg when XDG_CONFIG_HOME is unset, empty or relative. The
// arguments are the values of those environment variables, null when unset.
Result<std::filesystem::path> RegistryFilePath(const char* xdgConfigHome, const char* home);

}  // namespace quillon::platform

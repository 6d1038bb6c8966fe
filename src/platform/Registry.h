#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/Result.h"

namespace quillon::platform {

// An open key of the current user's settings store. Texts, value names and key paths are
// UTF-8, stored without narrowing to a code page; names and paths hold no line break.
//
// Changes collect in the handle and become durable when it is closed: by Close(), which
// reports the outcome, or by destroying the handle, which saves what Close() has not and drops
// the outcome (settings failures are silent to the user). Closing a handle that changed nothing
// and created no key touches no storage.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  // Each read reports a value that is missing, or stored with another type, as absent.
  virtual std::optional<std::uint32_t> ReadInteger(std::string_view name) const = 0;
  // A boolean is an integer: 0 is false, anything else true.
  virtual std::optional<bool> ReadBool(std::string_view name) const = 0;
  virtual std::optional<std::string> ReadString(std::string_view name) const = 0;

  // Writing replaces a value of any type; booleans are stored as the integers 0 and 1.
  virtual void WriteInteger(std::string_view name, std::uint32_t value) = 0;
  virtual void WriteBool(std::string_view name, bool value) = 0;
  virtual void WriteString(std::string_view name, std::string_view value) = 0;
  // Deleting a missing value does nothing.
  virtual void DeleteValue(std::string_view name) = 0;

  // Makes the changes made through this handle since it was opened or last closed durable.
  // A failed save is not retried; the store keeps what it held before.
  virtual Result<Done> Close() = 0;
};

// The settings store of the current user: keys named by a path below the user's root, such as
// "\Software\Vennard\Pelmora". A leading backslash is optional.
class Registry {
 public:
  virtual ~Registry() = default;

  // Opens the key, creating it when missing (the creation becomes durable when the handle is
  // closed). Fails when the store cannot be read or the path is empty. A handle must not
  // outlive its registry.
  virtual Result<std::unique_ptr<RegistryKey>> OpenKey(std::string_view path) = 0;
};

// Key paths and value names compare without regard to case, as in the Windows registry. Only
// ASCII letters are folded.
inline bool SameRegistryName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// A key path without its leading and trailing backslashes: the form backends compare.
inline std::string_view TrimKeyPath(std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return path;
}

}  // namespace quillon::platform

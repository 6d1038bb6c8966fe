#include "platform/linux/RegFileRegistry.h"

#include "platform/support/EditingRegistryKey.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace quillon::platform {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view Root = "HKEY_CURRENT_USER";

Error SystemFailure(std::string_view what, const fs::path& path, int error) {
  return Error{"cannot " + std::string(what) + " " + path.string() + ": " +
               std::generic_category().message(error)};
}

// Writes all of `bytes` and flushes them to the disk; false with errno set on failure.
bool WriteAndFlush(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return ::fsync(fd) == 0;
}

Result<Done> WriteAtomically(const fs::path& target, std::string_view bytes) {
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  std::error_code created;
  fs::create_directories(folder, created);
  if (created) return Error{"cannot create " + folder.string() + ": " + created.message()};

  fs::path temporary = target;
  temporary += ".new";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return SystemFailure("write", temporary, errno);
  // The replacement keeps the permissions of the file it replaces: a user may have narrowed
  // them.
  struct stat old {};
  const bool kept = ::stat(target.c_str(), &old) != 0 || ::fchmod(fd, old.st_mode & 07777) == 0;
  const bool written = kept && WriteAndFlush(fd, bytes);
  const int writeError = errno;
  if (::close(fd) != 0 || !written) {
    const int error = written ? errno : writeError;
    ::unlink(temporary.c_str());
    return SystemFailure("write", temporary, error);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return SystemFailure("replace", target, error);
  }
  // Flushing the folder makes the rename itself survive a crash. The new file is in place
  // already, so a failure here is no failure of the save.
  const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    ::fsync(folderFd);
    ::close(folderFd);
  }
  return Done{};
}

bool SameValue(const RegValue* stored, const std::optional<RegValue>& value) {
  return stored == nullptr ? !value.has_value() : value.has_value() && *stored == *value;
}

}  // namespace

// A handle reads the key as the file held it at the open, with its own changes applied.
class RegFileRegistry::Key final : public EditingRegistryKey {
 public:
  Key(const RegFileRegistry& owner, RegKey snapshot, bool create)
      : Owner(owner), Snapshot(std::move(snapshot)), Create(create) {}
  ~Key() override { static_cast<void>(Close()); }

  std::optional<std::uint32_t> ReadInteger(std::string_view name) const override {
    const auto* value = Get<std::uint32_t>(name);
    return value ? std::optional(*value) : std::nullopt;
  }
  std::optional<std::string> ReadString(std::string_view name) const override {
    const auto* value = Get<std::string>(name);
    return value ? std::optional(*value) : std::nullopt;
  }

  Result<Done> Close() override {
    if (!Create && Edits.empty()) return Done{};
    auto saved = Owner.Save(Snapshot.Path, Edits);
    Create = false;
    Edits.clear();
    return saved;
  }

 private:
  template <typename T>
  const T* Get(std::string_view name) const {
    const RegValue* value = Snapshot.Find(name);
    return value ? std::get_if<T>(value) : nullptr;
  }
  void Change(std::string_view name, std::optional<WrittenValue> written) override {
    std::optional<RegValue> value;
    if (written) value = std::visit([](auto&& v) { return RegValue(v); }, *written);
    if (SameValue(Snapshot.Find(name), value)) return;
    if (value) {
      Snapshot.Set(name, *value);
    } else {
      Snapshot.Erase(name);
    }
    Edits.push_back({std::string(name), std::move(value)});
  }

  const RegFileRegistry& Owner;
  RegKey Snapshot;
  bool Create;
  std::vector<Edit> Edits;
};

Result<std::unique_ptr<RegistryKey>> RegFileRegistry::OpenKey(std::string_view path) {
  path = TrimKeyPath(path);
  if (path.empty()) return Error{"empty registry key path"};
  auto document = Load();
  if (!document) return Error{document.ErrorMessage()};
  const std::string fullPath = std::string(Root) + "\\" + std::string(path);
  const RegKey* key = document.Value().Find(fullPath);
  return std::unique_ptr<RegistryKey>(
      std::make_unique<Key>(*this, key ? *key : RegKey{fullPath, {}}, key == nullptr));
}

Result<RegDocument> RegFileRegistry::Load() const {
  const int fd = ::open(FilePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return RegDocument{};  // a first run: every value has its default
    return SystemFailure("read", FilePath, errno);
  }
  std::string bytes;
  char buffer[1 << 14];
  while (true) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;
      ::close(fd);
      return SystemFailure("read", FilePath, error);
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return ParseRegFile(bytes);
}

Result<Done> RegFileRegistry::Save(std::string_view keyPath, const std::vector<Edit>& edits) const {
  auto document = Load();
  if (!document) return Error{document.ErrorMessage()};
  RegKey& key = document.Value().FindOrAdd(keyPath);
  for (const Edit& edit : edits) {
    if (edit.Value) {
      key.Set(edit.Name, *edit.Value);
    } else {
      key.Erase(edit.Name);
    }
  }
  return WriteAtomically(FilePath, FormatRegFile(document.Value()));
}

Result<fs::path> RegistryFilePath(const char* xdgConfigHome, const char* home) {
  // The XDG base directory rules ignore a setting that is not an absolute path.
  const auto usable = [](const char* value) { return value != nullptr && value[0] == '/'; };
  fs::path base;
  if (usable(xdgConfigHome)) {
    base = xdgConfigHome;
  } else if (usable(home)) {
    base = fs::path(home) / ".config";
  } else {
    return Error{"cannot place the settings file: neither XDG_CONFIG_HOME nor HOME is set"};
  }
  return base / "quillon" / "registry.reg";
}

}  // namespace quillon::platform

#include "core/shell/StartUp.h"

#include "core/common/AtomicFile.h"
#include "core/shell/Settings.h"

namespace quillon {

namespace fs = std::filesystem;

MainWindowSettings ReadMainWindowSettings(platform::Registry& registry) {
  MainWindowSettings settings;
  settings.Language = static_cast<LanguageFlag>(ReadValue(registry, settings::Language));
  settings.DoubleClick = ReadValue(registry, settings::DoubleClick);
  settings.HotKeysEnabled = ReadValue(registry, settings::HotKeysEnabled);
  settings.ShowFullWindow = ReadValue(registry, settings::ShowFullWindow);
  settings.RemoteType = ReadValue(registry, settings::RmtCtrlType);
  settings.FileName = ReadValue(registry, settings::FileName);
  return settings;
}

Result<Done> WriteMainWindowSettings(platform::Registry& registry,
                                     const MainWindowSettings& settings) {
  const Result<Done> writes[] = {
      WriteValue(registry, settings::Language, settings.Language),
      WriteValue(registry, settings::DoubleClick, settings.DoubleClick),
      WriteValue(registry, settings::HotKeysEnabled, settings.HotKeysEnabled),
      WriteValue(registry, settings::ShowFullWindow, settings.ShowFullWindow),
      WriteValue(registry, settings::FileName, settings.FileName),
  };
  for (const Result<Done>& write : writes) {
    if (!write) return write;
  }
  return Done{};
}

Result<fs::path> AutoStartEntryPath(const char* xdgConfigHome, const char* home) {
  // The XDG base directory rules ignore a setting that is not an absolute path.
  const auto usable = [](const char* value) { return value != nullptr && value[0] == '/'; };
  if (usable(xdgConfigHome)) return fs::path(xdgConfigHome) / "autostart" / "quillon.desktop";
  if (usable(home)) return fs::path(home) / ".config" / "autostart" / "quillon.desktop";
  return Error{"cannot place the autostart entry: neither XDG_CONFIG_HOME nor HOME is set"};
}

std::string AutoStartEntryText(const fs::path& program) {
  // The desktop entry rules: inside a quoted argument '"', '`', '$' and '\' take a backslash,
  // '%' is doubled; then the value itself doubles every backslash.
  std::string quoted = "\"";
  for (const char c : program.string()) {
    if (c == '\\') {
      quoted += "\\\\\\\\";
      continue;
    }
    if (c == '"' || c == '`' || c == '$') quoted += "\\\\";
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Quillon\n"
         "Comment=Infrared remote control as an input device\n"
         "Exec=" +
         quoted +
         "\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

bool AutoStartEnabled(const fs::path& entry) {
  std::error_code error;
  return fs::is_regular_file(entry, error) && fs::file_size(entry, error) > 0 && !error;
}

Result<Done> WriteAutoStartEntry(const fs::path& entry, const fs::path& program) {
  std::error_code error;
  fs::create_directories(entry.parent_path(), error);
  if (error) return Error{entry.parent_path().string() + ": " + error.message()};
  return WriteFileAtomically(entry, AutoStartEntryText(program));
}

Result<Done> RemoveAutoStartEntry(const fs::path& entry) {
  std::error_code error;
  fs::remove(entry, error);
  if (error) return Error{entry.string() + ": " + error.message()};
  return Done{};
}

}  // namespace quillon

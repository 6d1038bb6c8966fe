#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/Language.h"
#include "core/common/Result.h"
#include "platform/Registry.h"

namespace quillon {

// What the main window's creation and closing read, ask and store.

enum class StartUpText { AlreadyRunning, Count };

inline constexpr TextTable<StartUpText> StartUpTexts = {{
    {"Quillon already running!\r\nContinue?", "Quillon вече е стартиран!\r\nПродължение?"},
}};

inline std::string_view Text(StartUpText role, LanguageFlag language) {
  return Text(StartUpTexts, role, language);
}

// The settings the main window reads at its creation and writes when it closes.
struct MainWindowSettings {
  LanguageFlag Language = English;
  bool DoubleClick = false;    // "Double click - execute function"
  bool HotKeysEnabled = true;  // key recording in the send-key field
  bool ShowFullWindow = true;
  std::string RemoteType;  // "RmtCtrlType": read only
  std::string FileName;    // the configuration in use

  bool operator==(const MainWindowSettings&) const = default;
};

MainWindowSettings ReadMainWindowSettings(platform::Registry& registry);
// Writes all but the remote type, which the main window never stores. Failures are silent to
// the user, as with every setting; the result says what failed.
Result<Done> WriteMainWindowSettings(platform::Registry& registry,
                                     const MainWindowSettings& settings);

// "Run at StartUp" on Linux: the XDG autostart entry quillon.desktop in
// $XDG_CONFIG_HOME/autostart, or $HOME/.config/autostart when XDG_CONFIG_HOME is unset, empty or
// relative. The arguments are the values of those environment variables, null when unset.
Result<std::filesystem::path> AutoStartEntryPath(const char* xdgConfigHome, const char* home);

// The entry's content: a desktop entry that starts `program`.
std::string AutoStartEntryText(const std::filesystem::path& program);

// "Run at StartUp" is ticked when the entry exists and is not empty.
bool AutoStartEnabled(const std::filesystem::path& entry);
// Ticking writes the entry (atomically, creating its folder); unticking removes it, and does
// nothing when there is none.
Result<Done> WriteAutoStartEntry(const std::filesystem::path& entry,
                                 const std::filesystem::path& program);
Result<Done> RemoveAutoStartEntry(const std::filesystem::path& entry);

}  // namespace quillon

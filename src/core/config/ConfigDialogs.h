#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The load and save dialogs of the configuration editor. Both show configurations by name:
// the file name of a ".rir" file of the remote folder without its extension.

enum class LoadDialogResult : std::uint8_t { Load = 1, Cancel = 2, Delete = 3 };

struct LoadDialogRequest {
  std::string Caption;
  std::string LoadButton;
  std::string CancelButton;
  std::string DeleteButton;
  std::vector<std::string> Names;  // in the order found
  std::string Current;             // preselected when listed
};

struct LoadDialogAnswer {
  LoadDialogResult Result = LoadDialogResult::Cancel;
  std::string Name;  // the entry selected for Load or Delete
};

struct SaveDialogRequest {
  std::string Caption;
  std::string Label;
  std::string SaveButton;
  std::string CancelButton;
  std::string Proposal;  // the name offered in the name box
  std::vector<std::string> Names;
};

// The GUI service that shows the two dialogs modally; tests script it.
class ConfigurationDialogs {
 public:
  virtual ~ConfigurationDialogs() = default;
  virtual LoadDialogAnswer AskLoad(const LoadDialogRequest& request) = 0;
  // The name to save under, or nothing when cancelled.
  virtual std::optional<std::string> AskSaveName(const SaveDialogRequest& request) = 0;
};

inline constexpr std::string_view ConfigurationExtension = ".rir";

// The names of the configurations in `folder`: every "*.rir" file (any letter case), without its
// extension, in file-name order. A missing folder has none.
std::vector<std::string> ListConfigurationNames(const std::filesystem::path& folder);

// The file of a configuration name in `folder`.
std::filesystem::path ConfigurationPath(const std::filesystem::path& folder, std::string_view name);

// The name the save dialog offers: the remote type, "-" and the chosen program's file name
// without extension; with no program chosen, "-" and the root's window name (its first bracketed
// field). `applicationPath` may be a Windows or a Linux path.
std::string ProposeConfigurationName(std::string_view remoteType, std::string_view applicationPath,
                                     std::string_view rootText);

// The characters the save dialog's name box discards: those file names cannot hold on either
// system, and punctuation the Windows program kept out of names. `character` is one UTF-8
// character.
bool IsRefusedNameCharacter(std::string_view character);

// The refused characters, for the message that lists them.
std::string RefusedNameCharacters();

// Whether a whole proposed name can be saved under: not empty, and free of refused characters
// (a name can be pasted or proposed, not only typed).
bool IsValidConfigurationName(std::string_view name);

}  // namespace quillon

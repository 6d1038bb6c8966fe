#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/Language.h"
#include "core/common/Result.h"
#include "core/config/ConfigTree.h"
#include "platform/Registry.h"

namespace quillon {

// A configuration file (".rir") holds the configuration tree as text: one line per node in
// pre-order, each line as many TABs as the node's level followed by the node text, Windows-1251,
// lines ending in CR LF. Its last line names the remote the configuration was made for:
// "<Remoute Control Type> - " and the remote type's display name. Files move unchanged between
// this program and the Windows one.

// What loading and saving a configuration touch in the configuration window.
class ConfigurationView {
 public:
  virtual ~ConfigurationView() = default;

  virtual void SetCaption(std::string_view caption) = 0;
  // Whether the list of remote types holds `name`, and selecting it there.
  virtual bool HasRemoteType(std::string_view name) const = 0;
  virtual void SelectRemoteType(std::string_view name) = 0;
  // Loads the key data of the remote type as a change of remote type in the editor does, so
  // that the tree's key labels match the remote in use. The view reports its own failures.
  virtual void LoadRemoteType(std::string_view name) = 0;
  // Selects the node and shows it in the editor.
  virtual void ShowNode(std::int32_t index) = 0;
  virtual void EnableEditor() = 0;
  // A configuration replaced the tree. Key dispatch resets its open groups here: a group
  // opened under the old tree would otherwise keep every key from finding its command.
  virtual void ConfigurationLoaded() = 0;
};

// The configuration in use: the file it was last loaded from or saved to, and its name (the
// file name without folder and extension), which the caption shows and the save dialog offers.
struct CurrentConfiguration {
  std::filesystem::path FilePath;
  std::string Name;
};

// The main window's caption without a configuration, and with one: "Quillon  [" name "]".
inline constexpr std::string_view ProgramCaption = "Quillon";
std::string ConfigurationCaption(std::string_view name);

// The configuration name of a file: its name without folder, everything from the last "."
// removed.
std::string ConfigurationName(const std::filesystem::path& path);

// A configuration file as read: its nodes (texts in UTF-8) and the remote type its last line
// names.
struct ConfigurationFileContent {
  std::vector<ConfigTree::Node> Nodes;
  std::string RemoteType;
};

// Reads a configuration file. Every leading TAB or blank of a line counts one level; empty
// lines hold no node. The last non-empty line gives the remote type: everything up to and
// including its last ">" and the three characters after it (" - ") is removed, and a line
// without ">" is taken whole. That line stays the tree's last node. A line more than one level
// deeper than the line before it is an error naming the line.
Result<ConfigurationFileContent> ReadConfigurationFile(const std::filesystem::path& path);

// Writes the tree to `path` in one go, replacing the file atomically, with the remote type line
// "<Remoute Control Type> - " `remoteType` appended unless the tree's last node already is such
// a line (as after a load). Then makes it the current configuration, stores its path as the
// setting "FileName" and sets the caption. A failed write changes nothing and leaves the old
// file whole.
Result<Done> SaveConfiguration(const std::filesystem::path& path, const ConfigTree& tree,
                               std::string_view remoteType, CurrentConfiguration& current,
                               ConfigurationView& view, platform::Registry& registry);

// The start-up load runs before the configuration window is shown, with the remote type
// stored in the settings already loaded; the key data of the file's remote type is then not
// loaded.
enum class LoadOccasion : std::uint8_t { StartUp, Editor };

enum class ConfigurationLoad : std::uint8_t { Loaded, NoFile };

// Loads a configuration file into the tree.
//  - A missing file is no error: the current configuration and the setting "FileName" are
//    cleared, the caption becomes "Quillon", and the result is NoFile.
//  - A file whose remote type is not in the list of remote types is refused with the message
//    "Error in file: <name> \r\n\r\nDelete file !" in `language`. The file itself is left on
//    disk untouched: the remote it was made for may come back (its .IRD copied in again), and
//    deleting is the load dialog's own operation.
//  - A file that cannot be read or is badly indented is refused with the reader's message.
// A refused load changes nothing: the tree, the current configuration and the view keep what
// they held, so the configuration in use can still be saved over its own file. A load that
// succeeds selects the remote type (and, from the editor, loads its key data), replaces the
// tree, shows its first node, makes it the current configuration, stores "FileName", sets the
// caption, enables the editor and calls ConfigurationLoaded.
Result<ConfigurationLoad> LoadConfiguration(const std::filesystem::path& path, ConfigTree& tree,
                                            CurrentConfiguration& current, ConfigurationView& view,
                                            platform::Registry& registry, LoadOccasion occasion,
                                            LanguageFlag language);

}  // namespace quillon

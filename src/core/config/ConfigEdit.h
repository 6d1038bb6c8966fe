#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/config/ConfigTree.h"
#include "core/learning/RemoteData.h"

namespace quillon {

// How the configuration tree is built from the learned keys of the current remote and changed
// by the editor's whole-node operations. Each key node's text is the key's label; dispatch
// finds a key by that label, so the texts written here are the ones dispatch searches for.

// The window-name field's value when no window is named.
inline constexpr std::string_view NoWindowName = "none";
// The root's text while no application is assigned to the configuration.
inline constexpr std::string_view NewGroupRoot = "New group";

// The label of a learned key: its number in decimal, ". ", its name ("3. Mute").
std::string KeyLabel(const LearnedKey& key);

// A key is locked when its name is that of the earlier key of a pair whose codes collided at
// learning: an odd row (1, 3, 5, ...) of the lock-up table, among rows 1 to LockUpCount - 1.
bool IsLockedKey(const RemoteData& remote, const LearnedKey& key);

// "[" window name "][" application path "]": the text of a root with an application.
std::string RootText(std::string_view windowName, std::string_view applicationPath);

// Clears the tree and builds a new configuration for the remote: the root (RootText, or
// NewGroupRoot when the window name is NoWindowName), then one key node per learned key
// (entries 1 to KeyCount - 1) in table order, each locked key with a "Lock Up" child.
void NewConfiguration(ConfigTree& tree, const RemoteData& remote, std::string_view windowName,
                      std::string_view applicationPath);

// Turns the node at `index` into a group key: its text gets " - [Group Key][" window name "]["
// application path "]", a full key list (with "Lock Up" markers) is added under it, and the
// added key node whose text equals the node's old text gets a "<Command>[Close Group]" child,
// which marks the key that closes the group. Does nothing and gives false when the window name
// is NoWindowName: a group needs a window to send its commands to.
bool MakeGroupKey(ConfigTree& tree, std::int32_t index, const RemoteData& remote,
                  std::string_view windowName, std::string_view applicationPath);

// A change of the editor's window name while node `selected` is selected: when that node is
// the root, or the root still reads NewGroupRoot, the root becomes RootText. Gives whether it
// did.
bool AssignRoot(ConfigTree& tree, std::int32_t selected, std::string_view windowName,
                std::string_view applicationPath);

}  // namespace quillon

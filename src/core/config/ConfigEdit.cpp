#include "core/config/ConfigEdit.h"

#include <algorithm>

#include "core/config/NodeText.h"

namespace quillon {

namespace {

std::size_t TableEnd(std::int32_t count) {
  return static_cast<std::size_t>(std::clamp(count, 0, TableEntries));
}

// Adds one key node per learned key under `parent`, each locked key with its marker.
void AddKeyList(ConfigTree& tree, std::int32_t parent, const RemoteData& remote) {
  for (std::size_t k = 1; k < TableEnd(remote.KeyCount); ++k) {
    const LearnedKey& key = remote.Keys[k];
    const std::int32_t node = tree.AddChild(parent, KeyLabel(key));
    if (IsLockedKey(remote, key)) tree.AddChild(node, std::string(LockUpMarker));
  }
}

}  // namespace

std::string KeyLabel(const LearnedKey& key) {
  return std::to_string(key.KeyNumber) + ". " + key.Name.Text();
}

bool IsLockedKey(const RemoteData& remote, const LearnedKey& key) {
  for (std::size_t row = 1; row < TableEnd(remote.LockUpCount); row += 2) {
    if (remote.LockUps[row].Name.Raw() == key.Name.Raw()) return true;
  }
  return false;
}

std::string RootText(std::string_view windowName, std::string_view applicationPath) {
  return "[" + std::string(windowName) + "][" + std::string(applicationPath) + "]";
}

void NewConfiguration(ConfigTree& tree, const RemoteData& remote, std::string_view windowName,
                      std::string_view applicationPath) {
  tree.Clear();
  const std::int32_t root =
      tree.AddTopLevel(windowName == NoWindowName ? std::string(NewGroupRoot)
                                                  : RootText(windowName, applicationPath));
  AddKeyList(tree, root, remote);
}

bool MakeGroupKey(ConfigTree& tree, std::int32_t index, const RemoteData& remote,
                  std::string_view windowName, std::string_view applicationPath) {
  if (windowName == NoWindowName) return false;
  const std::string oldText = tree.Text(index);
  tree.SetText(index, oldText + " - [" + std::string(GroupKeyField) + "]" +
                          RootText(windowName, applicationPath));
  const std::int32_t first = tree.SubtreeEnd(index);
  AddKeyList(tree, index, remote);
  const std::int32_t end = tree.SubtreeEnd(index);
  for (std::int32_t node = first; node < end; ++node) {
    if (tree.Level(node) == tree.Level(index) + 1 && tree.Text(node) == oldText) {
      tree.AddChild(node, "<Command>[" + std::string(CloseGroupCommand) + "]");
      break;
    }
  }
  return true;
}

bool AssignRoot(ConfigTree& tree, std::int32_t selected, std::string_view windowName,
                std::string_view applicationPath) {
  if (tree.Empty() || (selected != 0 && tree.Text(0) != NewGroupRoot)) return false;
  tree.SetText(0, RootText(windowName, applicationPath));
  return true;
}

}  // namespace quillon

#include "core/config/ConfigEdit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/config/NodeText.h"

namespace quillon {
namespace {

using Nodes = std::vector<ConfigTree::Node>;

// A learned remote with the given keys and lock-up rows (each table with its trailing empty row
// counted, as learning stores it).
std::unique_ptr<RemoteData> Remote(const std::vector<std::string>& keys,
                                   const std::vector<std::string>& lockUps) {
  auto remote = NewRemoteData();
  const auto fill = [](std::array<LearnedKey, TableEntries>& table, std::int32_t& count,
                       const std::vector<std::string>& names) {
    count = static_cast<std::int32_t>(names.size()) + 1;
    for (std::size_t k = 0; k <= names.size(); ++k) {
      table[k + 1].KeyNumber = static_cast<std::int32_t>(k + 1);
      if (k < names.size()) table[k + 1].Name.Assign(names[k]);
    }
  };
  fill(remote->Keys, remote->KeyCount, keys);
  fill(remote->LockUps, remote->LockUpCount, lockUps);
  return remote;
}

// Keys 2 and 5 are locked: the earlier keys of the collided pairs VOL+/MUTE and STOP/POWER.
std::unique_ptr<RemoteData> LockingRemote() {
  return Remote({"POWER", "VOL+", "MUTE", "ЗВУК", "STOP"}, {"VOL+", "MUTE", "STOP", "POWER"});
}

const Nodes KeyList = {
    {"1. POWER", 1}, {"2. VOL+", 1}, {"Lock Up", 2}, {"3. MUTE", 1},
    {"4. ЗВУК", 1},  {"5. STOP", 1}, {"Lock Up", 2},
};

TEST(ConfigEdit, KeyLabelIsNumberAndName) {
  LearnedKey key;
  key.KeyNumber = 12;
  key.Name.Assign("Звук+");
  EXPECT_EQ(KeyLabel(key), "12. Звук+");
}

TEST(ConfigEdit, LockedKeysAreTheEarlierKeysOfCollidedPairs) {
  auto remote = LockingRemote();
  // A name in the trailing empty row lies outside the table.
  remote->LockUps[5].Name.Assign("ЗВУК");
  const struct {
    std::size_t Key;
    bool Locked;
  } cases[] = {{1, false}, {2, true}, {3, false}, {4, false}, {5, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(IsLockedKey(*remote, remote->Keys[c.Key]), c.Locked) << c.Key;
  }
}

TEST(ConfigEdit, NewConfigurationBuildsRootAndKeyList) {
  const auto remote = LockingRemote();
  const struct {
    std::string WindowName;
    std::string ApplicationPath;
    std::string Root;
  } cases[] = {
      {"none", "", "New group"},
      {"none", "C:\\Player\\player.exe", "New group"},
      {"Media Player", "C:\\Player\\player.exe", "[Media Player][C:\\Player\\player.exe]"},
  };
  for (const auto& c : cases) {
    ConfigTree tree;
    tree.AddTopLevel("[Old][C:\\old.exe]");
    tree.AddChild(0, "1. OLD");
    NewConfiguration(tree, *remote, c.WindowName, c.ApplicationPath);
    Nodes expected = {{c.Root, 0}};
    expected.insert(expected.end(), KeyList.begin(), KeyList.end());
    EXPECT_EQ(tree.All(), expected) << c.WindowName;
  }
  // A remote without keys gives the root alone.
  ConfigTree tree;
  NewConfiguration(tree, *NewRemoteData(), "none", "");
  EXPECT_EQ(tree.All(), (Nodes{{"New group", 0}}));
}

TEST(ConfigEdit, MakeGroupKeyAddsTheKeyListAndMarksTheClosingKey) {
  const auto remote = LockingRemote();
  ConfigTree tree;
  NewConfiguration(tree, *remote, "Player", "C:\\Player\\player.exe");
  const std::int32_t volume = 2;  // "2. VOL+", a locked key
  ASSERT_EQ(tree.Text(volume), "2. VOL+");
  const Nodes before = tree.All();
  EXPECT_FALSE(MakeGroupKey(tree, volume, *remote, "none", "C:\\v.exe"));  // needs a window
  EXPECT_EQ(tree.All(), before);

  EXPECT_TRUE(MakeGroupKey(tree, volume, *remote, "Viewer", "C:\\Viewer\\viewer.exe"));

  const Nodes expected = {
      {"[Player][C:\\Player\\player.exe]", 0},
      {"1. POWER", 1},
      {"2. VOL+ - [Group Key][Viewer][C:\\Viewer\\viewer.exe]", 1},
      {"Lock Up", 2},  // the key's own marker stays first
      {"1. POWER", 2},
      {"2. VOL+", 2},
      {"Lock Up", 3},
      {"<Command>[Close Group]", 3},
      {"3. MUTE", 2},
      {"4. ЗВУК", 2},
      {"5. STOP", 2},
      {"Lock Up", 3},
      {"3. MUTE", 1},
      {"4. ЗВУК", 1},
      {"5. STOP", 1},
      {"Lock Up", 2},
  };
  EXPECT_EQ(tree.All(), expected);

  CommandRecord record;
  ParseNodeText(tree.Text(volume), record);
  EXPECT_EQ(record.Kind, CommandKind::GroupKey);
  EXPECT_EQ(record.WindowName, "Viewer");
  EXPECT_EQ(record.ApplicationPath, "C:\\Viewer\\viewer.exe");
}

TEST(ConfigEdit, GroupKeysNest) {
  const auto remote = Remote({"PLAY", "NEXT"}, {});
  ConfigTree tree;
  NewConfiguration(tree, *remote, "Player", "C:\\p.exe");
  ASSERT_TRUE(MakeGroupKey(tree, 2, *remote, "Viewer", "C:\\v.exe"));
  ASSERT_EQ(tree.Text(3), "1. PLAY");
  ASSERT_TRUE(MakeGroupKey(tree, 3, *remote, "Slides", "C:\\v.exe"));

  const Nodes expected = {
      {"[Player][C:\\p.exe]", 0},
      {"1. PLAY", 1},
      {"2. NEXT - [Group Key][Viewer][C:\\v.exe]", 1},
      {"1. PLAY - [Group Key][Slides][C:\\v.exe]", 2},
      {"1. PLAY", 3},
      {"<Command>[Close Group]", 4},
      {"2. NEXT", 3},
      {"2. NEXT", 2},
      {"<Command>[Close Group]", 3},
  };
  EXPECT_EQ(tree.All(), expected);
}

TEST(ConfigEdit, AssignRootWhenTheRootIsSelectedOrStillNew) {
  const struct {
    std::string Root;
    std::int32_t Selected;
    bool Assigned;
  } cases[] = {
      {"New group", 0, true},
      {"New group", 3, true},
      {"[Old][C:\\old.exe]", 0, true},
      {"[Old][C:\\old.exe]", 3, false},
  };
  const auto remote = LockingRemote();
  for (const auto& c : cases) {
    ConfigTree tree;
    NewConfiguration(tree, *remote, "none", "");
    tree.SetText(0, c.Root);
    EXPECT_EQ(AssignRoot(tree, c.Selected, "Player", "C:\\p.exe"), c.Assigned) << c.Root;
    EXPECT_EQ(tree.Text(0), c.Assigned ? "[Player][C:\\p.exe]" : c.Root) << c.Root;
    EXPECT_EQ(tree.Text(1), "1. POWER");
  }
  ConfigTree empty;
  EXPECT_FALSE(AssignRoot(empty, 0, "Player", "C:\\p.exe"));
  EXPECT_TRUE(empty.Empty());
}

}  // namespace
}  // namespace quillon

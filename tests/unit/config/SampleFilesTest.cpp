// The sample remote and configuration under samples/remotes are made by the program's own code:
// the remote learned from recorded presses of a real remote, the configuration built with the
// editor's operations and saved. These tests rebuild both and compare them with the committed
// files; with QUILLON_REGENERATE_SAMPLES=1 in the environment they write the files instead.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "FakeConfigurationView.h"
#include "SampleRemote.h"
#include "TempFolder.h"
#include "core/config/ConfigEdit.h"
#include "core/config/ConfigFile.h"
#include "core/config/NodeText.h"
#include "platform/fake/FakeRegistry.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

const fs::path SampleConfiguration = test::SampleRemotes / "Living room.rir";

bool Regenerating() {
  const char* value = std::getenv("QUILLON_REGENERATE_SAMPLES");
  return value != nullptr && std::string_view(value) == "1";
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The child of `parent` whose text is `text`.
std::int32_t Child(const ConfigTree& tree, std::int32_t parent, std::string_view text) {
  for (std::int32_t i = parent + 1; i < tree.SubtreeEnd(parent); ++i) {
    if (tree.Level(i) == tree.Level(parent) + 1 && tree.Text(i) == text) return i;
  }
  throw std::out_of_range("no node " + std::string(text));
}

// A media player at the root; "Input" opens a group for a photo viewer, inside which "Down"
// opens a slide-show group. Commands of every kind: built-in, audio, send keys (with special
// keys in brackets inside the string) and window messages.
ConfigTree BuildSampleConfiguration(const RemoteData& remote) {
  const std::string player = "C:\\Program Files\\Media Player\\player.exe";
  const std::string viewer = "C:\\Program Files\\Photo Viewer\\viewer.exe";
  ConfigTree tree;
  NewConfiguration(tree, remote, NoWindowName, "");
  AssignRoot(tree, 0, "Media Player", player);
  const auto add = [&tree](std::int32_t parent, std::string_view key, std::string command) {
    tree.AddChild(Child(tree, parent, key), std::move(command));
  };
  add(0, "1. Power", "<Command>[Run/Close Application]");
  add(0, "2. Vol_up", "<AudioCommand>[Mixer 0/Master/Master/Volume+]");
  add(0, "3. Vol_dn", "<AudioCommand>[Mixer 0/Master/Master/Volume-]");
  add(0, "4. Mute", "<AudioCommand>[Mixer 0/Master/Master/Mute]");
  add(0, "6. Down", "<SendKey>[^{[Right]}]");

  const std::int32_t photos = Child(tree, 0, "5. Input");
  MakeGroupKey(tree, photos, remote, "Photo Viewer", viewer);
  add(photos, "1. Power", "<WM_>[WM_CLOSE,0,0]");
  add(photos, "2. Vol_up", "<SendKey>[[Prior]]");
  add(photos, "3. Vol_dn", "<SendKey>[[Next]]");
  add(photos, "4. Mute", "<WM_>[WM_COMMAND,40001,0]");

  const std::int32_t slides = Child(tree, photos, "6. Down");
  MakeGroupKey(tree, slides, remote, "Slide Show", viewer);
  add(slides, "1. Power", "<Command>[MouseLeftClick]");
  add(slides, "2. Vol_up", "<Command>[MouseUp]");
  add(slides, "3. Vol_dn", "<Command>[MouseDown]");
  add(slides, "4. Mute", "<SendKey>[[Space]]");
  return tree;
}

TEST(SampleFiles, RemotesAreTheOnesLearnedFromTheirCapture) {
  for (const auto& [receiver, sampleFolder] :
       {std::pair{test::SampleReceiver::Pts, test::SampleRemotes},
        std::pair{test::SampleReceiver::Ptk, test::SamplePtkRemotes}}) {
    test::TempFolder folder;
    if (Regenerating()) fs::create_directories(sampleFolder);
    const auto learned = test::LearnVizio(Regenerating() ? sampleFolder : folder.Path, receiver);
    ASSERT_TRUE(learned) << learned.ErrorMessage();
    const std::string bytes = ReadBytes(learned.Value());
    EXPECT_EQ(bytes.size(), sizeof(RemoteData));
    EXPECT_TRUE(bytes == ReadBytes(sampleFolder / "Vizio_VX32L.IRD"))
        << sampleFolder << "/Vizio_VX32L.IRD differs from the remote learned from its capture";
  }
}

TEST(SampleFiles, ConfigurationIsTheOneTheEditorBuilds) {
  test::TempFolder folder;
  const auto learned = test::LearnVizio(folder.Path);
  ASSERT_TRUE(learned) << learned.ErrorMessage();
  CurrentRemote current;
  ASSERT_TRUE(LoadRemoteFile(learned.Value(), current, English));
  const auto types = ScanRemoteTypes(folder.Path, English);
  ASSERT_TRUE(types && types.Value().size() == 1);

  const ConfigTree tree = BuildSampleConfiguration(*current.Record);
  if (Regenerating()) fs::create_directories(test::SampleRemotes);
  const fs::path path =
      Regenerating() ? SampleConfiguration : folder.Path / SampleConfiguration.filename();
  CurrentConfiguration configuration;
  test::FakeConfigurationView view;
  platform::FakeRegistry registry;
  ASSERT_TRUE(SaveConfiguration(path, tree, types.Value().front().DisplayName, configuration, view,
                                registry));
  EXPECT_EQ(ReadBytes(path), ReadBytes(SampleConfiguration));
}

TEST(SampleFiles, ConfigurationLoadsForTheSampleRemote) {
  const auto types = ScanRemoteTypes(test::SampleRemotes, English);
  ASSERT_TRUE(types) << types.ErrorMessage();
  std::vector<std::string> names;
  for (const RemoteType& type : types.Value()) names.push_back(type.DisplayName);
  EXPECT_EQ(names, (std::vector<std::string>{"VIZIO  VX32L"}));

  test::FakeConfigurationView view(names);
  platform::FakeRegistry registry;
  ConfigTree tree;
  CurrentConfiguration configuration;
  const auto loaded = LoadConfiguration(SampleConfiguration, tree, configuration, view, registry,
                                        LoadOccasion::Editor, English);
  ASSERT_TRUE(loaded) << loaded.ErrorMessage();
  EXPECT_EQ(configuration.Name, "Living room");
  EXPECT_EQ(tree.Text(tree.Count() - 1), "<Remoute Control Type> - VIZIO  VX32L");

  std::set<CommandKind> kinds;
  std::int32_t deepest = 0;
  for (const ConfigTree::Node& node : tree.All()) {
    CommandRecord record;
    ParseNodeText(node.Text, record);
    kinds.insert(record.Kind);
    deepest = std::max(deepest, node.Level);
  }
  EXPECT_EQ(kinds, (std::set<CommandKind>{CommandKind::GroupKey, CommandKind::Command,
                                          CommandKind::SendKeys, CommandKind::WindowMessage,
                                          CommandKind::AudioCommand, CommandKind::None}));
  EXPECT_EQ(deepest, 4);  // a command inside the group inside the group
}

}  // namespace
}  // namespace quillon

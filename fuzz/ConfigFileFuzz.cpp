// The configuration file: a file of any content loaded into the configuration tree as the
// editor loads it, saved and read back, and then dispatched: every key of a six-key remote
// pressed in turn, twice, so that the tree's group keys open and close.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "core/config/ConfigFile.h"
#include "core/config/KeyDispatch.h"
#include "core/config/NodeText.h"
#include "platform/fake/FakeEventLoop.h"
#include "platform/fake/FakeRegistry.h"

namespace {

using namespace quillon;

// The remote the seed configurations were made for.
constexpr std::string_view KeyNames[] = {"Power", "Vol_up", "Vol_dn", "Mute", "Input", "Down"};
constexpr std::string_view RemoteType = "VIZIO  VX32L";

struct View : ConfigurationView, HintDisplay, CommandExecutor {
  void SetCaption(std::string_view caption) override { Caption = caption; }
  bool HasRemoteType(std::string_view name) const override { return name == RemoteType; }
  void SelectRemoteType(std::string_view) override {}
  void LoadRemoteType(std::string_view) override {}
  void ShowNode(std::int32_t index) override { QUILLON_FUZZ_CHECK(index == 0); }
  void EnableEditor() override {}
  void ConfigurationLoaded() override {}
  void IRShowHint(const std::string& text) override { Hints += text.size(); }
  void CloseHint() override {}
  void ExecuteCommand(const CommandRecord& record) override {
    if (record.Kind == CommandKind::WindowMessage) ParseWindowMessage(record.Parameter);
    ++Commands;
  }

  std::string Caption;
  std::size_t Hints = 0;
  std::size_t Commands = 0;
};

struct Dispatch {
  Dispatch() {
    Remote->KeyCount = static_cast<std::int32_t>(std::size(KeyNames)) + 1;
    for (std::size_t k = 1; k <= std::size(KeyNames); ++k) {
      Remote->Keys[k].KeyNumber = static_cast<std::int32_t>(k);
      Remote->Keys[k].Name.Assign(KeyNames[k - 1]);
      Remote->Keys[k].Data[0].Assign(std::to_string(100 + k));
    }
    Pipeline.ReceiveEnabled = true;
  }

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  ReceiveSettings Settings;
  LearnedTimings Timings;
  DecodingLimits Limits;
  ReceivePipeline Pipeline{Loop, Settings, Timings, Limits};
  std::unique_ptr<RemoteData> Remote = NewRemoteData();
  DispatchOptions Options;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFile file("fuzz.rir");
  static const std::filesystem::path saved = file.Directory() / "saved.rir";
  file.Write(data, size);

  const Result<ConfigurationFileContent> read = ReadConfigurationFile(file.Path());
  if (!read) {
    QUILLON_FUZZ_CHECK(!read.ErrorMessage().empty());
    return 0;
  }

  ConfigTree tree;
  CurrentConfiguration current;
  View view;
  platform::FakeRegistry registry;
  const Result<ConfigurationLoad> loaded =
      LoadConfiguration(file.Path(), tree, current, view, registry, LoadOccasion::Editor, English);
  QUILLON_FUZZ_CHECK(loaded.Ok() ==
                     (!read.Value().Nodes.empty() && read.Value().RemoteType == RemoteType));
  if (!loaded) {
    QUILLON_FUZZ_CHECK(tree.Empty());
    return 0;
  }
  QUILLON_FUZZ_CHECK(tree.All() == read.Value().Nodes);

  // What is saved reads back as the same tree, with the remote type line added when the last
  // node is none.
  QUILLON_FUZZ_CHECK(SaveConfiguration(saved, tree, RemoteType, current, view, registry).Ok());
  const Result<ConfigurationFileContent> again = ReadConfigurationFile(saved);
  QUILLON_FUZZ_CHECK(again.Ok());
  std::vector<ConfigTree::Node> expected = tree.All();
  if (!expected.back().Text.starts_with(RemoteTypePrefix)) {
    expected.push_back({std::string(RemoteTypePrefix) + " - " + std::string(RemoteType), 0});
  }
  QUILLON_FUZZ_CHECK(again.Value().Nodes == expected);
  QUILLON_FUZZ_CHECK(again.Value().RemoteType == RemoteType);

  Dispatch bench;
  CommandDispatcher dispatcher(bench.Pipeline, tree, *bench.Remote, view, view, bench.Loop,
                               bench.Clock, bench.Options);
  for (int round = 0; round < 2; ++round) {
    for (std::int32_t key = 0; key <= static_cast<std::int32_t>(std::size(KeyNames)) + 1; ++key) {
      const CommandLookup lookup = dispatcher.FindCommand(key);
      QUILLON_FUZZ_CHECK(dispatcher.GroupDepth >= 0 &&
                         dispatcher.GroupDepth < CommandDispatcher::MaxGroups);
      if (lookup.Record.Kind == CommandKind::WindowMessage) {
        ParseWindowMessage(lookup.Record.Parameter);
      }
    }
  }
  for (std::size_t k = 1; k <= std::size(KeyNames); ++k) {
    dispatcher.KeyDispatch(std::string(bench.Remote->Keys[k].Data[0].Raw()), false);
    dispatcher.KeyDispatch({}, true);
  }
  return 0;
}

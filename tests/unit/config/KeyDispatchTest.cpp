#include "core/config/KeyDispatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/config/ConfigTree.h"
#include "platform/fake/FakeEventLoop.h"

namespace quillon {
namespace {

struct Recorder : HintDisplay, CommandExecutor {
  void IRShowHint(const std::string& text) override { Events.push_back("hint " + text); }
  void CloseHint() override { Events.push_back("close"); }
  void ExecuteCommand(const CommandRecord& record) override {
    Executed.push_back(record);
    Events.push_back("execute " + std::to_string(static_cast<int>(record.Kind)) + " " +
                     record.Parameter);
  }
  std::vector<std::string> Events;
  std::vector<CommandRecord> Executed;
};

// A media player at the root; key 2 opens a "Menu" group (without key 1), in which key 3 opens
// an "Inner" group and key 5, a group key with a display name, a "Music" group. Key 4 is
// locked: it collided with key 5 when learned.
const std::vector<ConfigTree::Node> Tree = {
    {"[Media Player][C:\\Player\\player.exe]", 0},
    {"1. POWER", 1},
    {"<Command>[Turn Off Computer]", 2},
    {"2. MENU - [Group Key][Menu][C:\\Menu\\menu.exe]", 1},
    {"2. MENU", 2},
    {"<Command>[Close Group]", 3},
    {"3. UP - [Group Key][Inner][C:\\Inner\\in.exe]", 2},
    {"1. POWER", 3},
    {"<WM_>[WM_CLOSE,0,0]", 4},
    {"3. UP", 3},
    {"<Command>[Close Group]", 4},
    {"4. MUTE", 3},
    {"Lock Up", 4},
    {"4. MUTE", 2},
    {"Lock Up", 3},
    {"5. PLAY [Start music] - [Group Key][Music][C:\\Music\\m.exe]", 2},
    {"1. POWER", 3},
    {"5. PLAY", 3},
    {"6. STOP", 2},
    {"<SendKey>[{ENTER}[x]]", 3},
    {"3. UP", 1},
    {"<AudioCommand>[Mixer 0/Master/PCM/Volume+]", 2},
    {"4. MUTE", 1},
    {"Lock Up", 2},
    {"<Command>[MouseLeft]", 2},
    {"5. PLAY", 1},
    {"6. STOP", 1},
    {"<Remoute Control Type> - VIZIO  VX32L", 0},
};

struct DispatchFixture : ::testing::Test {
  DispatchFixture() {
    const char* names[] = {"POWER", "MENU", "UP", "MUTE", "PLAY", "STOP"};
    Remote->KeyCount = 7;
    for (std::int32_t k = 1; k <= 6; ++k) {
      LearnedKey& key = Remote->Keys[static_cast<std::size_t>(k)];
      key.KeyNumber = k;
      key.Name.Assign(names[k - 1]);
      key.Data[0].Assign(std::to_string(1000 + k));
    }
    // Keys 4 and 5 collided on "9999": rows 1-2 of the lock-up table.
    Remote->Keys[4].Data[1].Assign("9999");
    Remote->Keys[5].Data[1].Assign("9999");
    Remote->LockUps[1] = Remote->Keys[4];
    Remote->LockUps[2] = Remote->Keys[5];
    Remote->LockUpCount = 3;
    Remote->Repeat.RepeatTop = 2;
    Remote->Repeat.RepeatFrame = {90000, 22500, 5600};
    Config.Assign(Tree);
    Pipeline.ReceiveEnabled = true;
  }

  CommandLookup Find(std::int32_t key) { return Dispatcher.FindCommand(key); }

  std::unique_ptr<RemoteData> Remote = NewRemoteData();
  ConfigTree Config;
  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  ReceiveSettings Settings;
  LearnedTimings Timings;
  DecodingLimits Limits;
  ReceivePipeline Pipeline{Loop, Settings, Timings, Limits};
  Recorder Display;
  DispatchOptions Options;
  CommandDispatcher Dispatcher{Pipeline, Config, *Remote, Display, Display, Loop, Clock, Options};
};

TEST_F(DispatchFixture, GroupKeysOpenNestAndClose) {
  const std::string player = "C:\\Player\\player.exe";
  const std::string menu = "C:\\Menu\\menu.exe";
  const std::string inner = "C:\\Inner\\in.exe";
  using Record = CommandRecord;
  const struct {
    std::int32_t Key;
    CommandRecord Record;
    std::string Hint;
    std::int32_t Depth;
  } presses[] = {
      {1, Record{"Media Player", player, CommandKind::Command, "Turn Off Computer"}, "1. POWER", 0},
      {3, Record{"Media Player", player, CommandKind::AudioCommand, "Mixer 0/Master/PCM/Volume+"},
       "3. UP", 0},
      {2, Record{"Menu", menu, CommandKind::GroupKey, ""}, "On[F]\r[Menu]\r2. MENU", 1},
      // Key 1 is not in the Menu group: no command, and not the root's either.
      {1, Record{"Menu", menu, CommandKind::None, ""}, "", 1},
      {6, Record{"Menu", menu, CommandKind::SendKeys, "{ENTER}[x]"}, "[F1]\r[Menu]\r6. STOP", 1},
      {3, Record{"Inner", inner, CommandKind::GroupKey, ""}, "On[F]\r[Inner]\r3. UP", 2},
      {1, Record{"Inner", inner, CommandKind::WindowMessage, "WM_CLOSE,0,0"},
       "[F2]\r[Inner]\r1. POWER", 2},
      {3, Record{"Menu", menu, CommandKind::GroupKey, ""}, "Off[F]\r[Menu]\r3. UP", 1},
      // A group key with a display name opens, and shows that name when it closes.
      {5, Record{"Music", "C:\\Music\\m.exe", CommandKind::GroupKey, ""}, "On[F]\r[Music]\r5. PLAY",
       2},
      {5, Record{"Menu", menu, CommandKind::GroupKey, ""}, "Off[F]\r[Menu]\rStart music", 1},
      {2, Record{"Media Player", player, CommandKind::GroupKey, ""}, "Off[F]\r2. MENU", 0},
      // A locked key's first child is the marker, which is no command.
      {4, Record{"Media Player", player, CommandKind::None, ""}, "4. MUTE", 0},
  };
  int step = 0;
  for (const auto& p : presses) {
    const CommandLookup lookup = Find(p.Key);
    EXPECT_EQ(lookup.Record, p.Record) << "press " << step;
    EXPECT_EQ(lookup.Hint, p.Hint) << "press " << step;
    EXPECT_EQ(Dispatcher.GroupDepth, p.Depth) << "press " << step;
    ++step;
  }
}

TEST_F(DispatchFixture, KeyDispatchRunsTheCommandAndShowsWhatHappens) {
  Options.Language = Bulgarian;
  const struct {
    std::string Code;
    bool Repeat;
    std::vector<std::string> Events;
  } bursts[] = {
      {"1001", false, {"execute 1 Turn Off Computer", "hint 1. POWER"}},
      // A repeat frame (an empty code) repeats the key matched last.
      {"", true, {"execute 1 Turn Off Computer", "hint 1. POWER"}},
      // Key 4's own code meets the lock-up pair: key 5 answers, which has no command here.
      {"1004", false, {"hint 5.PLAY: Няма присвоена команда", "execute 255 "}},
      // ... and a repeat frame after it repeats the key table's match, key 1.
      {"", true, {"execute 1 Turn Off Computer", "hint 1. POWER"}},
      {"7777", false, {}},
  };
  for (const auto& b : bursts) {
    Display.Events.clear();
    Dispatcher.KeyDispatch(b.Code, b.Repeat);
    EXPECT_EQ(Display.Events, b.Events) << b.Code;
    EXPECT_TRUE(Pipeline.ReceiveEnabled);
  }
  EXPECT_EQ(Dispatcher.LastCode, "7777");
}

TEST_F(DispatchFixture, RepeatBeforeAnyKeyClosesTheHint) {
  Dispatcher.KeyDispatch("", true);
  EXPECT_EQ(Display.Events, std::vector<std::string>{"close"});
}

TEST_F(DispatchFixture, UnknownKeyIsShownOnlyWhenAskedWithAMicrocontrollerReceiver) {
  for (const auto& [ptk, show, expected] :
       {std::tuple{false, true, false}, {true, false, false}, {true, true, true}}) {
    Display.Events.clear();
    Pipeline.PtkFound = ptk;
    Options.ShowUnknownButton = show;
    Dispatcher.KeyDispatch("424242", false);
    EXPECT_EQ(Display.Events == std::vector<std::string>{"hint ** Unknown key **"}, expected);
  }
}

TEST_F(DispatchFixture, HintClosesAfterTheHintInterval) {
  Dispatcher.SetHintInterval(2000);
  Dispatcher.KeyDispatch("1001", false);
  Display.Events.clear();
  Loop.AdvanceBy(1999);
  EXPECT_TRUE(Display.Events.empty());
  Loop.AdvanceBy(1);
  EXPECT_EQ(Display.Events, std::vector<std::string>{"close"});
  Loop.AdvanceBy(5000);
  EXPECT_EQ(Display.Events.size(), 1U);  // once, not every interval
}

TEST_F(DispatchFixture, GroupTablesStayInBounds) {
  // A group key whose node has no children still opens and closes.
  Config.Assign({{"[W][C:\\p.exe]", 0}, {"2. MENU - [Group Key][Menu][C:\\m.exe]", 1}});
  EXPECT_EQ(Find(2).Hint, "On[F]\r[Menu]\r2. MENU");
  EXPECT_EQ(Find(2).Hint, "Off[F]\r2. MENU");
  EXPECT_EQ(Dispatcher.GroupDepth, 0);

  // Groups nested 101 deep, keys 2 and 3 in turn: with 99 open, a further one opens nothing.
  std::vector<ConfigTree::Node> chain = {{"[W][C:\\p.exe]", 0}};
  for (std::int32_t level = 1; level <= 101; ++level) {
    chain.push_back({(level % 2 == 1 ? "2. MENU" : "3. UP") + std::string(" - [Group Key][G") +
                         std::to_string(level) + "][C:\\m.exe]",
                     level});
  }
  Config.Assign(chain);
  Dispatcher.ResetGroups();
  for (int press = 1; press <= 100; ++press) Find(press % 2 == 1 ? 2 : 3);
  EXPECT_EQ(Dispatcher.GroupDepth, CommandDispatcher::MaxGroups - 1);
  EXPECT_EQ(Dispatcher.GroupTexts[99], chain[99].Text);
  Find(2);  // the innermost group's own key closes it
  EXPECT_EQ(Dispatcher.GroupDepth, CommandDispatcher::MaxGroups - 2);
}

}  // namespace
}  // namespace quillon

#include "core/actions/AudioModel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/shell/Settings.h"
#include "platform/fake/FakeEventLoop.h"
#include "platform/fake/FakeMixer.h"
#include "platform/fake/FakeRegistry.h"

namespace quillon {
namespace {

using platform::FakeMixer;
using platform::FakeRegistryValue;
using Values = std::vector<std::uint32_t>;

// Control identifiers of FakeSoundCard().
constexpr std::uint32_t PcmVolume = 3;
constexpr std::uint32_t PcmMute = 4;
constexpr std::uint32_t CdVolume = 5;
constexpr std::uint32_t CaptureMux = 9;
constexpr std::uint32_t LineVolumeControl = 11;

// Entries of the line list of the "Master" destination.
constexpr std::int32_t PcmEntry = 1;
constexpr std::int32_t CdEntry = 2;
constexpr std::int32_t BeepEntry = 3;

std::function<void(AudioModel&)> MoveVolume(std::int32_t v) {
  return [v](AudioModel& m) { m.VolumeChange(v); };
}
std::function<void(AudioModel&)> MoveBalance(std::int32_t b) {
  return [b](AudioModel& m) { m.BalanceChange(b); };
}
std::function<void(AudioModel&)> Press(AudioAction a) {
  return [a](AudioModel& m) { m.Apply(a); };
}

// Two sound cards on virtual time, with the window's step settings in the fake registry.
struct AudioFixture : ::testing::Test {
  AudioFixture() {
    Mixer.AddDevice(platform::FakeSoundCard());
    Mixer.AddDevice(platform::FakeSoundCard());
  }

  // Runs what the loop has queued: the mixer's change notifications.
  void Pump() { Loop.AdvanceBy(1); }

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  FakeMixer Mixer{Loop};
  platform::FakeRegistry Registry;
};

TEST_F(AudioFixture, TheListsShowTheMixersTheirDestinationsAndLines) {
  AudioModel model(Mixer, Registry);
  EXPECT_EQ(model.MixerList(), (std::vector<std::string>{"Mixer 0", "Mixer 1"}));
  EXPECT_EQ(model.DestinationList(), (std::vector<std::string>{"Master", "Capture"}));
  EXPECT_EQ(model.LineList(), (std::vector<std::string>{"Master", "PCM", "CD", "Beep"}));
  EXPECT_EQ(model.MixerIndex(), 0);
  EXPECT_EQ(model.DestinationIndex(), 0);
  EXPECT_EQ(model.LineIndex(), 0);
  EXPECT_EQ(Mixer.OpenHandles(0), 1U);

  model.SelectDestination(1);
  EXPECT_EQ(model.LineList(), (std::vector<std::string>{"Capture", "Mic", "Line"}));
  EXPECT_EQ(model.LineIndex(), 0);

  model.SelectMixer(1);  // the old device is closed first
  EXPECT_EQ(Mixer.OpenHandles(0), 0U);
  EXPECT_EQ(Mixer.OpenHandles(1), 1U);
  EXPECT_EQ(model.DestinationIndex(), 0);
  EXPECT_EQ(model.LineList(), (std::vector<std::string>{"Master", "PCM", "CD", "Beep"}));
}

TEST_F(AudioFixture, PositionsAndChannelVolumesFollowTheStepArithmetic) {
  const struct {
    const char* Case;
    std::int32_t Entry;
    std::uint32_t Control;
    Values Seed;
    std::function<void(AudioModel&)> Act;
    std::int32_t Volume;
    std::int32_t Balance;
    std::int32_t BalanceMax;
    Values Written;
    std::int32_t ReadVolume;  // after the change notification
    std::int32_t ReadBalance;
  } cases[] = {
      {"a balance of 10000 at 40000 turns the left channel down", PcmEntry, PcmVolume,
       Values{40000, 40000}, MoveBalance(10000), 40000, 10000, 40000, Values{30000, 40000}, 40000,
       10000},
      {"lowering the volume to 20000 rescales the balance", PcmEntry, PcmVolume,
       Values{30000, 40000}, MoveVolume(20000), 20000, 5000, 20000, Values{15000, 20000}, 20000,
       5000},
      {"a balance below a hundredth of the volume snaps to the centre", PcmEntry, PcmVolume,
       Values{39610, 40000}, MoveVolume(40000), 40000, 0, 40000, Values{40000, 40000}, 40000, 0},
      {"a balance of a hundredth of the volume stays", PcmEntry, PcmVolume, Values{39600, 40000},
       MoveVolume(40000), 40000, 400, 40000, Values{39600, 40000}, 40000, 400},
      {"volume 0 resets the balance range", PcmEntry, PcmVolume, Values{30000, 40000},
       MoveVolume(0), 0, 0, 65535, Values{0, 0}, 0, 0},
      {"a uniform control gets only the left value", CdEntry, CdVolume, Values{30000},
       MoveBalance(10000), 30000, 10000, 30000, Values{20000}, 20000, 0},
      {"Volume+ at 60000 with step 10 gives 65535", PcmEntry, PcmVolume, Values{60000, 60000},
       Press(AudioAction::VolumeUp), 65535, 0, 65535, Values{65535, 65535}, 65535, 0},
      {"Volume+ at 40000 adds 6553", PcmEntry, PcmVolume, Values{40000, 40000},
       Press(AudioAction::VolumeUp), 46553, 0, 46553, Values{46553, 46553}, 46553, 0},
      {"Volume- at 6000 gives 0", PcmEntry, PcmVolume, Values{6000, 6000},
       Press(AudioAction::VolumeDown), 0, 0, 65535, Values{0, 0}, 0, 0},
      {"BalanceRight from 0 gives 4000", PcmEntry, PcmVolume, Values{40000, 40000},
       Press(AudioAction::BalanceRight), 40000, 4000, 40000, Values{36000, 40000}, 40000, 4000},
      {"BalanceRight from 38000 gives 40000", PcmEntry, PcmVolume, Values{2000, 40000},
       Press(AudioAction::BalanceRight), 40000, 40000, 40000, Values{0, 40000}, 40000, 40000},
      {"BalanceLeft from 2000 gives the centre", PcmEntry, PcmVolume, Values{38000, 40000},
       Press(AudioAction::BalanceLeft), 40000, 0, 40000, Values{40000, 40000}, 40000, 0},
      {"BalanceLeft from -38000 gives -40000", PcmEntry, PcmVolume, Values{40000, 2000},
       Press(AudioAction::BalanceLeft), 40000, -40000, 40000, Values{40000, 0}, 40000, -40000},
      {"Mute writes both channels at the volume position", PcmEntry, PcmVolume,
       Values{30000, 40000}, Press(AudioAction::Mute), 40000, 10000, 40000, Values{40000, 40000},
       40000, 0},
  };

  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    FakeMixer mixer(Loop);
    mixer.AddDevice(platform::FakeSoundCard());
    mixer.SetValues(0, c.Control, c.Seed);
    AudioModel model(mixer, Registry);
    model.SelectLine(c.Entry);

    c.Act(model);
    EXPECT_EQ(model.Volume(), c.Volume);
    EXPECT_EQ(model.Balance(), c.Balance);
    EXPECT_EQ(model.BalanceMax(), c.BalanceMax);
    EXPECT_EQ(model.BalanceMin(), -c.BalanceMax);
    EXPECT_EQ(mixer.Values(0, c.Control), c.Written);

    const std::size_t writes = mixer.Writes().size();
    Pump();
    EXPECT_EQ(model.Volume(), c.ReadVolume);
    EXPECT_EQ(model.Balance(), c.ReadBalance);
    EXPECT_EQ(mixer.Writes().size(), writes);
  }
}

TEST_F(AudioFixture, ReadingChannelVolumesShowsTheLouderAsVolumeAndTheirDifferenceAsBalance) {
  Mixer.SetValues(0, PcmVolume, {30000, 40000});
  AudioModel model(Mixer, Registry);
  model.SelectLine(PcmEntry);
  EXPECT_EQ(model.Volume(), 40000);
  EXPECT_EQ(model.Balance(), 10000);
  EXPECT_TRUE(model.VolumeEnabled());
  EXPECT_TRUE(model.BalanceEnabled());
  EXPECT_TRUE(model.VolumeButtonsEnabled());
  EXPECT_TRUE(model.MuteEnabled());

  model.SelectLine(CdEntry);  // one value for both channels: no balance
  EXPECT_FALSE(model.BalanceEnabled());

  model.SelectLine(BeepEntry);  // its volume control is disabled, it has no mute
  EXPECT_FALSE(model.VolumeEnabled());
  EXPECT_FALSE(model.VolumeButtonsEnabled());
  EXPECT_FALSE(model.MuteEnabled());
}

TEST_F(AudioFixture, AChangeNotificationReloadsTheLineWithoutWritingBack) {
  AudioModel model(Mixer, Registry);
  model.SelectLine(PcmEntry);
  ASSERT_EQ(model.Volume(), 0);

  Mixer.SetValues(0, PcmVolume, {10000, 20000});
  Mixer.SetValues(0, PcmMute, {1, 1});
  EXPECT_EQ(model.Volume(), 0);  // the notification arrives through the loop
  Pump();
  EXPECT_EQ(model.Volume(), 20000);
  EXPECT_EQ(model.Balance(), 10000);
  EXPECT_EQ(model.BalanceMax(), 20000);
  EXPECT_TRUE(model.Mute());
  EXPECT_TRUE(Mixer.Writes().empty());
}

TEST_F(AudioFixture, TheMultiplexerIsTheMuteOfACaptureSourceLine) {
  AudioModel model(Mixer, Registry);
  model.SelectDestination(1);
  model.SelectLine(2);  // "Line"; the multiplexer selects "Mic"
  EXPECT_TRUE(model.MuteEnabled());
  EXPECT_FALSE(model.Mute());

  model.MuteChange(true);
  EXPECT_EQ(Mixer.Values(0, CaptureMux), (Values{0, 1}));
  const std::vector<FakeMixer::WriteRecord> writes = {{0, CaptureMux, {0, 1}},
                                                      {0, LineVolumeControl, {0, 0}}};
  EXPECT_EQ(Mixer.Writes(), writes);

  model.MuteChange(false);  // the device refuses to leave out the one item taken
  EXPECT_EQ(Mixer.Values(0, CaptureMux), (Values{0, 1}));

  model.SelectLine(1);  // "Mic" is no longer taken
  EXPECT_FALSE(model.Mute());
  model.SelectLine(0);  // the destination's own line has no mute
  EXPECT_FALSE(model.MuteEnabled());
}

TEST_F(AudioFixture, ACommandSelectsItsLineByExactTextAndActs) {
  Mixer.SetValues(1, LineVolumeControl, {40000, 40000});
  AudioModel model(Mixer, Registry);
  model.ExecuteAudioCommand("Mixer 1/Capture/Line/Volume-");
  EXPECT_EQ(model.MixerIndex(), 1);
  EXPECT_EQ(model.DestinationIndex(), 1);
  EXPECT_EQ(model.LineIndex(), 2);
  EXPECT_EQ(model.Volume(), 33447);
  EXPECT_EQ(Mixer.Values(1, LineVolumeControl), (Values{33447, 33447}));
  EXPECT_EQ(model.CommandParameter(AudioAction::BalanceLeft), "Mixer 1/Capture/Line/BalanceLeft");

  // The action starts from the line's present state, even when it changed unannounced.
  Mixer.SetValues(1, LineVolumeControl, {10000, 10000});
  model.ExecuteAudioCommand("Mixer 1/Capture/Line/Volume+");
  EXPECT_EQ(Mixer.Values(1, LineVolumeControl), (Values{16553, 16553}));
}

TEST_F(AudioFixture, PartsThatNameNoEntryLeaveNoEntrySelected) {
  AudioModel model(Mixer, Registry);
  model.ExecuteAudioCommand("Mixer 0/Master/PCM/Louder");  // no such action: selection only
  EXPECT_EQ(model.LineIndex(), PcmEntry);
  EXPECT_TRUE(Mixer.Writes().empty());

  // "Mic/Line" is no line of any list: the split takes "Mixer 0/Capture" for the device.
  model.ExecuteAudioCommand("Mixer 0/Capture/Mic/Line/Mute");
  EXPECT_EQ(model.MixerIndex(), -1);
  EXPECT_EQ(model.DestinationIndex(), -1);
  EXPECT_EQ(model.LineIndex(), -1);
  EXPECT_TRUE(model.Mute());  // the box toggled, but nothing was written
  EXPECT_TRUE(Mixer.Writes().empty());
}

TEST(AudioCommand, SplitsAtTheLastThreeSlashes) {
  const struct {
    const char* Parameter;
    AudioCommandParts Parts;
  } cases[] = {
      {"Mixer 0/Master/PCM/Volume+", {"Mixer 0", "Master", "PCM", "Volume+"}},
      {"USB/Mixer 1/Capture/Mic/Mute", {"USB/Mixer 1", "Capture", "Mic", "Mute"}},
      {"Mixer 0/Master/Mic/Line/Mute", {"Mixer 0/Master", "Mic", "Line", "Mute"}},
      {"Master/PCM/Volume-", {"", "Master", "PCM", "Volume-"}},
      {"Mixer 0/Master/PCM/", {"Mixer 0", "Master", "PCM", ""}},
      {"Volume+", {"", "", "", "Volume+"}},
      {"", {"", "", "", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitAudioCommand(c.Parameter), c.Parts) << c.Parameter;

  for (const AudioAction action :
       {AudioAction::VolumeUp, AudioAction::VolumeDown, AudioAction::BalanceLeft,
        AudioAction::BalanceRight, AudioAction::Mute}) {
    EXPECT_EQ(FindAudioAction(AudioActionName(action)), action);
  }
  EXPECT_EQ(FindAudioAction("volume+"), std::nullopt);
}

TEST(AudioCommand, WithoutAMixerNothingIsWrittenAndTheWindowSaysSo) {
  platform::FakeClock clock;
  platform::FakeEventLoop loop(clock);
  FakeMixer mixer(loop);
  platform::FakeRegistry registry;
  AudioModel model(mixer, registry);
  EXPECT_TRUE(model.NoMixerPresent());
  EXPECT_FALSE(model.ListsEnabled());
  EXPECT_FALSE(model.VolumeEnabled());
  EXPECT_FALSE(model.MuteEnabled());
  EXPECT_TRUE(model.MixerList().empty());

  model.ExecuteAudioCommand("Mixer 0/Master/Master/Volume+");
  EXPECT_TRUE(mixer.Writes().empty());
}

TEST_F(AudioFixture, StepsAreReadClampedAndStored) {
  Registry.SetValue(ProductKey, "VolumeStep", std::uint32_t{25});
  Registry.SetValue(ProductKey, "BalanceStep", std::uint32_t{99});
  AudioModel model(Mixer, Registry);
  EXPECT_EQ(model.AudioStep(), 25);
  EXPECT_EQ(model.BalStep(), 50);

  model.SetAudioStep(0);
  model.SetBalStep(5);
  EXPECT_EQ(model.AudioStep(), 1);
  ASSERT_TRUE(model.SaveSteps());
  EXPECT_EQ(Registry.Value(ProductKey, "VolumeStep"), FakeRegistryValue{std::uint32_t{1}});
  EXPECT_EQ(Registry.Value(ProductKey, "BalanceStep"), FakeRegistryValue{std::uint32_t{5}});

  platform::FakeRegistry empty;
  const AudioModel defaults(Mixer, empty);
  EXPECT_EQ(defaults.AudioStep(), 10);
  EXPECT_EQ(defaults.BalStep(), 10);
}

}  // namespace
}  // namespace quillon

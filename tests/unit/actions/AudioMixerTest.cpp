#include "core/actions/AudioMixer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/fake/FakeEventLoop.h"
#include "platform/fake/FakeMixer.h"

namespace quillon {
namespace {

using platform::FakeMixer;
using platform::MixerControl;
using platform::MixerControlType;
using Values = std::vector<std::uint32_t>;

struct MixerFixture : ::testing::Test {
  MixerFixture() {
    Mixer.AddDevice(platform::FakeSoundCard());
    Mixer.SetValues(0, 3, {30000, 40000});  // PCM volume
    Mixer.SetValues(0, 4, {1, 1});          // PCM mute
    Mixer.SetValues(0, 5, {20000});         // CD uniform volume
    Wrapper.SetMixerId(0);
  }

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  FakeMixer Mixer{Loop};
  TAudioMixer Wrapper{Mixer};
};

TEST_F(MixerFixture, GetVolumeReadsChannelsMuteAndWhereTheMuteCameFrom) {
  const struct {
    const char* Line;
    std::int32_t Destination;
    std::int32_t Source;
    LineVolume Read;
  } cases[] = {
      {"Master", 0, -1, {0, 0, true, false, 0, false, false}},
      {"PCM", 0, 0, {30000, 40000, true, false, 1, false, false}},
      {"CD", 0, 1, {20000, 20000, false, false, 0, false, false}},
      {"Beep", 0, 2, {0, 0, false, true, -1, false, false}},
      {"Capture", 1, -1, {0, 0, true, false, -1, false, false}},
      {"Mic (taken by the multiplexer)", 1, 0, {0, 0, false, false, 1, false, true}},
      {"Line", 1, 1, {0, 0, true, false, 0, false, true}},
      {"a source line beyond the list", 0, 3, {}},
      {"a destination beyond the list", 2, -1, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Wrapper.GetVolume(c.Destination, c.Source), c.Read) << c.Line;
  }
}

TEST_F(MixerFixture, SetVolumeWritesTheFirstVolumeAndMuteControls) {
  const struct {
    const char* Case;
    std::int32_t Source;
    std::int32_t Mute;
    std::int32_t Right;
    std::int32_t Left;
    std::vector<FakeMixer::WriteRecord> Writes;
  } cases[] = {
      {"both channels and the mute", 0, 0, 25000, 35000, {{0, 3, {35000, 25000}}, {0, 4, {0, 0}}}},
      {"no right value repeats the left", 0, -1, -1, 12000, {{0, 3, {12000, 12000}}}},
      {"no left value leaves the volume", 0, 1, 5000, -1, {{0, 4, {1, 1}}}},
      {"a uniform control gets the left value", 1, -1, 50000, 10000, {{0, 5, {10000}}}},
      {"the destination's own line", -1, 1, 100, 200, {{0, 1, {200, 100}}, {0, 2, {1}}}},
      {"a source line beyond the list", 7, 1, 100, 200, {}},
  };
  for (const auto& c : cases) {
    FakeMixer mixer(Loop);
    mixer.AddDevice(platform::FakeSoundCard());
    TAudioMixer wrapper(mixer);
    wrapper.SetMixerId(0);
    EXPECT_TRUE(wrapper.SetVolume(0, c.Source, c.Mute, c.Right, c.Left)) << c.Case;
    EXPECT_EQ(mixer.Writes(), c.Writes) << c.Case;
  }
  EXPECT_FALSE(Wrapper.SetVolume(2, -1, 0, 0, 0));
  EXPECT_FALSE(Wrapper.SetVolume(-1, -1, 0, 0, 0));
}

TEST_F(MixerFixture, ChannelsPastTheSecondTakeTheLouderOfTheTwo) {
  FakeMixer mixer(Loop);
  mixer.AddDevice(
      {{{1, "Surround", 4, {MixerControl{1, MixerControlType::Volume, false, false, {}}}}, {}}});
  TAudioMixer wrapper(mixer);
  wrapper.SetMixerId(0);
  ASSERT_TRUE(wrapper.SetVolume(0, -1, -1, 20000, 30000));
  EXPECT_EQ(mixer.Values(0, 1), (Values{30000, 20000, 30000, 30000}));
}

TEST_F(MixerFixture, TheOpenDeviceReportsEveryChangeThroughTheLoop) {
  int changes = 0;
  Wrapper.OnControlChange = [&changes] { ++changes; };
  ASSERT_TRUE(Wrapper.SetVolume(0, 0, -1, 100, 100));
  Mixer.SetValues(0, 6, {1});
  EXPECT_EQ(changes, 0);
  Loop.AdvanceBy(1);
  EXPECT_EQ(changes, 2);

  EXPECT_EQ(Wrapper.MixerCount(), 1);
  EXPECT_EQ(Wrapper.MixerId(), 0);
  Wrapper.SetMixerId(3);  // out of range: the open device stays
  EXPECT_EQ(Wrapper.MixerId(), 0);
  EXPECT_EQ(Mixer.OpenHandles(0), 1U);
}

TEST(AudioMixer, ANotificationQueuedForAClosedDeviceIsDropped) {
  platform::FakeClock clock;
  platform::FakeEventLoop loop(clock);
  FakeMixer mixer(loop);
  mixer.AddDevice(platform::FakeSoundCard());
  int changes = 0;
  {
    TAudioMixer wrapper(mixer);
    wrapper.OnControlChange = [&changes] { ++changes; };
    wrapper.SetMixerId(0);
    mixer.SetValues(0, 1, {7, 7});
  }
  loop.AdvanceBy(1);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(mixer.OpenHandles(0), 0U);
}

}  // namespace
}  // namespace quillon

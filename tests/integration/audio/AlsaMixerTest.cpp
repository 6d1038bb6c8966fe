// The ALSA mixer against a real sound server: PulseAudio with a null sink, reached through
// ALSA's pulse plugin as the "default" device. Each test starts its own server and ends it.

#include "platform/linux/AlsaMixer.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "PulseServer.h"
#include "core/actions/AudioModel.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/linux/AlsaMixerScale.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/PollEventLoop.h"

namespace quillon {
namespace {

using platform::MixerControlType;
using Values = std::vector<std::uint32_t>;

// The pulse plugin's volume scale: PulseAudio's own volumes, 0 to 100 % (65536).
const platform::AlsaVolumeScale PulseScale(0, 65536);

std::int32_t Shown(long pulseVolume) {
  return static_cast<std::int32_t>(PulseScale.FromRaw(pulseVolume));
}
long Pulse(std::int32_t shown) { return PulseScale.ToRaw(static_cast<std::uint32_t>(shown)); }

// The sink as ALSA shows it to a program of its own: a handle opened for each reading.
struct Master {
  long Left = -1;
  long Right = -1;
  bool Sounding = false;
  bool operator==(const Master&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Master& m) {
  return out << "{" << m.Left << ", " << m.Right << (m.Sounding ? ", on}" : ", off}");
}

std::optional<Master> ReadMaster() {
  snd_mixer_t* mixer = nullptr;
  if (snd_mixer_open(&mixer, 0) < 0) return std::nullopt;
  std::optional<Master> read;
  if (snd_mixer_attach(mixer, "default") >= 0 &&
      snd_mixer_selem_register(mixer, nullptr, nullptr) >= 0 && snd_mixer_load(mixer) >= 0) {
    for (snd_mixer_elem_t* elem = snd_mixer_first_elem(mixer); elem != nullptr;
         elem = snd_mixer_elem_next(elem)) {
      if (std::string(snd_mixer_selem_get_name(elem)) != "Master") continue;
      Master master;
      int on = 0;
      snd_mixer_selem_get_playback_volume(elem, SND_MIXER_SCHN_FRONT_LEFT, &master.Left);
      snd_mixer_selem_get_playback_volume(elem, SND_MIXER_SCHN_FRONT_RIGHT, &master.Right);
      snd_mixer_selem_get_playback_switch(elem, SND_MIXER_SCHN_FRONT_LEFT, &on);
      master.Sounding = on != 0;
      read = master;
    }
  }
  snd_mixer_close(mixer);
  return read;
}

class AudioIntegration : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Server.Start()) << Server.Log(); }
  void TearDown() override { Server.Stop(); }

  // Runs the event loop until `done` holds, for 5 s at most; true when it held.
  bool RunUntil(const std::function<bool()>& done) {
    const std::uint32_t deadline = Clock.TickCount() + 5000;
    while (!done()) {
      if (platform::TickReached(Clock.TickCount(), deadline)) return false;
      Loop.RunUntil(Clock.TickCount() + 10);
    }
    return true;
  }

  // Waits until the sink holds `expected` and the model shows the same line state.
  void ExpectSettled(const AudioModel& model, const Master& expected, std::int32_t volume,
                     std::int32_t balance) {
    std::optional<Master> seen;
    EXPECT_TRUE(RunUntil([&] {
      seen = ReadMaster();
      return seen == expected && model.Volume() == volume && model.Balance() == balance &&
             model.Mute() != expected.Sounding;
    })) << "sink "
        << (seen ? ::testing::PrintToString(*seen) : "unreadable") << ", expected " << expected
        << "; model " << model.Volume() << "/" << model.Balance() << ", expected " << volume << "/"
        << balance;
  }

  test::PulseServer Server;
  platform::LinuxClock Clock;
  platform::PollEventLoop Loop{Clock};
  platform::FakeRegistry Registry;
};

TEST_F(AudioIntegration, TheDefaultDeviceShowsThePlaybackAndCaptureSides) {
  platform::AlsaMixer mixer(Loop);
  ASSERT_FALSE(mixer.DeviceNames().empty());
  EXPECT_EQ(mixer.DeviceNames().front(), "default");
  const auto device = mixer.Open(0, [] {});
  ASSERT_TRUE(device);

  const auto destinations = device->Destinations();
  ASSERT_EQ(destinations.size(), 2U);
  const platform::MixerLine& playback = destinations[0].Line;
  EXPECT_EQ(playback.Name, "Master");
  EXPECT_EQ(playback.Channels, 2U);
  ASSERT_EQ(playback.Controls.size(), 2U);
  EXPECT_EQ(playback.Controls[0].Type, MixerControlType::Volume);
  EXPECT_FALSE(playback.Controls[0].Uniform);
  EXPECT_EQ(playback.Controls[1].Type, MixerControlType::Mute);
  EXPECT_TRUE(playback.Controls[1].Uniform);  // one switch for both channels
  EXPECT_EQ(destinations[1].Line.Name, "Capture");
}

TEST_F(AudioIntegration, AVolumeSetIsReadBackUnchanged) {
  platform::AlsaMixer mixer(Loop);
  const auto device = mixer.Open(0, [] {});
  ASSERT_TRUE(device);
  const std::uint32_t volume = device->Destinations()[0].Line.Controls[0].Id;
  for (const Values& values : std::vector<Values>{
           {0, 65535}, {1, 2}, {12345, 54321}, {32767, 32768}, {65534, 40000}, {65535, 0}}) {
    ASSERT_TRUE(device->Write(volume, values));
    EXPECT_EQ(device->Read(volume), values);
    const auto fresh = mixer.Open(0, [] {});  // reads what the server holds
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->Read(volume), values);
  }
}

TEST_F(AudioIntegration, AudioCommandsChangeTheSinkThroughAlsa) {
  platform::AlsaMixer mixer(Loop);
  AudioModel model(mixer, Registry);
  ASSERT_EQ(model.MixerList(), std::vector<std::string>{"Mixer 0"});
  ExpectSettled(model, {65536, 65536, true}, 65535, 0);

  model.ExecuteAudioCommand("Mixer 0/Master/Master/Volume-");
  model.ExecuteAudioCommand("Mixer 0/Master/Master/Volume-");
  ExpectSettled(model, {Pulse(52429), Pulse(52429), true}, 52429, 0);

  model.ExecuteAudioCommand("Mixer 0/Master/Master/Volume+");
  ExpectSettled(model, {Pulse(58982), Pulse(58982), true}, 58982, 0);

  // One step of a tenth of the volume to the left: the right channel turns down.
  model.ExecuteAudioCommand("Mixer 0/Master/Master/BalanceLeft");
  ExpectSettled(model, {Pulse(58982), Pulse(53084), true}, 58982, -5898);

  // Muting writes both channels at the volume position.
  model.ExecuteAudioCommand("Mixer 0/Master/Master/Mute");
  ExpectSettled(model, {Pulse(58982), Pulse(58982), false}, 58982, 0);
  model.ExecuteAudioCommand("Mixer 0/Master/Master/Mute");
  ExpectSettled(model, {Pulse(58982), Pulse(58982), true}, 58982, 0);
}

TEST_F(AudioIntegration, AChangeMadeByAnotherProgramReachesTheModel) {
  platform::AlsaMixer mixer(Loop);
  AudioModel model(mixer, Registry);
  ASSERT_EQ(model.Volume(), 65535);

  ASSERT_TRUE(Server.Pactl({"set-sink-volume", test::PulseServer::SinkName, "30000", "50000"}));
  ExpectSettled(model, {30000, 50000, true}, Shown(50000), Shown(50000) - Shown(30000));

  ASSERT_TRUE(Server.Pactl({"set-sink-mute", test::PulseServer::SinkName, "1"}));
  ExpectSettled(model, {30000, 50000, false}, Shown(50000), Shown(50000) - Shown(30000));
}

TEST(AlsaVolumeScale, FineScalesGiveEveryValueBack) {
  for (const auto& [min, max] : std::vector<std::pair<long, long>>{
           {0, 65535}, {0, 65536}, {-5000, 70000}, {0, 2147483647}}) {
    const platform::AlsaVolumeScale scale(min, max);
    std::uint32_t drifted = 0;
    for (std::uint32_t value = 0; value <= platform::MaxMixerVolume; ++value) {
      if (scale.FromRaw(scale.ToRaw(value)) != value) ++drifted;
    }
    EXPECT_EQ(drifted, 0U) << min << ".." << max;
    EXPECT_EQ(scale.ToRaw(0), min);
    EXPECT_EQ(scale.ToRaw(platform::MaxMixerVolume), max);
  }
}

TEST(AlsaVolumeScale, ACoarseScaleGivesBackTheValueWrittenUntilTheStepChanges) {
  platform::AlsaVolumeScale scale(0, 31);
  const long raw = scale.ToRaw(40000);
  EXPECT_EQ(raw, 19);
  EXPECT_EQ(scale.FromRaw(raw), 40167U);  // the step's own value
  scale.Remember(raw, 40000);
  EXPECT_EQ(scale.FromRaw(raw), 40000U);
  EXPECT_EQ(scale.FromRaw(20), 42281U);  // moved by another program
  EXPECT_EQ(scale.FromRaw(-3), 0U);
  EXPECT_EQ(scale.FromRaw(99), 65535U);
}

}  // namespace
}  // namespace quillon

#include "platform/linux/AlsaMixer.h"

#include <alsa/asoundlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <utility>

#include "platform/linux/AlsaMixerScale.h"

namespace quillon::platform {

namespace {

enum class Side : std::uint8_t { Playback, Capture };

struct MixerHandleDeleter {
  void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
using MixerHandle = std::unique_ptr<snd_mixer_t, MixerHandleDeleter>;

struct SelemIdDeleter {
  void operator()(snd_mixer_selem_id_t* id) const { snd_mixer_selem_id_free(id); }
};
using SelemId = std::unique_ptr<snd_mixer_selem_id_t, SelemIdDeleter>;

// Opens `name` as a simple mixer with its elements loaded; null when that fails. Events are
// read without blocking, so that handling them takes only what is pending.
MixerHandle OpenHandle(const std::string& name) {
  snd_mixer_t* raw = nullptr;
  if (snd_mixer_open(&raw, 0) < 0) return nullptr;
  MixerHandle mixer(raw);
  snd_hctl_t* hctl = nullptr;
  if (snd_mixer_attach(raw, name.c_str()) < 0 ||
      snd_mixer_selem_register(raw, nullptr, nullptr) < 0 || snd_mixer_load(raw) < 0 ||
      snd_mixer_get_hctl(raw, name.c_str(), &hctl) < 0 || snd_hctl_nonblock(hctl, 1) < 0) {
    return nullptr;
  }
  return mixer;
}

bool OnSide(snd_mixer_elem_t* elem, Side side) {
  return side == Side::Playback ? snd_mixer_selem_has_playback_volume(elem) != 0 ||
                                      snd_mixer_selem_has_playback_switch(elem) != 0
                                : snd_mixer_selem_has_capture_volume(elem) != 0 ||
                                      snd_mixer_selem_has_capture_switch(elem) != 0;
}

// "Mic", or "Mic 1" for the second element of that name.
std::string ElementName(snd_mixer_elem_t* elem) {
  std::string name = snd_mixer_selem_get_name(elem);
  if (const unsigned index = snd_mixer_selem_get_index(elem); index > 0) {
    name += ' ' + std::to_string(index);
  }
  return name;
}

std::vector<snd_mixer_selem_channel_id_t> Channels(snd_mixer_elem_t* elem, Side side) {
  const bool playback = side == Side::Playback;
  if (playback ? snd_mixer_selem_is_playback_mono(elem) : snd_mixer_selem_is_capture_mono(elem)) {
    return {SND_MIXER_SCHN_MONO};
  }
  std::vector<snd_mixer_selem_channel_id_t> channels;
  for (int c = SND_MIXER_SCHN_FRONT_LEFT; c <= SND_MIXER_SCHN_LAST; ++c) {
    const auto channel = static_cast<snd_mixer_selem_channel_id_t>(c);
    if (playback ? snd_mixer_selem_has_playback_channel(elem, channel)
                 : snd_mixer_selem_has_capture_channel(elem, channel)) {
      channels.push_back(channel);
    }
  }
  if (channels.empty()) channels.push_back(SND_MIXER_SCHN_MONO);
  return channels;
}

// Where a control's values live: an element, its side, and the channels its values stand for.
struct ElementControl {
  SelemId Element;
  Side Direction = Side::Playback;
  MixerControlType Type = MixerControlType::Volume;
  std::vector<snd_mixer_selem_channel_id_t> Channels;  // one per value (volume, mute)
  std::vector<AlsaVolumeScale> Scales;                 // one per value (volume)
  std::size_t Items = 0;                               // multiplexer
};

SelemId IdOf(snd_mixer_elem_t* elem) {
  snd_mixer_selem_id_t* raw = nullptr;
  if (snd_mixer_selem_id_malloc(&raw) < 0) throw std::bad_alloc();
  SelemId id(raw);
  snd_mixer_selem_get_id(elem, raw);
  return id;
}

class AlsaMixerDevice final : public MixerDevice {
 public:
  AlsaMixerDevice(EventLoop& loop, MixerHandle mixer, std::function<void()> onControlChange)
      : Loop(loop), Handle(std::move(mixer)), OnControlChange(std::move(onControlChange)) {
    ReadTopology();
    StartWatching();
  }
  ~AlsaMixerDevice() override;
  AlsaMixerDevice(const AlsaMixerDevice&) = delete;
  AlsaMixerDevice& operator=(const AlsaMixerDevice&) = delete;

  std::vector<MixerDestination> Destinations() const override { return Topology; }
  std::optional<std::vector<std::uint32_t>> Read(std::uint32_t control) const override;
  bool Write(std::uint32_t control, const std::vector<std::uint32_t>& values) override;

 private:
  // What the watching thread and the tasks it posts share. `Device` is touched on the loop's
  // thread only.
  struct Wakeup {
    std::mutex Mutex;
    std::condition_variable Handled;
    bool Pending = false;
    bool Stopping = false;
    AlsaMixerDevice* Device = nullptr;
  };

  void ReadTopology();
  MixerLine MakeLine(snd_mixer_elem_t* elem, Side side);
  std::uint32_t AddControl(ElementControl control);
  void AddMultiplexer(snd_mixer_elem_t* elem, MixerDestination& capture);
  snd_mixer_elem_t* Find(const ElementControl& control) const;

  void StartWatching();
  static void Watch(EventLoop& loop, std::shared_ptr<Wakeup> wakeup, std::vector<pollfd> fds);
  bool HandleEvents();

  EventLoop& Loop;
  MixerHandle Handle;
  std::function<void()> OnControlChange;
  std::vector<MixerDestination> Topology;
  std::map<std::uint32_t, ElementControl> Controls;
  std::uint32_t NextLineId = 1;

  std::shared_ptr<Wakeup> Shared = std::make_shared<Wakeup>();
  int StopFd = -1;
  std::thread Watcher;
};

void AlsaMixerDevice::ReadTopology() {
  std::vector<snd_mixer_elem_t*> playback;
  std::vector<snd_mixer_elem_t*> capture;
  snd_mixer_elem_t* captureSource = nullptr;
  for (snd_mixer_elem_t* elem = snd_mixer_first_elem(Handle.get()); elem != nullptr;
       elem = snd_mixer_elem_next(elem)) {
    if (OnSide(elem, Side::Playback)) playback.push_back(elem);
    if (OnSide(elem, Side::Capture)) capture.push_back(elem);
    if (captureSource == nullptr && snd_mixer_selem_is_enumerated(elem) &&
        snd_mixer_selem_is_enum_capture(elem)) {
      captureSource = elem;
    }
  }

  const auto addSide = [this](const std::vector<snd_mixer_elem_t*>& elems, Side side,
                              const char* masterName) -> MixerDestination* {
    if (elems.empty()) return nullptr;
    const auto master = std::ranges::find_if(elems, [masterName](snd_mixer_elem_t* elem) {
      return snd_mixer_selem_get_index(elem) == 0 &&
             std::string_view(snd_mixer_selem_get_name(elem)) == masterName;
    });
    snd_mixer_elem_t* own = master != elems.end() ? *master : elems.front();
    MixerDestination destination{MakeLine(own, side), {}};
    for (snd_mixer_elem_t* elem : elems) {
      if (elem != own) destination.Sources.push_back(MakeLine(elem, side));
    }
    return &Topology.emplace_back(std::move(destination));
  };
  addSide(playback, Side::Playback, "Master");
  MixerDestination* captureSide = addSide(capture, Side::Capture, "Capture");
  if (captureSide != nullptr && captureSource != nullptr) {
    AddMultiplexer(captureSource, *captureSide);
  }
}

MixerLine AlsaMixerDevice::MakeLine(snd_mixer_elem_t* elem, Side side) {
  const bool playback = side == Side::Playback;
  const bool active = snd_mixer_selem_is_active(elem) != 0;
  const std::vector<snd_mixer_selem_channel_id_t> channels = Channels(elem, side);
  const bool mono = channels.size() == 1;
  MixerLine line{NextLineId++, ElementName(elem), static_cast<std::uint32_t>(channels.size()), {}};

  if (playback ? snd_mixer_selem_has_playback_volume(elem)
               : snd_mixer_selem_has_capture_volume(elem)) {
    const bool joined = mono || (playback ? snd_mixer_selem_has_playback_volume_joined(elem)
                                          : snd_mixer_selem_has_capture_volume_joined(elem));
    long min = 0;
    long max = 0;
    if (playback) {
      snd_mixer_selem_get_playback_volume_range(elem, &min, &max);
    } else {
      snd_mixer_selem_get_capture_volume_range(elem, &min, &max);
    }
    ElementControl control{IdOf(elem), side, MixerControlType::Volume, channels, {}, 0};
    if (joined) control.Channels.resize(1);
    control.Scales.assign(control.Channels.size(), AlsaVolumeScale(min, max));
    line.Controls.push_back(
        {AddControl(std::move(control)), MixerControlType::Volume, joined, !active, {}});
  }
  if (playback ? snd_mixer_selem_has_playback_switch(elem)
               : snd_mixer_selem_has_capture_switch(elem)) {
    const bool joined = mono || (playback ? snd_mixer_selem_has_playback_switch_joined(elem)
                                          : snd_mixer_selem_has_capture_switch_joined(elem));
    ElementControl control{IdOf(elem), side, MixerControlType::Mute, channels, {}, 0};
    if (joined) control.Channels.resize(1);
    line.Controls.push_back(
        {AddControl(std::move(control)), MixerControlType::Mute, joined, !active, {}});
  }
  return line;
}

// The capture source enumeration: each item selects the source line of the same name.
void AlsaMixerDevice::AddMultiplexer(snd_mixer_elem_t* elem, MixerDestination& capture) {
  const int count = snd_mixer_selem_get_enum_items(elem);
  if (count <= 0) return;
  std::vector<std::uint32_t> itemLines;
  for (int item = 0; item < count; ++item) {
    char name[64] = {};
    snd_mixer_selem_get_enum_item_name(elem, static_cast<unsigned>(item), sizeof name, name);
    const auto source =
        std::ranges::find(capture.Sources, std::string_view(name),
                          [](const MixerLine& line) -> std::string_view { return line.Name; });
    itemLines.push_back(source != capture.Sources.end() ? source->Id : NoMixerLine);
  }
  ElementControl control{IdOf(elem), Side::Capture,   MixerControlType::Multiplexer, {},
                         {},         itemLines.size()};
  capture.Line.Controls.push_back({AddControl(std::move(control)), MixerControlType::Multiplexer,
                                   false, snd_mixer_selem_is_active(elem) == 0,
                                   std::move(itemLines)});
}

std::uint32_t AlsaMixerDevice::AddControl(ElementControl control) {
  const auto id = static_cast<std::uint32_t>(Controls.size() + 1);
  Controls.emplace(id, std::move(control));
  return id;
}

// Elements are looked up by their identity at each use: one removed meanwhile (a card
// unplugged) is then simply not found.
snd_mixer_elem_t* AlsaMixerDevice::Find(const ElementControl& control) const {
  return snd_mixer_find_selem(Handle.get(), control.Element.get());
}

std::optional<std::vector<std::uint32_t>> AlsaMixerDevice::Read(std::uint32_t control) const {
  const auto found = Controls.find(control);
  if (found == Controls.end()) return std::nullopt;
  const ElementControl& where = found->second;
  snd_mixer_elem_t* elem = Find(where);
  if (elem == nullptr) return std::nullopt;
  const bool playback = where.Direction == Side::Playback;

  std::vector<std::uint32_t> values;
  switch (where.Type) {
    case MixerControlType::Volume:
      for (std::size_t k = 0; k < where.Channels.size(); ++k) {
        long raw = 0;
        if ((playback ? snd_mixer_selem_get_playback_volume(elem, where.Channels[k], &raw)
                      : snd_mixer_selem_get_capture_volume(elem, where.Channels[k], &raw)) < 0) {
          return std::nullopt;
        }
        values.push_back(where.Scales[k].FromRaw(raw));
      }
      break;
    case MixerControlType::Mute:
      for (const snd_mixer_selem_channel_id_t channel : where.Channels) {
        int on = 0;
        if ((playback ? snd_mixer_selem_get_playback_switch(elem, channel, &on)
                      : snd_mixer_selem_get_capture_switch(elem, channel, &on)) < 0) {
          return std::nullopt;
        }
        values.push_back(on != 0 ? 0 : 1);
      }
      break;
    case MixerControlType::Multiplexer: {
      unsigned item = 0;
      if (snd_mixer_selem_get_enum_item(elem, SND_MIXER_SCHN_MONO, &item) < 0) return std::nullopt;
      values.assign(where.Items, 0);
      if (item < values.size()) values[item] = 1;
      break;
    }
  }
  return values;
}

bool AlsaMixerDevice::Write(std::uint32_t control, const std::vector<std::uint32_t>& values) {
  const auto found = Controls.find(control);
  if (found == Controls.end()) return false;
  ElementControl& where = found->second;
  snd_mixer_elem_t* elem = Find(where);
  if (elem == nullptr) return false;
  const bool playback = where.Direction == Side::Playback;
  // One call for equal values writes all channels at once, so that no other program sees a
  // half-done change.
  const bool allEqual =
      std::ranges::adjacent_find(values, std::ranges::not_equal_to{}) == values.end();

  switch (where.Type) {
    case MixerControlType::Volume: {
      if (values.size() != where.Channels.size()) return false;
      std::vector<long> raws;
      for (std::size_t k = 0; k < values.size(); ++k) {
        raws.push_back(where.Scales[k].ToRaw(values[k]));
      }
      if (allEqual) {
        if ((playback ? snd_mixer_selem_set_playback_volume_all(elem, raws[0])
                      : snd_mixer_selem_set_capture_volume_all(elem, raws[0])) < 0) {
          return false;
        }
      } else {
        for (std::size_t k = 0; k < values.size(); ++k) {
          if ((playback
                   ? snd_mixer_selem_set_playback_volume(elem, where.Channels[k], raws[k])
                   : snd_mixer_selem_set_capture_volume(elem, where.Channels[k], raws[k])) < 0) {
            return false;
          }
        }
      }
      for (std::size_t k = 0; k < values.size(); ++k) where.Scales[k].Remember(raws[k], values[k]);
      return true;
    }
    case MixerControlType::Mute: {
      if (values.size() != where.Channels.size()) return false;
      if (allEqual) {
        const int on = values[0] == 0 ? 1 : 0;
        return (playback ? snd_mixer_selem_set_playback_switch_all(elem, on)
                         : snd_mixer_selem_set_capture_switch_all(elem, on)) >= 0;
      }
      for (std::size_t k = 0; k < values.size(); ++k) {
        const int on = values[k] == 0 ? 1 : 0;
        if ((playback ? snd_mixer_selem_set_playback_switch(elem, where.Channels[k], on)
                      : snd_mixer_selem_set_capture_switch(elem, where.Channels[k], on)) < 0) {
          return false;
        }
      }
      return true;
    }
    case MixerControlType::Multiplexer: {
      if (values.size() != where.Items || std::ranges::count(values, 1U) != 1) return false;
      const auto item = static_cast<unsigned>(std::ranges::find(values, 1U) - values.begin());
      // An enumeration may hold one item per channel; every channel takes the selected one.
      if (snd_mixer_selem_set_enum_item(elem, SND_MIXER_SCHN_MONO, item) < 0) return false;
      for (int c = SND_MIXER_SCHN_FRONT_RIGHT; c <= SND_MIXER_SCHN_LAST; ++c) {
        if (snd_mixer_selem_set_enum_item(elem, static_cast<snd_mixer_selem_channel_id_t>(c),
                                          item) < 0) {
          break;
        }
      }
      return true;
    }
  }
  return false;
}

// The watching thread only polls; reading the events is left to the loop's thread, and the
// thread waits for that before polling again, since the descriptors stay readable until then.
void AlsaMixerDevice::StartWatching() {
  const int count = snd_mixer_poll_descriptors_count(Handle.get());
  if (count <= 0) return;
  std::vector<pollfd> fds(static_cast<std::size_t>(count) + 1);
  if (snd_mixer_poll_descriptors(Handle.get(), fds.data() + 1, static_cast<unsigned>(count)) < 0) {
    return;
  }
  StopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (StopFd < 0) return;
  fds[0] = {StopFd, POLLIN, 0};
  Shared->Device = this;
  Watcher = std::thread(Watch, std::ref(Loop), Shared, std::move(fds));
}

void AlsaMixerDevice::Watch(EventLoop& loop, std::shared_ptr<Wakeup> wakeup,
                            std::vector<pollfd> fds) {
  for (;;) {
    for (pollfd& fd : fds) fd.revents = 0;
    if (poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) return;
    if (fds[0].revents != 0) return;
    if (std::ranges::none_of(fds, [](const pollfd& fd) { return fd.revents != 0; })) continue;
    {
      const std::lock_guard lock(wakeup->Mutex);
      wakeup->Pending = true;
    }
    loop.Post([wakeup] {
      const bool watching = wakeup->Device != nullptr && wakeup->Device->HandleEvents();
      {
        const std::lock_guard lock(wakeup->Mutex);
        wakeup->Pending = false;
        if (!watching) wakeup->Stopping = true;
      }
      wakeup->Handled.notify_one();
    });
    std::unique_lock lock(wakeup->Mutex);
    wakeup->Handled.wait(lock, [&wakeup] { return !wakeup->Pending || wakeup->Stopping; });
    if (wakeup->Stopping) return;
  }
}

// False when the events cannot be read (the device is gone): watching then stops.
bool AlsaMixerDevice::HandleEvents() {
  const int handled = snd_mixer_handle_events(Handle.get());
  if (handled < 0) return false;
  if (handled > 0 && OnControlChange) OnControlChange();
  return true;
}

AlsaMixerDevice::~AlsaMixerDevice() {
  Shared->Device = nullptr;
  if (Watcher.joinable()) {
    {
      const std::lock_guard lock(Shared->Mutex);
      Shared->Stopping = true;
    }
    Shared->Handled.notify_one();
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(StopFd, &one, sizeof one);
    Watcher.join();
  }
  if (StopFd >= 0) close(StopFd);
}

}  // namespace

AlsaMixer::AlsaMixer(EventLoop& loop) : Loop(loop) {
  if (OpenHandle("default")) Names.emplace_back("default");
  for (int card = -1; snd_card_next(&card) == 0 && card >= 0;) {
    Names.push_back("hw:" + std::to_string(card));
  }
}

std::unique_ptr<MixerDevice> AlsaMixer::Open(std::size_t index,
                                             std::function<void()> onControlChange) {
  if (index >= Names.size()) return nullptr;
  MixerHandle mixer = OpenHandle(Names[index]);
  if (!mixer) return nullptr;
  return std::make_unique<AlsaMixerDevice>(Loop, std::move(mixer), std::move(onControlChange));
}

}  // namespace quillon::platform

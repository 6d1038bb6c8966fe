#include "platform/fake/FakeMixer.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace quillon::platform {

class FakeMixer::Handle final : public MixerDevice {
 public:
  Handle(FakeMixer& owner, std::size_t device, std::function<void()> onControlChange)
      : Owner(owner),
        Device(device),
        OnControlChange(std::make_shared<std::function<void()>>(std::move(onControlChange))) {
    Owner.Devices[Device].Open.push_back(this);
  }
  ~Handle() override { std::erase(Owner.Devices[Device].Open, this); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  std::vector<MixerDestination> Destinations() const override {
    return Owner.Devices[Device].Destinations;
  }

  std::optional<std::vector<std::uint32_t>> Read(std::uint32_t control) const override {
    const auto& controls = Owner.Devices[Device].Controls;
    const auto found = controls.find(control);
    if (found == controls.end()) return std::nullopt;
    return found->second.Values;
  }

  bool Write(std::uint32_t control, const std::vector<std::uint32_t>& values) override {
    const auto& controls = Owner.Devices[Device].Controls;
    const auto found = controls.find(control);
    if (found == controls.end() || !Owner.Accepts(found->second, values)) return false;
    Owner.WriteLog.push_back({Device, control, values});
    Owner.Change(Device, control, values);
    return true;
  }

  // Queues the change notification; a handle destroyed before the loop runs it is not called.
  void Announce() {
    Owner.Loop.Post([callback = std::weak_ptr(OnControlChange)] {
      if (const auto live = callback.lock()) (*live)();
    });
  }

 private:
  FakeMixer& Owner;
  std::size_t Device;
  std::shared_ptr<std::function<void()>> OnControlChange;
};

std::unique_ptr<MixerDevice> FakeMixer::Open(std::size_t index,
                                             std::function<void()> onControlChange) {
  if (index >= Devices.size()) return nullptr;
  return std::make_unique<Handle>(*this, index, std::move(onControlChange));
}

std::size_t FakeMixer::AddDevice(std::vector<MixerDestination> destinations) {
  StoredDevice device;
  const auto store = [&device](const MixerLine& line) {
    for (const MixerControl& control : line.Controls) {
      StoredControl stored{control, ValueCount(line, control), {}};
      stored.Values.assign(stored.Count, 0);
      if (control.Type == MixerControlType::Multiplexer && stored.Count > 0) stored.Values[0] = 1;
      device.Controls.emplace(control.Id, std::move(stored));
    }
  };
  for (const MixerDestination& destination : destinations) {
    store(destination.Line);
    for (const MixerLine& source : destination.Sources) store(source);
  }
  device.Destinations = std::move(destinations);
  Devices.push_back(std::move(device));
  return Devices.size() - 1;
}

void FakeMixer::SetValues(std::size_t device, std::uint32_t control,
                          std::vector<std::uint32_t> values) {
  const StoredControl& stored = Devices.at(device).Controls.at(control);
  if (!Accepts(stored, values)) throw std::invalid_argument("values the control cannot hold");
  Change(device, control, std::move(values));
}

std::vector<std::uint32_t> FakeMixer::Values(std::size_t device, std::uint32_t control) const {
  return Devices.at(device).Controls.at(control).Values;
}

std::size_t FakeMixer::OpenHandles(std::size_t device) const {
  return Devices.at(device).Open.size();
}

bool FakeMixer::Accepts(const StoredControl& control,
                        const std::vector<std::uint32_t>& values) const {
  if (values.size() != control.Count) return false;
  switch (control.Control.Type) {
    case MixerControlType::Volume:
      return std::ranges::all_of(values, [](std::uint32_t v) { return v <= MaxMixerVolume; });
    case MixerControlType::Mute:
      return std::ranges::all_of(values, [](std::uint32_t v) { return v <= 1; });
    case MixerControlType::Multiplexer:
      return std::ranges::all_of(values, [](std::uint32_t v) { return v <= 1; }) &&
             std::ranges::count(values, 1U) == 1;
  }
  return false;
}

void FakeMixer::Change(std::size_t device, std::uint32_t control,
                       std::vector<std::uint32_t> values) {
  StoredDevice& stored = Devices[device];
  std::vector<std::uint32_t>& current = stored.Controls.at(control).Values;
  if (current == values) return;
  current = std::move(values);
  for (Handle* handle : stored.Open) handle->Announce();
}

std::vector<MixerDestination> FakeSoundCard() {
  using enum MixerControlType;
  const auto volume = [](std::uint32_t id) { return MixerControl{id, Volume, false, false, {}}; };
  const auto uniform = [](std::uint32_t id, MixerControlType type) {
    return MixerControl{id, type, true, false, {}};
  };
  MixerDestination master{{1, "Master", 2, {volume(1), uniform(2, Mute)}},
                          {{2, "PCM", 2, {volume(3), MixerControl{4, Mute, false, false, {}}}},
                           {3, "CD", 2, {uniform(5, Volume), uniform(6, Mute)}},
                           {4, "Beep", 1, {MixerControl{7, Volume, false, true, {}}}}}};
  MixerDestination capture{
      {5, "Capture", 2, {volume(8), MixerControl{9, Multiplexer, false, false, {6, 7}}}},
      {{6, "Mic", 1, {volume(10)}}, {7, "Line", 2, {volume(11)}}}};
  return {std::move(master), std::move(capture)};
}

}  // namespace quillon::platform

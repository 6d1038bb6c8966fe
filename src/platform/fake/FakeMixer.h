#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/EventLoop.h"
#include "platform/Mixer.h"

namespace quillon::platform {

// An in-memory mixer for tests and dry runs. Tests lay out its devices, set control values as
// another program would, and read back every write made through an open device. Like a real
// mixer, each change of a value (through a device handle or from outside) is announced to
// every open handle of that device through the event loop. Handles must not outlive the mixer.
class FakeMixer : public Mixer {
 public:
  struct WriteRecord {
    std::size_t Device = 0;
    std::uint32_t Control = 0;
    std::vector<std::uint32_t> Values;
    bool operator==(const WriteRecord&) const = default;
  };

  explicit FakeMixer(EventLoop& loop) : Loop(loop) {}
  FakeMixer(const FakeMixer&) = delete;
  FakeMixer& operator=(const FakeMixer&) = delete;

  std::size_t DeviceCount() const override { return Devices.size(); }
  std::unique_ptr<MixerDevice> Open(std::size_t index,
                                    std::function<void()> onControlChange) override;

  // Adds a device and gives its index. Volumes start at 0, mutes off, multiplexers on their
  // first item.
  std::size_t AddDevice(std::vector<MixerDestination> destinations);

  // Sets a control's values from outside the program, announcing a change.
  void SetValues(std::size_t device, std::uint32_t control, std::vector<std::uint32_t> values);
  std::vector<std::uint32_t> Values(std::size_t device, std::uint32_t control) const;

  // The accepted writes made through device handles, in order.
  const std::vector<WriteRecord>& Writes() const { return WriteLog; }
  // Handles of the device open at present.
  std::size_t OpenHandles(std::size_t device) const;

 private:
  class Handle;
  struct StoredControl {
    MixerControl Control;
    std::size_t Count = 0;  // ValueCount
    std::vector<std::uint32_t> Values;
  };
  struct StoredDevice {
    std::vector<MixerDestination> Destinations;
    std::map<std::uint32_t, StoredControl> Controls;
    std::vector<Handle*> Open;
  };

  bool Accepts(const StoredControl& control, const std::vector<std::uint32_t>& values) const;
  void Change(std::size_t device, std::uint32_t control, std::vector<std::uint32_t> values);

  EventLoop& Loop;
  std::vector<StoredDevice> Devices;
  std::vector<WriteRecord> WriteLog;
};

// A typical sound card for tests and dry runs. The "Master" destination (line 1, two channels):
// two-channel volume 1, uniform mute 2; its sources "PCM" (line 2: volume 3, mute 4), "CD"
// (line 3, two channels: uniform volume 5, uniform mute 6) and "Beep" (line 4, one channel:
// disabled volume 7). The "Capture" destination (line 5, two channels): volume 8 and a
// multiplexer 9 whose items select "Mic" and "Line"; its sources "Mic" (line 6, one channel:
// volume 10) and "Line" (line 7, two channels: volume 11).
std::vector<MixerDestination> FakeSoundCard();

}  // namespace quillon::platform

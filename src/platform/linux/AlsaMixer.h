#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/EventLoop.h"
#include "platform/Mixer.h"

namespace quillon::platform {

// The ALSA mixers: the "default" device (when it can be opened), then each sound card. Each
// device has up to two destinations, its playback side and its capture side; a side's own line
// is its master element ("Master", "Capture") or else its first one, its source lines are the
// other simple elements of that side. Volumes are scaled to 0..MaxMixerVolume per channel,
// mute is the inverse of the element's switch, the capture source enumeration is the capture
// side's multiplexer. docs/audio.md gives the whole mapping.
//
// Change notifications: a thread per open device waits on the device's poll descriptors and
// posts each wake-up to the event loop, where the events are read and the callback runs, so
// that only the loop's thread ever calls into the device.
class AlsaMixer : public Mixer {
 public:
  // Takes the list of devices; the loop must outlive every device opened.
  explicit AlsaMixer(EventLoop& loop);

  std::size_t DeviceCount() const override { return Names.size(); }
  std::unique_ptr<MixerDevice> Open(std::size_t index,
                                    std::function<void()> onControlChange) override;

  // The ALSA name of each device ("default", "hw:0", ...).
  const std::vector<std::string>& DeviceNames() const { return Names; }

 private:
  EventLoop& Loop;
  std::vector<std::string> Names;
};

}  // namespace quillon::platform

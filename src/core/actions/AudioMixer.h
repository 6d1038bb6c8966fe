#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Mixer.h"

namespace quillon {

// The volume and mute of one mixer line as GetVolume reads them.
struct LineVolume {
  std::int32_t Left = -1;    // 0..65535; -1 when the line has no volume control
  std::int32_t Right = -1;   // the left value again when the control holds one value
  bool TwoChannels = false;  // two channel values were read
  bool VolumeDisabled = false;
  std::int32_t Mute = -1;  // 0 or 1; -1 when the line has no mute
  bool MuteDisabled = false;
  // The mute value is the line's item in its destination's multiplexer, not a mute control.
  bool MuteFromMultiplexer = false;

  bool operator==(const LineVolume&) const = default;
};

// The mixer wrapper: one open device of the machine's mixers and the volume and mute of its
// lines. A line is named by its destination's index and the index of the source line within
// that destination, or -1 for the destination's own line. The device stays open until another
// is chosen or the wrapper is destroyed.
class TAudioMixer {
 public:
  explicit TAudioMixer(platform::Mixer& mixers) : Mixers(mixers) {}
  TAudioMixer(const TAudioMixer&) = delete;
  TAudioMixer& operator=(const TAudioMixer&) = delete;

  std::int32_t MixerCount() const;
  // The chosen device; -1 before the first choice.
  std::int32_t MixerId() const { return Id; }
  // Closes the open device, opens device `id` and reads its lines. An id out of range, or the
  // device already chosen, changes nothing. A device that fails to open shows no lines.
  void SetMixerId(std::int32_t id);

  // The open device's destinations in its order, with their source lines.
  const std::vector<platform::MixerDestination>& Destinations() const { return Lines; }

  LineVolume GetVolume(std::int32_t destination, std::int32_t line) const;

  // Writes a line's controls. `mute` 0 or 1, -1 leaves it; `left` -1 leaves the volume; `right`
  // -1 takes the left value. For a source line whose destination has a multiplexer with an
  // item for it, the mute value goes to that item instead of a mute control (1 selects it, so
  // the other items drop out; 0 is refused for the item that is selected). A single-value
  // volume control gets the left value; channels past the second get the louder of the two.
  // False when the destination does not exist; failed writes are not reported.
  bool SetVolume(std::int32_t destination, std::int32_t line, std::int32_t mute, std::int32_t right,
                 std::int32_t left);

  // Raised on the event loop's thread when a control of the open device changed, by this
  // program or another.
  std::function<void()> OnControlChange;

 private:
  const platform::MixerLine* FindLine(std::int32_t destination, std::int32_t line) const;

  platform::Mixer& Mixers;
  std::unique_ptr<platform::MixerDevice> Device;
  std::int32_t Id = -1;
  std::vector<platform::MixerDestination> Lines;
};

}  // namespace quillon

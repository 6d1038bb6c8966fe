#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillon::platform {

// Every channel volume runs from 0 (silent) to MaxMixerVolume, whatever the device's own scale.
inline constexpr std::uint32_t MaxMixerVolume = 65535;

// Control and line identifiers are unique within their device and never 0, so 0 can say "no
// line" in a multiplexer item.
inline constexpr std::uint32_t NoMixerLine = 0;

enum class MixerControlType : std::uint8_t {
  Volume,       // a value of 0..MaxMixerVolume per channel
  Mute,         // 1 muted, 0 sounding, per channel
  Multiplexer,  // 1 for the selected item, 0 for the others: picks which source line is taken
};

struct MixerControl {
  std::uint32_t Id = 0;
  MixerControlType Type = MixerControlType::Volume;
  // One value stands for every channel of the line.
  bool Uniform = false;
  // The device says the control does nothing at present (the line is switched away).
  bool Disabled = false;
  // A multiplexer's items in order: the identifier of the source line each one selects, or
  // NoMixerLine.
  std::vector<std::uint32_t> ItemLines;
};

struct MixerLine {
  std::uint32_t Id = 0;
  std::string Name;
  std::uint32_t Channels = 1;  // channel 0 is the left, channel 1 the right
  std::vector<MixerControl> Controls;
};

// A destination line (where sound goes: the speakers, the recording) and the source lines that
// feed it.
struct MixerDestination {
  MixerLine Line;
  std::vector<MixerLine> Sources;
};

// How many values a control of `line` reads and writes: one per item for a multiplexer, one
// for a uniform control, else one per channel.
inline std::size_t ValueCount(const MixerLine& line, const MixerControl& control) {
  if (control.Type == MixerControlType::Multiplexer) return control.ItemLines.size();
  return control.Uniform ? 1 : line.Channels;
}

// An open mixer device. Its lines are fixed while it is open.
class MixerDevice {
 public:
  virtual ~MixerDevice() = default;

  // The destinations in the device's order.
  virtual std::vector<MixerDestination> Destinations() const = 0;

  // The control's values (ValueCount of them); none when the control cannot be read.
  virtual std::optional<std::vector<std::uint32_t>> Read(std::uint32_t control) const = 0;

  // Sets the control's values (ValueCount of them; a multiplexer needs exactly one selected
  // item). False when the device refused; a refused write changes nothing. A value set is read
  // back unchanged.
  virtual bool Write(std::uint32_t control, const std::vector<std::uint32_t>& values) = 0;
};

// The sound mixers of the machine.
class Mixer {
 public:
  virtual ~Mixer() = default;

  virtual std::size_t DeviceCount() const = 0;

  // Opens device `index` (0 to DeviceCount() - 1); null when it cannot be opened. Until the
  // handle is destroyed, `onControlChange` runs on the event loop's thread after any control
  // of the device changed, by this program or another.
  virtual std::unique_ptr<MixerDevice> Open(std::size_t index,
                                            std::function<void()> onControlChange) = 0;
};

}  // namespace quillon::platform

#include "core/actions/AudioMixer.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace quillon {

namespace {

using platform::MixerControl;
using platform::MixerControlType;
using platform::MixerLine;

const MixerControl* FirstControl(const MixerLine& line, MixerControlType type) {
  const auto found = std::ranges::find(line.Controls, type, &MixerControl::Type);
  return found == line.Controls.end() ? nullptr : &*found;
}

// A source line's item in its destination's multiplexer.
struct MultiplexerItem {
  const MixerControl* Control;
  std::size_t Item;
};

std::optional<MultiplexerItem> FindMultiplexerItem(const platform::MixerDestination& destination,
                                                   const MixerLine& source) {
  const MixerControl* mux = FirstControl(destination.Line, MixerControlType::Multiplexer);
  if (mux == nullptr) return std::nullopt;
  const auto item = std::ranges::find(mux->ItemLines, source.Id);
  if (item == mux->ItemLines.end()) return std::nullopt;
  return MultiplexerItem{mux, static_cast<std::size_t>(item - mux->ItemLines.begin())};
}

}  // namespace

std::int32_t TAudioMixer::MixerCount() const {
  return static_cast<std::int32_t>(Mixers.DeviceCount());
}

void TAudioMixer::SetMixerId(std::int32_t id) {
  if (id < 0 || id >= MixerCount() || (id == Id && Device)) return;
  Device.reset();
  Lines.clear();
  Id = id;
  Device = Mixers.Open(static_cast<std::size_t>(id), [this] {
    if (OnControlChange) OnControlChange();
  });
  if (Device) Lines = Device->Destinations();
}

const MixerLine* TAudioMixer::FindLine(std::int32_t destination, std::int32_t line) const {
  if (destination < 0 || static_cast<std::size_t>(destination) >= Lines.size()) return nullptr;
  const platform::MixerDestination& chosen = Lines[static_cast<std::size_t>(destination)];
  if (line == -1) return &chosen.Line;
  if (line < 0 || static_cast<std::size_t>(line) >= chosen.Sources.size()) return nullptr;
  return &chosen.Sources[static_cast<std::size_t>(line)];
}

LineVolume TAudioMixer::GetVolume(std::int32_t destination, std::int32_t line) const {
  LineVolume read;
  const MixerLine* target = FindLine(destination, line);
  if (target == nullptr || !Device) return read;

  if (const MixerControl* volume = FirstControl(*target, MixerControlType::Volume)) {
    read.VolumeDisabled = volume->Disabled;
    const auto values = Device->Read(volume->Id);
    if (values && !values->empty()) {
      read.TwoChannels = values->size() >= 2;
      read.Left = static_cast<std::int32_t>((*values)[0]);
      read.Right = static_cast<std::int32_t>((*values)[read.TwoChannels ? 1 : 0]);
    }
  }

  const auto item = line >= 0
                        ? FindMultiplexerItem(Lines[static_cast<std::size_t>(destination)], *target)
                        : std::nullopt;
  const MixerControl* mute = item ? item->Control : FirstControl(*target, MixerControlType::Mute);
  if (mute != nullptr) {
    read.MuteFromMultiplexer = item.has_value();
    read.MuteDisabled = mute->Disabled;
    const std::size_t index = item ? item->Item : 0;
    const auto values = Device->Read(mute->Id);
    if (values && values->size() > index) read.Mute = (*values)[index] != 0 ? 1 : 0;
  }
  return read;
}

bool TAudioMixer::SetVolume(std::int32_t destination, std::int32_t line, std::int32_t mute,
                            std::int32_t right, std::int32_t left) {
  if (destination < 0 || static_cast<std::size_t>(destination) >= Lines.size()) return false;
  const MixerLine* target = FindLine(destination, line);
  if (target == nullptr || !Device) return true;

  bool muteApplied = false;
  if (mute >= 0 && line >= 0) {
    if (const auto item =
            FindMultiplexerItem(Lines[static_cast<std::size_t>(destination)], *target)) {
      // A multiplexer takes one item at a time: selecting this line's item leaves the others
      // out, and leaving out the selected one is refused.
      auto values = Device->Read(item->Control->Id);
      if (values && values->size() > item->Item) {
        if (mute != 0) std::ranges::fill(*values, 0U);
        (*values)[item->Item] = mute != 0 ? 1 : 0;
        Device->Write(item->Control->Id, *values);
      }
      muteApplied = true;
    }
  }

  const MixerControl* volume = FirstControl(*target, MixerControlType::Volume);
  if (volume != nullptr && left >= 0) {
    const auto leftValue = static_cast<std::uint32_t>(left);
    const auto rightValue = static_cast<std::uint32_t>(right >= 0 ? right : left);
    std::vector<std::uint32_t> values(platform::ValueCount(*target, *volume),
                                      std::max(leftValue, rightValue));
    if (!values.empty()) values[0] = leftValue;
    if (values.size() >= 2) values[1] = rightValue;
    Device->Write(volume->Id, values);
  }

  const MixerControl* muteControl = FirstControl(*target, MixerControlType::Mute);
  if (muteControl != nullptr && mute >= 0 && !muteApplied) {
    Device->Write(muteControl->Id,
                  std::vector<std::uint32_t>(platform::ValueCount(*target, *muteControl),
                                             static_cast<std::uint32_t>(mute)));
  }
  return true;
}

}  // namespace quillon

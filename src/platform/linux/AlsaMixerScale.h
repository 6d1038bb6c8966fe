#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/Mixer.h"

namespace quillon::platform {

// One channel's volume between a device's own scale (Min..Max) and 0..MaxMixerVolume, rounded
// to the nearest step both ways. A scale at least as fine as ours gives back every value
// exactly; on a coarser one several values share a step, so the channel remembers the value
// last written with the step it became and reads that value back while the step is unchanged.
class AlsaVolumeScale {
 public:
  AlsaVolumeScale(long min, long max) : Min(min), Max(std::max(min, max)) {}

  long ToRaw(std::uint32_t value) const {
    const std::int64_t span = std::int64_t{Max} - Min;
    const std::int64_t clamped = std::min<std::int64_t>(value, MaxMixerVolume);
    return static_cast<long>(Min + (clamped * span + MaxMixerVolume / 2) / MaxMixerVolume);
  }

  std::uint32_t FromRaw(long raw) const {
    if (Written && Written->Raw == raw) return Written->Value;
    const std::int64_t span = std::int64_t{Max} - Min;
    if (span == 0) return 0;
    const std::int64_t offset = std::clamp<std::int64_t>(std::int64_t{raw} - Min, 0, span);
    return static_cast<std::uint32_t>((offset * MaxMixerVolume + span / 2) / span);
  }

  // Notes that `value` was written as `raw`.
  void Remember(long raw, std::uint32_t value) { Written = Step{raw, value}; }

 private:
  struct Step {
    long Raw;
    std::uint32_t Value;
  };

  long Min;
  long Max;
  std::optional<Step> Written;
};

}  // namespace quillon::platform

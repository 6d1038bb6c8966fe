#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace quillon {

// The durations of one burst in counter ticks, alternately mark and space from index 0.
// The buffer is never cleared between bursts: entries past the current count keep what an
// earlier burst left there, and the decoders read that stale content where the frame rules
// look one entry past the data.
inline constexpr int PulseBufferSize = 501;
using PulseBufferArray = std::array<std::int64_t, PulseBufferSize>;

// Read-only view of a pulse train as the decoders see it: the whole buffer and the count.
class PulseTrain {
 public:
  PulseTrain(const PulseBufferArray& buffer, std::int32_t count)
      : Buffer(buffer), Count(std::clamp<std::int32_t>(count, 0, PulseBufferSize)) {}

  // The duration at `index`; an index outside the buffer reads as 0. The frame rules step
  // a few entries past the data, and with a long train that lands beyond the last entry.
  std::int64_t operator[](std::int32_t index) const {
    return index >= 0 && index < PulseBufferSize ? Buffer[static_cast<std::size_t>(index)] : 0;
  }

  std::int32_t Size() const { return Count; }

 private:
  const PulseBufferArray& Buffer;
  std::int32_t Count;
};

}  // namespace quillon

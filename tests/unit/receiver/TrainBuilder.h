#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/receiver/PulseTrain.h"

namespace quillon::test {

// Builds pulse trains of synthetic frames: a start pulse, data durations and a closing gap.
class TrainBuilder {
 public:
  TrainBuilder& Add(std::initializer_list<std::int64_t> durations) {
    Durations.insert(Durations.end(), durations);
    return *this;
  }
  TrainBuilder& Add(const std::vector<std::int64_t>& durations) {
    Durations.insert(Durations.end(), durations.begin(), durations.end());
    return *this;
  }

  // A buffer holding the durations from index 0; the rest holds `stale`, as an earlier burst
  // would have left it.
  PulseBufferArray Buffer(std::int64_t stale = 0) const {
    PulseBufferArray buffer;
    buffer.fill(stale);
    for (std::size_t i = 0; i < Durations.size() && i < buffer.size(); ++i) {
      buffer[i] = Durations[i];
    }
    return buffer;
  }

  std::int32_t Count() const { return static_cast<std::int32_t>(Durations.size()); }

  std::vector<std::int64_t> Durations;
};

// Bit-form data durations for a text of "0" and "1": 500 ticks for "0", 1000 for "1".
inline std::vector<std::int64_t> Bits(const std::string& bits) {
  std::vector<std::int64_t> out;
  for (const char c : bits) out.push_back(c == '1' ? 1000 : 500);
  return out;
}

// Mark/space pairs of a pulse-distance code: a 560-tick mark, then a 560- or 1690-tick space,
// and the closing mark.
inline std::vector<std::int64_t> PulseDistance(const std::string& bits) {
  std::vector<std::int64_t> out;
  for (const char c : bits) {
    out.push_back(560);
    out.push_back(c == '1' ? 1690 : 560);
  }
  out.push_back(560);
  return out;
}

}  // namespace quillon::test

#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>

namespace quillon {

// The reference timings that a learned remote gives the decoders, in counter ticks. The
// multi-level decodes write LevelTable and LevelTop back, and the signal-length decoder
// writes MaxValue; the remote file stores them as they were last written.
struct LearnedTimings {
  std::int64_t StartPulse = 0;  // the pulse that opens a frame
  std::int64_t FrameGap = 0;    // the pause that closes a frame
  std::int64_t MaxValue = 0;    // the class just above the shortest data class
  std::string PrefixText;       // key-code text standing for the first PrefixLength durations
  std::int32_t PrefixLength = 0;
  std::array<std::int64_t, 10> LevelTable{};  // duration classes, longest first
  std::uint8_t LevelTop = 0;                  // index of the last class in use
};

// Limits that the loader derives from a learned remote's codes.
struct DecodingLimits {
  std::int32_t MinFrameLength = 0;  // allowed data durations between start pulse and gap
  std::int32_t MaxFrameLength = 0;
  std::uint8_t LevelCount = 3;  // number of duration classes of the multi-level form
};

// The tolerances of the options dialog, read at each decode.
struct DecoderSettings {
  std::int32_t MaxValueError = 30;  // percent around MaxValue; class tolerance of sound classes
  std::int32_t StartError = 20;     // percent step between multi-level classes
  std::int32_t DifferentImp = 3;    // classes sought by the signal-length decoder
};

// Percent of a duration in 64-bit integer arithmetic: value * percent / 100, truncating toward
// zero. Percentages come from settings of a few hundred at most. The product is split so that
// no intermediate value overflows; a result beyond the 64-bit range, which only a corrupt
// learned value reaches, saturates.
constexpr std::int64_t Percent(std::int64_t value, std::int64_t percent) {
  constexpr std::int64_t Max = std::numeric_limits<std::int64_t>::max();
  percent = std::clamp<std::int64_t>(percent, -1000, 1000);
  const std::int64_t hundreds = value / 100;
  const std::int64_t rest = value % 100;
  const std::int64_t magnitude = percent < 0 ? -percent : percent;
  if (magnitude != 0 && (hundreds < 0 ? -hundreds : hundreds) > (Max - 100'000) / magnitude) {
    return (hundreds > 0) == (percent > 0) ? Max : -Max;
  }
  return hundreds * percent + rest * percent / 100;
}

}  // namespace quillon

#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/receiver/DecoderTypes.h"
#include "core/receiver/PulseTrain.h"

namespace quillon {

// The frame found by the signal-length decoder: its start pulse and closing gap durations,
// one sample each for the signal-length analysis of the learning procedure.
struct FrameSample {
  std::int64_t StartPulse = 0;
  std::int64_t FrameGap = 0;
};

struct SignalLengthResult {
  std::string Code;                   // multi-level form; empty when no frame was found
  std::optional<FrameSample> Sample;  // present exactly when a frame was found
};

// Finds the frame structure of a burst without learned values (the signal-length test of the
// learning procedure): the start pulse and the gap of one complete frame, and that frame's
// code in multi-level form with DifferentImp classes. Writes LevelTable, LevelTop and MaxValue
// of `timings`.
SignalLengthResult SignalLengthDecode(const PulseTrain& train, const DecoderSettings& settings,
                                      LearnedTimings& timings);

}  // namespace quillon

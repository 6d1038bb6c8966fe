#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "replay/LearningDriver.h"

namespace quillon {

// How a remote sends one button: frames (each from a mark to a mark), each followed by the
// space before the next. The first MinFrames are the whole message and are sent however
// briefly the button is pressed; later frames only while the button is still down when they
// start. Once the list is exhausted, frames from RepeatFrom on are sent again, in turn, for as
// long as the button stays down; with RepeatFrom past the end nothing more is sent.
struct Transmission {
  std::vector<PressDurations> Frames;
  std::vector<std::int64_t> Gaps;  // the space after each frame
  std::size_t MinFrames = 1;
  std::size_t RepeatFrom = 0;
};

// The durations of a press held for `holdTicks`.
PressDurations HoldPress(const Transmission& transmission, std::int64_t holdTicks);

// Frames of a capture are split at spaces of at least 6 ms. The message is every frame up to
// the first that repeats an earlier one (as many durations, each within 20 %); from that
// earlier frame on the recording's frames are sent again in turn while the button is held.
// A recording without such a repetition is a message followed by its repeat frame: the last
// frame repeats at the period of the frame before it (an NEC repeat code every 108 ms).
// A capture of one frame shorter than half the common 108 ms frame period repeats at that
// period; a longer one (an air conditioner's state) is sent once.
Transmission CaptureTransmission(std::span<const std::int64_t> durations);

// What a receiver delivers of a press: marks longer and spaces shorter by `skewTicks` (a
// demodulator's usual output skew), then each duration moved at random by up to `percent`
// percent; never below one tick.
PressDurations Received(std::span<const std::int64_t> durations, std::int64_t skewTicks,
                        std::int32_t percent, std::mt19937& random);

}  // namespace quillon

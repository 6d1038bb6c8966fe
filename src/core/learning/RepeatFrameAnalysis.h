#pragma once

#include <array>
#include <cstdint>

#include "core/learning/RemoteData.h"
#include "core/receiver/PulseTrain.h"

namespace quillon {

// The trains of the hold-button test: the first durations (up to 20) of each of ten bursts
// sent while the user holds a button, in the layout of the repeat-frame block.
class TrainTable {
 public:
  static constexpr std::int32_t Size = 10;
  static constexpr std::int32_t MaxTrain = 20;

  // Fills entry TrainIndex from the burst and moves TrainIndex on, round after entry 9.
  void Record(const PulseTrain& train);

  const std::array<RepeatFrameBlock, Size>& Trains() const { return Entries; }
  std::int32_t TrainIndex = 0;

 private:
  std::array<RepeatFrameBlock, Size> Entries{};
};

// Decides from the ten trains whether the remote sends a special repeat code while a button
// is held, and which: a train that repeats itself within its first 20 durations, agreed on by
// the other such trains, or else a run that two trains share. The result has Valid 1 when a
// repeat code was found and RepeatTop the index of its last non-zero duration. Durations
// match within `maxValueError` percent.
RepeatFrameBlock RepeatFrameAnalysis(const TrainTable& trains, std::int32_t maxValueError);

}  // namespace quillon

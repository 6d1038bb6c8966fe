#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/receiver/DecoderTypes.h"
#include "core/receiver/PulseTrain.h"

namespace quillon {

// The multi-level form of a key code for the data durations train[first..last] of one frame.
//
// The frame's own durations define up to `classCount` classes, longest first, each the largest
// duration below the previous class less StartError percent; they are written to
// timings.LevelTable and timings.LevelTop. Every data duration after the first PrefixLength
// adds the digit of the class it falls in (the shortest class is "0"), after the first
// PrefixLength characters of the prefix text.
//
// A duration in no class window adds the highest digit when it is clearly longer than the
// shortest class, "0" when clearly shorter, else nothing. The highest digit is
// `highestDigit`, or LevelTop when it is not given.
//
// Two rules differ from a literal reading of the class arithmetic, because that reading gives
// plainly wrong codes:
//  - each class window reaches half way to the nearer neighbouring class, so windows never
//    overlap and a duration yields at most one digit (a lone class spans 0..twice its value);
//  - when all classes are found, LevelTop is the class count less one rather than a value
//    left over from the previous decode.
// A frame without data durations yields the prefix part alone and leaves a cleared table.
std::string MultiLevelCode(const PulseTrain& train, std::int32_t first, std::int32_t last,
                           std::int32_t classCount, std::optional<std::int32_t> highestDigit,
                           std::int32_t startError, LearnedTimings& timings);

}  // namespace quillon

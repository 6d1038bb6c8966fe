#pragma once

#include <cstdint>

#include "core/receiver/PulseTrain.h"

namespace quillon {

// The largest duration of train[first..last] strictly below `limit`, 0 when there is none.
// Only positive durations count. Durations compare as 64-bit values and the result keeps the
// low 32 bits, as the stored decoder tables expect.
std::int32_t LargestBelow(const PulseTrain& train, std::int32_t first, std::int32_t last,
                          std::int64_t limit);

// The smallest duration of train[first..last] strictly above `limit` (0 when there is none).
std::int32_t SmallestAbove(const PulseTrain& train, std::int32_t first, std::int32_t last,
                           std::int64_t limit);

// The largest positive duration of train[first..last], 0 when there is none.
std::int64_t LargestDuration(const PulseTrain& train, std::int32_t first, std::int32_t last);

}  // namespace quillon

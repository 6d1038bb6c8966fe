#include "core/receiver/DurationSearch.h"

#include <algorithm>

namespace quillon {

namespace {

std::int32_t LowBits(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

}  // namespace

std::int32_t LargestBelow(const PulseTrain& train, std::int32_t first, std::int32_t last,
                          std::int64_t limit) {
  std::int64_t best = 0;
  for (std::int32_t i = first; i <= last; ++i) {
    const std::int64_t d = train[i];
    if (d < limit && d > best) best = d;
  }
  return LowBits(best);
}

std::int32_t SmallestAbove(const PulseTrain& train, std::int32_t first, std::int32_t last,
                           std::int64_t limit) {
  std::int64_t best = 0;
  for (std::int32_t i = first; i <= last; ++i) {
    const std::int64_t d = train[i];
    if (d > limit && (best == 0 || d < best)) best = d;
  }
  return LowBits(best);
}

std::int64_t LargestDuration(const PulseTrain& train, std::int32_t first, std::int32_t last) {
  std::int64_t best = 0;
  for (std::int32_t i = first; i <= last; ++i) best = std::max(best, train[i]);
  return best;
}

}  // namespace quillon

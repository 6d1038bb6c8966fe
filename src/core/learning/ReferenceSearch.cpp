#include "core/learning/ReferenceSearch.h"

#include <algorithm>

#include "core/receiver/DecoderTypes.h"

namespace quillon {

namespace {

constexpr std::size_t Candidates = 3;
constexpr std::int32_t AllMatch = 4;
constexpr std::int32_t EnoughMatches = 3;

}  // namespace

std::int32_t MostFrequentLength(const std::array<std::int32_t, SignalSamples>& lengths) {
  std::int32_t best = lengths[0];
  std::ptrdiff_t bestCount = 0;
  for (const std::int32_t length : lengths) {
    const std::ptrdiff_t count = std::count(lengths.begin(), lengths.end(), length);
    if (count > bestCount) {
      best = length;
      bestCount = count;
    }
  }
  return best;
}

std::int64_t FindReferenceDuration(const std::array<std::int64_t, SignalSamples>& samples) {
  std::int32_t count = 0;
  std::int64_t candidate = -1;
  for (std::size_t c = 0; c < Candidates; ++c) {
    candidate = samples[c];
    count = static_cast<std::int32_t>(
        std::count_if(samples.begin() + 1, samples.end(), [candidate](std::int64_t x) {
          return Percent(x, 70) < candidate && candidate < Percent(x, 130);
        }));
    if (count >= AllMatch) break;
  }
  return count >= EnoughMatches ? candidate : -1;
}

}  // namespace quillon

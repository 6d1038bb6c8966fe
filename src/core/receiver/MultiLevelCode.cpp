#include "core/receiver/MultiLevelCode.h"

#include <algorithm>
#include <limits>

#include "core/receiver/DurationSearch.h"

namespace quillon {

namespace {

constexpr std::int32_t LastLevel = 9;  // the last entry of LevelTable

// Window bounds are sums and differences of durations, which a corrupt capture or a counter
// reading far from the others can bring near the 64-bit limits: they saturate there rather
// than wrap around into a window somewhere else.
constexpr std::int64_t Largest = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t Smallest = std::numeric_limits<std::int64_t>::min();

constexpr std::int64_t Plus(std::int64_t a, std::int64_t b) {
  if (b > 0 && a > Largest - b) return Largest;
  if (b < 0 && a < Smallest - b) return Smallest;
  return a + b;
}

constexpr std::int64_t Minus(std::int64_t a, std::int64_t b) {
  if (b < 0 && a > Largest + b) return Largest;
  if (b > 0 && a < Smallest + b) return Smallest;
  return a - b;
}

// Fills LevelTable from the frame's data and returns LevelTop, or -1 for a frame with no
// positive data duration.
std::int32_t BuildLevelTable(const PulseTrain& train, std::int32_t first, std::int32_t last,
                             std::int32_t classCount, std::int32_t startError,
                             LearnedTimings& timings) {
  auto& table = timings.LevelTable;
  table.fill(0);
  table[0] = LargestDuration(train, first, last);
  for (std::int32_t j = 1; j <= classCount; ++j) {
    table[j] = LargestBelow(train, first, last, Percent(table[j - 1], 100 - startError));
  }

  std::int32_t levelTop = classCount;
  for (std::int32_t j = classCount; j >= 0; --j) {
    if (table[j] == 0) levelTop = j - 1;
  }
  if (levelTop < 0) return -1;
  for (std::int32_t j = classCount; j <= levelTop; ++j) table[j] = table[2];
  return std::min(levelTop, classCount - 1);
}

// Half the distance from class j to its nearer neighbour among classes 0..levelTop.
std::int64_t HalfWindow(const LearnedTimings& timings, std::int32_t j, std::int32_t levelTop) {
  const auto& c = timings.LevelTable;
  if (levelTop == 0) return c[0];
  std::int64_t distance = j > 0 ? Minus(c[j - 1], c[j]) : Minus(c[j], c[j + 1]);
  if (j > 0 && j < levelTop) distance = std::min(distance, Minus(c[j], c[j + 1]));
  return distance / 2;
}

}  // namespace

std::string MultiLevelCode(const PulseTrain& train, std::int32_t first, std::int32_t last,
                           std::int32_t classCount, std::optional<std::int32_t> highestDigit,
                           std::int32_t startError, LearnedTimings& timings) {
  const std::int32_t prefixLength = std::clamp(timings.PrefixLength, 0, PulseBufferSize);
  std::string code = timings.PrefixText.substr(
      0, std::min<std::size_t>(timings.PrefixText.size(), static_cast<std::size_t>(prefixLength)));

  classCount = std::clamp(classCount, 1, LastLevel);
  const std::int32_t levelTop =
      BuildLevelTable(train, first, last, classCount, startError, timings);
  if (levelTop < 0) {
    timings.LevelTable.fill(0);
    timings.LevelTop = 0;
    return code;
  }
  timings.LevelTop = static_cast<std::uint8_t>(levelTop);

  const auto& c = timings.LevelTable;
  // Tolerances of the fallback digits, from the first classes.
  const std::int64_t w0 = Minus(c[0], c[1]) / 2;
  const std::int64_t w3 = c[2] == 0 ? w0 : Minus(c[1], c[2]) / 2;
  const std::int64_t shortest = c[static_cast<std::size_t>(levelTop)];
  const char highest =
      static_cast<char>('0' + std::clamp(highestDigit.value_or(levelTop), 0, LastLevel));

  std::array<std::int64_t, LastLevel + 1> half{};
  for (std::int32_t j = 0; j <= levelTop; ++j) half[j] = HalfWindow(timings, j, levelTop);

  for (std::int32_t i = first + prefixLength; i <= last; ++i) {
    const std::int64_t x = train[i];
    bool matched = false;
    for (std::int32_t j = 0; j <= levelTop && !matched; ++j) {
      if (Minus(c[j], half[j]) < x && x < Plus(c[j], half[j])) {
        code += static_cast<char>('0' + levelTop - j);
        matched = true;
      }
    }
    if (matched) continue;
    if (x >= Plus(shortest, w0)) {
      code += highest;
    } else if (x <= Minus(shortest, w3)) {
      code += '0';
    }
  }
  return code;
}

}  // namespace quillon

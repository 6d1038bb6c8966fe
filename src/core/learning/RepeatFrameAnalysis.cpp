#include "core/learning/RepeatFrameAnalysis.h"

#include <algorithm>
#include <vector>

namespace quillon {

namespace {

// x matches y when it lies within `error` percent of y, bounds included.
bool Matches(std::int64_t x, std::int64_t y, std::int32_t error) {
  return Percent(y, 100 - error) <= x && x <= Percent(y, 100 + error);
}

using Durations = std::array<std::int64_t, 21>;

// d[first..last] matches other[first + shift..last + shift]; an empty range matches nothing.
bool RunMatches(const Durations& d, const Durations& other, std::int32_t first, std::int32_t last,
                std::int32_t shift, std::int32_t error) {
  if (first > last) return false;
  for (std::int32_t i = first; i <= last; ++i) {
    if (!Matches(d[static_cast<std::size_t>(i)], other[static_cast<std::size_t>(i + shift)],
                 error)) {
      return false;
    }
  }
  return true;
}

RepeatFrameBlock ResultFrom(const Durations& d, std::int32_t first, std::int32_t last) {
  RepeatFrameBlock result;
  for (std::int32_t i = first; i <= last; ++i) {
    result.RepeatFrame[static_cast<std::size_t>(i - first)] = d[static_cast<std::size_t>(i)];
  }
  result.RepeatTop = last - first + 1;
  return result;
}

// Phase 1: a train whose durations s..p come again right after p.
bool RepeatsItself(const RepeatFrameBlock& train, std::int32_t error, RepeatFrameBlock& found) {
  const std::int32_t half = train.RepeatTop / 2;
  std::int32_t p = half;
  std::int32_t s = 0;
  do {
    if (RunMatches(train.RepeatFrame, train.RepeatFrame, s, p, p + 1, error)) {
      found = ResultFrom(train.RepeatFrame, s, p);
      return true;
    }
    if (--p < 1) {
      ++s;
      p = half - s;
    }
  } while (half - 1 >= s);
  return false;
}

// Phase 3: a run of at least four durations that two trains share at the same positions.
bool Agree(const RepeatFrameBlock& a, const RepeatFrameBlock& b, std::int32_t error,
           RepeatFrameBlock& found) {
  const std::int32_t shorter = std::min(a.RepeatTop, b.RepeatTop);
  std::int32_t p = shorter;
  std::int32_t s = 0;
  do {
    if (RunMatches(a.RepeatFrame, b.RepeatFrame, s, p, 0, error)) {
      found = ResultFrom(a.RepeatFrame, s, p);
      return true;
    }
    if (--p < 3) {
      ++s;
      p = shorter - s;
    }
  } while (p - 3 >= s);
  return false;
}

bool SameFrame(const RepeatFrameBlock& a, const RepeatFrameBlock& b, std::int32_t error) {
  for (std::size_t j = 0; j < a.RepeatFrame.size(); ++j) {
    if (!Matches(a.RepeatFrame[j], b.RepeatFrame[j], error)) return false;
  }
  return true;
}

}  // namespace

void TrainTable::Record(const PulseTrain& train) {
  RepeatFrameBlock& entry = Entries[static_cast<std::size_t>(TrainIndex)];
  entry = RepeatFrameBlock{};
  entry.Index = TrainIndex;
  entry.RepeatTop = std::min(train.Size(), MaxTrain);
  for (std::int32_t i = 0; i < entry.RepeatTop; ++i) {
    entry.RepeatFrame[static_cast<std::size_t>(i)] = train[i];
  }
  TrainIndex = (TrainIndex + 1) % Size;
}

RepeatFrameBlock RepeatFrameAnalysis(const TrainTable& trains, std::int32_t maxValueError) {
  std::array<RepeatFrameBlock, TrainTable::Size> results{};
  for (std::int32_t i = 0; i < TrainTable::Size; ++i)
    results[static_cast<std::size_t>(i)].Index = i;
  std::int32_t count = 0;

  const auto& t = trains.Trains();
  for (const RepeatFrameBlock& train : t) {
    if (train.RepeatTop <= 0 || train.RepeatTop >= TrainTable::MaxTrain) continue;
    RepeatFrameBlock found;
    if (RepeatsItself(train, maxValueError, found)) {
      found.Index = count;
      results[static_cast<std::size_t>(count++)] = found;
    }
  }

  if (count >= 2) {
    // Each result is valid when it agrees with the last one.
    const RepeatFrameBlock& last = results[static_cast<std::size_t>(count - 1)];
    for (std::int32_t a = 0; a < count - 1; ++a) {
      results[static_cast<std::size_t>(a)].Valid =
          SameFrame(results[static_cast<std::size_t>(a)], last, maxValueError) ? 1 : 0;
    }
  } else if (count == 0) {
    for (std::size_t t1 = 1; t1 <= 8 && count == 0; ++t1) {
      if (t[t1].RepeatTop < 1 || t[t1].RepeatTop > 19) continue;
      for (std::size_t t2 = t1 + 1; t2 <= 9 && count == 0; ++t2) {
        RepeatFrameBlock found;
        if (Agree(t[t1], t[t2], maxValueError, found)) {
          found.Index = 0;
          found.Valid = 1;
          results[0] = found;
          count = 1;
        }
      }
    }
  }

  RepeatFrameBlock chosen = results[9];
  for (std::size_t i = 0; i < 9; ++i) {
    if (results[i].Valid == 1) {
      chosen = results[i];
      break;
    }
  }
  // RepeatTop becomes the index of the last non-zero duration.
  std::int32_t top = std::clamp(chosen.RepeatTop, 0, 20);
  while (top > 0 && chosen.RepeatFrame[static_cast<std::size_t>(top)] == 0) --top;
  chosen.RepeatTop = top;
  return chosen;
}

}  // namespace quillon

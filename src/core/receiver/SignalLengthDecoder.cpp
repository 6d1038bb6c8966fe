#include "core/receiver/SignalLengthDecoder.h"

#include <algorithm>
#include <array>
#include <limits>

#include "core/receiver/DurationSearch.h"
#include "core/receiver/MultiLevelCode.h"

namespace quillon {

namespace {

constexpr std::int32_t MaxSoundClasses = 11;
constexpr std::int32_t FrameSpacing = 6;  // occurrences closer than this belong to the data

// The sound classes of a burst and which durations fall in each.
//
// Class values descend from the longest duration, each the largest duration below the previous
// one less MaxValueError percent. A duration belongs to a class when it lies strictly within
// MaxValueError percent of the class value; the windows overlap, so a duration can belong to
// two classes. Membership covers indices 0..n, the entry just past the data included.
class SoundClasses {
 public:
  SoundClasses(const PulseTrain& train, std::int32_t maxValueError) : N(train.Size()) {
    if (N == 0) return;
    std::int64_t value = LargestDuration(train, 0, N - 1);
    while (value > 0 && Count < MaxSoundClasses) {
      const std::int64_t low = Percent(value, 100 - maxValueError);
      const std::int64_t high = Percent(value, 100 + maxValueError);
      auto& members = Members[static_cast<std::size_t>(Count)];
      for (std::int32_t k = 0; k <= N; ++k) members[k] = low < train[k] && train[k] < high;
      IsFraming[Count] = FirstTwoApart(members);
      IsGap[Count] = IsFraming[Count] && AllApart(members);
      ++Count;
      value = LargestBelow(train, 0, N - 1, low);
    }
  }

  std::int32_t Size() const { return Count; }

  bool Contains(std::int32_t c, std::int32_t k) const { return Members[c][k]; }

  std::int32_t CountWithin(std::int32_t c, std::int32_t first, std::int32_t last) const {
    std::int32_t count = 0;
    for (std::int32_t k = first; k <= last; ++k) count += Members[c][k] ? 1 : 0;
    return count;
  }

  bool Framing(std::int32_t c) const { return IsFraming[c]; }
  bool GapClass(std::int32_t c) const { return IsGap[c]; }

 private:
  using Membership = std::array<bool, PulseBufferSize + 1>;

  // A framing class occurs once, or with its first two occurrences at least six apart; the
  // others are data classes.
  bool FirstTwoApart(const Membership& members) const {
    std::int32_t first = -1;
    for (std::int32_t k = 0; k <= N; ++k) {
      if (!members[k]) continue;
      if (first >= 0) return k - first >= FrameSpacing;
      first = k;
    }
    return first >= 0;
  }

  // A gap separates frames, never two data durations: every two of its successive occurrences
  // in the data are at least six apart.
  bool AllApart(const Membership& members) const {
    std::int32_t previous = -1;
    for (std::int32_t k = 0; k < N; ++k) {
      if (!members[k]) continue;
      if (previous >= 0 && k - previous < FrameSpacing) return false;
      previous = k;
    }
    return true;
  }

  std::int32_t N;
  std::int32_t Count = 0;
  std::array<Membership, MaxSoundClasses> Members{};
  std::array<bool, MaxSoundClasses> IsFraming{};
  std::array<bool, MaxSoundClasses> IsGap{};
};

struct FrameBounds {
  std::int32_t Start = -1;  // index of the start pulse
  std::int32_t Gap = -1;    // index of the gap that closes the frame
};

// The start pulse of a frame closed by the gap at `gap` in gap class `gapClass`, or -1.
//
// The frame's durations are those before the gap that are at most 70 % of it: the run that
// the frame decoder reads before that gap ends it. The start pulse is a header at the start of
// that run, its first or second duration (a header mark may be as short as the data marks,
// its space is not), that belongs to a framing class occurring nowhere else in the run. A
// frame without a header is opened by the earlier gap of the same class that ends the run.
std::int32_t StartOfFrame(const PulseTrain& train, const SoundClasses& classes,
                          std::int32_t gapClass, std::int32_t gap) {
  const std::int64_t cut = Percent(train[gap], 70);
  std::int32_t before = gap - 1;
  while (before >= 0 && train[before] <= cut) --before;
  const std::int32_t runFirst = before + 1;

  for (std::int32_t start = runFirst; start <= std::min(runFirst + 1, gap - 2); ++start) {
    for (std::int32_t c = 0; c < classes.Size(); ++c) {
      if (classes.Contains(c, start) && classes.Framing(c) &&
          classes.CountWithin(c, runFirst, gap - 1) == 1) {
        return start;
      }
    }
  }
  if (before >= 0 && before <= gap - 2 && classes.Contains(gapClass, before)) return before;
  return -1;
}

// The first complete frame of the burst: the earliest duration (after index 0, which may span
// the quiet time before the burst) of a gap class that closes a frame with a start pulse.
FrameBounds FindFrame(const PulseTrain& train, const SoundClasses& classes) {
  for (std::int32_t gap = 1; gap < train.Size(); ++gap) {
    for (std::int32_t c = 0; c < classes.Size(); ++c) {
      if (!classes.Contains(c, gap) || !classes.GapClass(c)) continue;
      const std::int32_t start = StartOfFrame(train, classes, c, gap);
      if (start >= 0) return {start, gap};
    }
  }
  return {};
}

bool WithinPercent(std::int64_t x, std::int64_t reference) {
  return Percent(reference, 70) <= x && x <= Percent(reference, 130);
}

// The class just above the shortest data class: t1 is the longest data duration and each next
// one the longest below 70 % of the previous; the shortest duration tells which of them sits
// just above it.
std::int64_t MaxValueOf(const PulseTrain& train, std::int32_t first, std::int32_t last) {
  const std::int32_t t1 =
      LargestBelow(train, first, last, std::numeric_limits<std::int64_t>::max());
  const std::int32_t t2 = LargestBelow(train, first, last, Percent(t1, 70));
  const std::int32_t t3 = LargestBelow(train, first, last, Percent(t2, 70));
  const std::int32_t t4 = LargestBelow(train, first, last, Percent(t3, 70));
  const std::int32_t shortest = SmallestAbove(train, first, last, 0);
  if (t4 > 0 && WithinPercent(shortest, t4)) return t3;
  if (t3 > 0 && WithinPercent(shortest, t3)) return t2;
  return t1;
}

}  // namespace

SignalLengthResult SignalLengthDecode(const PulseTrain& train, const DecoderSettings& settings,
                                      LearnedTimings& timings) {
  const SoundClasses classes(train, settings.MaxValueError);
  const FrameBounds frame = FindFrame(train, classes);
  if (frame.Start < 0) return {};

  const std::int32_t first = frame.Start + 1;
  const std::int32_t last = frame.Gap - 1;
  SignalLengthResult result;
  result.Code = MultiLevelCode(train, first, last, settings.DifferentImp, std::nullopt,
                               settings.StartError, timings);
  timings.MaxValue = MaxValueOf(train, first, last);
  result.Sample = FrameSample{train[frame.Start], train[frame.Gap]};
  return result;
}

}  // namespace quillon

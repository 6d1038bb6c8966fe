#include "replay/PressMaker.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

#include "replay/CaptureReplay.h"

namespace quillon {

namespace {

constexpr std::int64_t FrameSpace = 60'000;       // 6 ms: a space this long separates frames
constexpr std::int64_t CommonPeriod = 1'080'000;  // 108 ms

std::int64_t Sum(std::span<const std::int64_t> durations) {
  return std::accumulate(durations.begin(), durations.end(), std::int64_t{0});
}

// Two frames of one content: as many durations, each pair within 20 % of the longer.
bool SameFrame(std::span<const std::int64_t> a, std::span<const std::int64_t> b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::abs(a[i] - b[i]) * 5 > std::max(a[i], b[i])) return false;
  }
  return true;
}

}  // namespace

PressDurations HoldPress(const Transmission& transmission, std::int64_t holdTicks) {
  const std::size_t count = transmission.Frames.size();
  const std::size_t from = transmission.RepeatFrom;
  PressDurations press;
  std::int64_t start = 0;  // of the next frame, from the first edge
  std::int64_t gap = 0;    // the space after the frame sent last
  for (std::size_t sent = 0;; ++sent) {
    if (sent >= transmission.MinFrames && start >= holdTicks) break;
    if (sent >= count && from >= count) break;
    const std::size_t frame = sent < count ? sent : from + (sent - count) % (count - from);
    if (sent > 0) press.push_back(gap);
    const PressDurations& durations = transmission.Frames[frame];
    press.insert(press.end(), durations.begin(), durations.end());
    gap = transmission.Gaps[frame];
    start += Sum(durations) + gap;
  }
  return press;
}

Transmission CaptureTransmission(std::span<const std::int64_t> durations) {
  Transmission t;
  PressDurations frame;
  for (std::size_t i = 0; i < durations.size(); ++i) {
    if (i % 2 == 1 && durations[i] >= FrameSpace) {
      t.Frames.push_back(std::move(frame));
      t.Gaps.push_back(durations[i]);
      frame.clear();
    } else {
      frame.push_back(durations[i]);
    }
  }
  t.Frames.push_back(std::move(frame));
  const std::size_t count = t.Frames.size();
  if (count == 1) {
    const std::int64_t length = Sum(t.Frames.front());
    t.Gaps.push_back(CommonPeriod - length);
    t.RepeatFrom = 2 * length < CommonPeriod ? 0 : 1;
    return t;
  }
  for (std::size_t f = 1; f < count; ++f) {
    for (std::size_t e = 0; e < f; ++e) {
      if (!SameFrame(t.Frames[e], t.Frames[f])) continue;
      // Frames e..f-1 are the unit sent again and again; the gap before frame f leads back.
      t.Frames.resize(f);
      t.Gaps.resize(f);
      t.MinFrames = f;
      t.RepeatFrom = e;
      return t;
    }
  }
  // The last frame keeps the period of the one before it.
  const std::int64_t period = Sum(t.Frames[count - 2]) + t.Gaps.back();
  t.Gaps.push_back(std::max(period - Sum(t.Frames.back()), FrameSpace));
  t.MinFrames = count;
  t.RepeatFrom = count - 1;
  return t;
}

PressDurations Received(std::span<const std::int64_t> durations, std::int64_t skewTicks,
                        std::int32_t percent, std::mt19937& random) {
  PressDurations skewed(durations.begin(), durations.end());
  for (std::size_t i = 0; i < skewed.size(); ++i) {
    skewed[i] += i % 2 == 0 ? skewTicks : -skewTicks;
    skewed[i] = std::max<std::int64_t>(skewed[i], 1);
  }
  return Jitter(skewed, percent, random);
}

}  // namespace quillon

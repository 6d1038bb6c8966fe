#include "core/recognition/TemplateMatcher.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace quillon {

namespace {

// A frame this short that matches nothing is taken for a glitch; a longer one is a frame of
// another remote or the rest of a frame cut by the burst window, and makes a burst of
// common frames no repeat.
constexpr std::size_t GlitchDurations = 3;

// The cost of a burst's frame against a template frame: whole frames alike in length (or two
// longer, over a glitch), or, by `prefix`, the beginnings of a frame and a longer or cut one.
double Cost(const Frame& received, bool prefix, const TemplateFrame& reference,
            const Tolerance& tolerance) {
  const std::size_t size = reference.Durations.size();
  if (prefix) {
    return reference.Cut || received.size() < size
               ? PrefixCost(received, reference.Durations, tolerance)
               : MissCost;
  }
  if (reference.Cut || (received.size() != size && received.size() != size + 2)) return MissCost;
  return FrameCost(received, reference.Durations, tolerance);
}

// Each button's cost for one frame of the burst, and the nearest template frame's.
struct FrameCosts {
  std::vector<double> OfButton;
  double Nearest = MissCost;
  bool NearestCommon = false;

  void Assess(const RemoteTemplates& templates, const Frame& frame, bool prefix,
              const Tolerance& tolerance) {
    Nearest = MissCost;
    NearestCommon = false;
    const auto& buttons = templates.Buttons;
    OfButton.assign(buttons.size(), MissCost);
    for (std::size_t b = 0; b < buttons.size(); ++b) {
      if (buttons[b].Shadowed) continue;
      for (const TemplateFrame& reference : buttons[b].Frames) {
        const double cost = Cost(frame, prefix, reference, tolerance);
        OfButton[b] = std::min(OfButton[b], cost);
        if (cost < Nearest) {
          Nearest = cost;
          NearestCommon = reference.Common;
        }
      }
    }
  }
};

}  // namespace

TemplateMatch MatchBurst(const RemoteTemplates& templates,
                         std::span<const std::int64_t> microseconds,
                         const MatchSettings& settings) {
  const auto& buttons = templates.Buttons;
  std::vector<double> scores(buttons.size(), 0.0);
  FrameCosts costs;
  std::int32_t telling = 0;
  std::int32_t common = 0;
  std::int32_t unknown = 0;
  const std::vector<Frame> frames = SplitFrames(microseconds);
  for (std::size_t f = 0; f < frames.size(); ++f) {
    const Frame& frame = frames[f];
    costs.Assess(templates, frame, false, settings.Within);
    // The last frame, which the burst window may have cut, is compared by its beginning when
    // it matches nothing whole.
    if (costs.Nearest >= 1.0 && f + 1 == frames.size()) {
      costs.Assess(templates, frame, true, settings.Within);
    }
    if (costs.Nearest >= 1.0) {
      if (frame.size() > GlitchDurations) ++unknown;
      continue;
    }
    if (costs.NearestCommon) {
      ++common;
      continue;
    }
    ++telling;
    for (std::size_t b = 0; b < buttons.size(); ++b) scores[b] += costs.OfButton[b];
  }

  TemplateMatch match;
  if (telling == 0) {
    if (common > 0 && unknown == 0) match.Answer = TemplateAnswer::Repeat;
    return match;
  }
  constexpr double None = std::numeric_limits<double>::max();
  double best = None;
  double second = None;
  std::size_t bestButton = 0;
  for (std::size_t b = 0; b < buttons.size(); ++b) {
    if (buttons[b].Shadowed) continue;
    if (scores[b] < best) {
      second = best;
      best = scores[b];
      bestButton = b;
    } else if (scores[b] < second) {
      second = scores[b];
    }
  }
  if (best == None || (second != None && second - best < settings.Margin)) return match;
  match.Answer = TemplateAnswer::Key;
  match.Key = buttons[bestButton].Key;
  return match;
}

}  // namespace quillon

#include "core/recognition/ButtonTemplates.h"

#include <algorithm>
#include <cstdlib>

namespace quillon {

namespace {

// Aligning a frame over a glitch, or comparing beginnings only, costs this much on top of the
// deviations, so that a frame received whole is preferred.
constexpr double GlitchCost = 0.5;
constexpr double PrefixPenalty = 0.5;

// The deviations of durations from their references, summed as FrameCost states.
class Deviation {
 public:
  explicit Deviation(const Tolerance& tolerance) : Within(tolerance) {}

  // False once so many durations are outside that the frame is a miss anyway.
  bool Add(std::int64_t received, std::int32_t reference) {
    const auto limit = static_cast<double>(Within.Of(reference));
    const double off = static_cast<double>(std::llabs(received - reference)) / limit;
    ++Count;
    if (off > 1.0) {
      ++Outside;
      Squares += 1.0;
    } else {
      Squares += off * off;
    }
    return Outside < MissCost;
  }

  std::int32_t Out() const { return Outside; }

  double Cost() const {
    if (Outside >= MissCost || Count == 0) return MissCost;
    return Outside + Squares / static_cast<double>(Count);
  }

 private:
  const Tolerance& Within;
  std::int32_t Outside = 0;
  double Squares = 0;
  std::size_t Count = 0;
};

double AlignedCost(const Frame& received, const Frame& reference, std::size_t count,
                   const Tolerance& tolerance) {
  Deviation deviation(tolerance);
  for (std::size_t i = 0; i < count; ++i) {
    if (!deviation.Add(received[i], reference[i])) return MissCost;
  }
  return deviation.Cost();
}

// `received` has two durations more than `reference`: the first duration that leaves the
// tolerance, with the two after it, is taken as one.
double GlitchAlignedCost(const Frame& received, const Frame& reference,
                         const Tolerance& tolerance) {
  const std::size_t n = reference.size();
  std::size_t split = 0;
  while (split + 1 < n && std::llabs(std::int64_t{received[split]} - reference[split]) <=
                              tolerance.Of(reference[split])) {
    ++split;
  }
  Deviation deviation(tolerance);
  for (std::size_t i = 0; i < n; ++i) {
    std::int64_t value = received[i < split ? i : i + 2];
    if (i == split) value = std::int64_t{received[i]} + received[i + 1] + received[i + 2];
    if (!deviation.Add(value, reference[i])) return MissCost;
  }
  if (deviation.Out() > 0) return MissCost;
  return std::min(MissCost, deviation.Cost() + GlitchCost);
}

// Whether `b` accounts for `a`: a whole frame by a whole frame alike; a cut frame by any frame
// that begins alike. A whole frame is not accounted for by a cut one, which may end otherwise.
bool Covers(const TemplateFrame& b, const TemplateFrame& a, const Tolerance& tolerance) {
  if (a.Cut) return PrefixCost(a.Durations, b.Durations, tolerance) < 1.0;
  return !b.Cut && a.Durations.size() == b.Durations.size() &&
         FrameCost(a.Durations, b.Durations, tolerance) < 1.0;
}

// Every frame of `a` is a frame of `b`.
bool FramesWithin(const ButtonTemplate& a, const ButtonTemplate& b, const Tolerance& tolerance) {
  return std::all_of(a.Frames.begin(), a.Frames.end(), [&](const TemplateFrame& fa) {
    return std::any_of(b.Frames.begin(), b.Frames.end(),
                       [&](const TemplateFrame& fb) { return Covers(fb, fa, tolerance); });
  });
}

struct Cluster {
  std::vector<std::int64_t> Sum;
  Frame Mean;
  bool Cut = false;
  std::int32_t Members = 0;
  std::vector<std::size_t> Presses;  // distinct, in order

  // How far `frame` lies from the cluster; cut frames are compared by their beginnings.
  double Cost(const Frame& frame, bool cut, const Tolerance& tolerance) const {
    if (cut != Cut) return MissCost;
    if (cut) return PrefixCost(frame, Mean, tolerance);
    return Mean.size() == frame.size() ? FrameCost(frame, Mean, tolerance) : MissCost;
  }

  void Add(const Frame& frame, bool cut, std::size_t press) {
    Cut = cut;
    const std::size_t size = Sum.empty() ? frame.size() : std::min(Sum.size(), frame.size());
    Sum.resize(size);
    ++Members;
    Mean.resize(size);
    for (std::size_t i = 0; i < size; ++i) {
      Sum[i] += frame[i];
      Mean[i] = static_cast<std::int32_t>((Sum[i] + Members / 2) / Members);
    }
    if (Presses.empty() || Presses.back() != press) Presses.push_back(press);
  }
};

}  // namespace

std::vector<Frame> SplitFrames(std::span<const std::int64_t> microseconds) {
  std::vector<Frame> frames;
  Frame current;
  const auto close = [&] {
    if (current.size() % 2 == 0 && !current.empty()) current.pop_back();
    if (!current.empty()) frames.push_back(std::move(current));
    current.clear();
  };
  for (std::size_t i = 0; i < microseconds.size(); ++i) {
    const std::int64_t value = std::clamp<std::int64_t>(microseconds[i], 1, MaxDurationUs);
    const bool space = i % 2 == 1;
    if (space && value >= FrameSplitUs) {
      close();
      continue;
    }
    if (current.size() < MaxFrameDurations) current.push_back(static_cast<std::int32_t>(value));
  }
  close();
  return frames;
}

double FrameCost(const Frame& received, const Frame& reference, const Tolerance& tolerance) {
  if (reference.empty()) return MissCost;
  if (received.size() == reference.size()) {
    return AlignedCost(received, reference, reference.size(), tolerance);
  }
  if (received.size() == reference.size() + 2) {
    return GlitchAlignedCost(received, reference, tolerance);
  }
  return MissCost;
}

double PrefixCost(const Frame& received, const Frame& reference, const Tolerance& tolerance) {
  const std::size_t count = std::min(received.size(), reference.size());
  if (count < MinPrefix) return MissCost;
  return std::min(MissCost, AlignedCost(received, reference, count, tolerance) + PrefixPenalty);
}

ButtonTemplate BuildButtonTemplate(std::int32_t key, std::string name,
                                   const std::vector<LearnedBurst>& bursts,
                                   const Tolerance& tolerance) {
  std::vector<Cluster> clusters;
  for (std::size_t press = 0; press < bursts.size(); ++press) {
    const std::vector<Frame> frames = SplitFrames(bursts[press].Microseconds);
    for (std::size_t f = 0; f < frames.size(); ++f) {
      const bool cut = bursts[press].EndsCut && f + 1 == frames.size();
      if (cut && frames[f].size() < MinPrefix) continue;
      Cluster* nearest = nullptr;
      double nearestCost = 1.0;
      for (Cluster& cluster : clusters) {
        const double cost = cluster.Cost(frames[f], cut, tolerance);
        if (cost < nearestCost) {
          nearestCost = cost;
          nearest = &cluster;
        }
      }
      if (nearest == nullptr) nearest = &clusters.emplace_back();
      nearest->Add(frames[f], cut, press);
    }
  }
  const bool anyRepeated = std::any_of(clusters.begin(), clusters.end(),
                                       [](const Cluster& c) { return c.Presses.size() >= 2; });
  ButtonTemplate button{.Key = key, .Name = std::move(name), .Frames = {}, .Shadowed = false};
  for (Cluster& cluster : clusters) {
    if (anyRepeated && cluster.Presses.size() < 2) continue;
    if (button.Frames.size() == MaxButtonFrames) break;
    button.Frames.push_back(
        {.Durations = std::move(cluster.Mean), .Common = false, .Cut = cluster.Cut});
  }
  return button;
}

void PrepareTemplates(RemoteTemplates& templates, const Tolerance& tolerance) {
  auto& buttons = templates.Buttons;
  for (ButtonTemplate& button : buttons) {
    button.Shadowed = false;
    for (TemplateFrame& frame : button.Frames) frame.Common = false;
  }
  for (std::size_t a = 0; a < buttons.size(); ++a) {
    for (std::size_t b = a + 1; b < buttons.size() && !buttons[a].Shadowed; ++b) {
      buttons[a].Shadowed = FramesWithin(buttons[a], buttons[b], tolerance) &&
                            FramesWithin(buttons[b], buttons[a], tolerance);
    }
  }
  for (std::size_t a = 0; a < buttons.size(); ++a) {
    if (buttons[a].Shadowed) continue;
    for (TemplateFrame& frame : buttons[a].Frames) {
      for (std::size_t b = 0; b < buttons.size() && !frame.Common; ++b) {
        if (b == a || buttons[b].Shadowed) continue;
        frame.Common = std::any_of(
            buttons[b].Frames.begin(), buttons[b].Frames.end(),
            [&](const TemplateFrame& other) { return Covers(other, frame, tolerance); });
      }
    }
  }
}

}  // namespace quillon

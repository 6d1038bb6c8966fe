#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quillon {

// One frame of a burst in microseconds: mark, space, ..., mark. The spaces that separate
// frames are no part of them.
using Frame = std::vector<std::int32_t>;

// A space this long ends a frame. Data spaces of the common protocols stay below 5 ms.
inline constexpr std::int32_t FrameSplitUs = 6000;
// Limits of a template, as the companion file holds them.
inline constexpr std::size_t MaxFrameDurations = 500;
inline constexpr std::size_t MaxButtonFrames = 64;
inline constexpr std::int32_t MaxDurationUs = 1'000'000;
inline constexpr std::int32_t MaxTemplateKey = 99;

// How far a received duration may lie from a template's: relative to the template's duration
// plus an absolute part, as receivers stretch and shorten by both.
struct Tolerance {
  double Relative = 0.3;
  std::int32_t AbsoluteUs = 100;

  std::int64_t Of(std::int32_t templateUs) const {
    return static_cast<std::int64_t>(Relative * templateUs) + AbsoluteUs;
  }
};

struct TemplateFrame {
  Frame Durations;
  // Another button has this frame too (a repeat code, a constant header frame): it tells that
  // the remote is sending, not which button.
  bool Common = false;
  // The burst window closed inside the frame: only its beginning is known.
  bool Cut = false;
};

// The durations (microseconds) of one burst of a learning press; EndsCut when the burst window
// closed inside its last frame (the rest of the press came as another burst).
struct LearnedBurst {
  std::vector<std::int64_t> Microseconds;
  bool EndsCut = false;
};

// A learned button's frames: what its learning presses sent, each frame seen in two or more
// of them (all frames when none was seen twice), averaged.
struct ButtonTemplate {
  std::int32_t Key = 0;  // the key table entry
  std::string Name;      // the key's name, as stored in the remote data file
  std::vector<TemplateFrame> Frames;
  // A later button sends the same frames (a lock-up pair of the key table): it answers for
  // both, as the later key of a pair does.
  bool Shadowed = false;
};

struct RemoteTemplates {
  std::vector<ButtonTemplate> Buttons;

  bool Empty() const { return Buttons.empty(); }
};

// The frames of a burst given in microseconds, mark first; durations are held to 1 us to
// MaxDurationUs. A trailing space is dropped.
std::vector<Frame> SplitFrames(std::span<const std::int64_t> microseconds);

// What `FrameCost` gives a frame that cannot be aligned with a template frame.
inline constexpr double MissCost = 8.0;
// A frame is compared by its beginning alone (`PrefixCost`) over at least this many durations.
inline constexpr std::size_t MinPrefix = 16;

// How far `received` lies from `reference`: the number of durations outside the tolerance
// (at most MissCost), plus the mean squared deviation in tolerances (below 1). Below 1 means
// every duration is within the tolerance. A frame two durations longer than the reference is
// aligned by taking three of its durations as one (a glitch splitting a mark or a space).
double FrameCost(const Frame& received, const Frame& reference, const Tolerance& tolerance);

// The cost of the first min(sizes) durations, as FrameCost, plus a half for knowing no more
// (MissCost below MinPrefix durations): a frame cut by the burst window against another.
double PrefixCost(const Frame& received, const Frame& reference, const Tolerance& tolerance);

// A button's template from the bursts of its learning presses. Cut frames are gathered by
// their common beginning.
ButtonTemplate BuildButtonTemplate(std::int32_t key, std::string name,
                                   const std::vector<LearnedBurst>& bursts,
                                   const Tolerance& tolerance);

// Sets Shadowed and Common over the whole remote; done whenever templates are built or read.
void PrepareTemplates(RemoteTemplates& templates, const Tolerance& tolerance);

}  // namespace quillon

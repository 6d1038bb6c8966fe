#pragma once

#include <cstdint>
#include <span>

#include "core/recognition/ButtonTemplates.h"

namespace quillon {

enum class TemplateAnswer : std::uint8_t {
  None,    // nothing clear: no frame matched, or the best button is not clearly ahead
  Key,     // the button of Key
  Repeat,  // only frames several buttons send: the button held is the one before
};

struct TemplateMatch {
  TemplateAnswer Answer = TemplateAnswer::None;
  std::int32_t Key = 0;
};

struct MatchSettings {
  Tolerance Within;
  // The best button's cost must be at least this far below the second best's.
  double Margin = 0.5;
};

// Matches a burst (durations in microseconds, mark first) against a remote's templates. Each
// frame of the burst is compared with every button's frames on its own, so a glitch before a
// frame or an extra frame moves nothing: a frame that matches no template frame within the
// tolerance is left out. The last frame, which the burst window may have cut, is also compared
// by its beginning (PrefixCost). A frame whose nearest template frame is common to several
// buttons tells nothing about the button; every other frame adds each button's cost for it
// (MissCost when the button has no such frame). The button with the lowest sum is the answer
// when it is ahead of the second by the margin. A burst of common frames alone, glitches
// aside, is the repeat part of a held button.
TemplateMatch MatchBurst(const RemoteTemplates& templates,
                         std::span<const std::int64_t> microseconds, const MatchSettings& settings);

}  // namespace quillon

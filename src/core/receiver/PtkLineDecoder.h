#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/learning/RemoteData.h"

namespace quillon {

// A microcontroller receiver measures a burst itself and sends it as a text line whose
// characters are byte values in the receiver's own time units. A line of 6 or more characters
// is a frame: a leading character, values below 37 that say nothing about time, then the
// measured durations. A shorter line is a repeat frame, all of its characters durations.
inline constexpr std::size_t MinFrameLine = 6;

// The first variant serves key dispatch and button capture (receive modes 0 and 1) and keeps
// the repeat accumulator; the second serves the signal-length test and the receiver-ready
// check (modes 2 and 4) and the hold-button test, where a short line yields nothing.
enum class LineVariant : std::uint8_t { Keys, Measure };

struct LineDecode {
  std::string Code;            // digits, or the repeat frame's values for a held button
  bool RepeatFrame = false;    // a short line repeated the learned repeat frame
  std::uint8_t Threshold = 0;  // the longest duration class below 123 (0 without one)
};

// The values of short lines, compared with the learned repeat frame once they hold two of its
// lengths. Only a usable frame is compared: validity 1 and 1..9 values (a receiver frame
// record holds nine), so the accumulator never grows beyond two frames and a short line.
class RepeatAccumulator {
 public:
  static constexpr std::int32_t MaxFrame = 9;

  // Adds a short line; true when the values now repeat the frame.
  bool Take(std::string_view line, const RepeatFrameBlock& frame);
  std::size_t Size() const { return Values.size(); }

 private:
  std::vector<std::int64_t> Values;
};

// Whether a learned repeat frame can be compared with receiver lines.
bool UsableReceiverFrame(const RepeatFrameBlock& frame);

// Decodes one key-data line into a key code: the durations' classes (each the longest value
// more than 5 units below the previous class, starting below 123; header classes far above
// the others dropped with their durations), each duration written as the digit of every class
// within 3 units of it, the shortest class "0". More than ten classes give an empty code, as a
// digit could not tell them apart. A short line (first variant) feeds `repeats`; when it
// completes a repeat of `frame` the code is that frame's values, each followed by a blank,
// which matches no learned code, so that dispatch repeats the last key.
LineDecode DecodeKeyLine(std::string_view line, LineVariant variant, RepeatAccumulator& repeats,
                         const RepeatFrameBlock& frame);

}  // namespace quillon

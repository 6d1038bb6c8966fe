#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quillon::ptksim {

// How the simulated receiver sends a press. It measures every duration in units of 80 us and
// sends it as the byte 37 + units (rounded, at most 255), so no duration byte is a control
// character or a value the program's decoder skips. A space longer than the frame end closes
// a frame; each frame becomes one line, sent when the receiver has seen the frame end:
//
// - a frame of 5 or more durations: ':' then its bytes (at most 250), then CR LF;
// - a shorter frame (the repeat frame of a held button): its bytes alone, then CR LF.
//
// The frame end is the timing parameter T once the program has tuned it (a space whose byte
// is above T ends a frame), and 10 ms before (T below 37, as the blank character a reset
// leaves). Equal presses give equal lines; durations that differ by a few percent mostly give
// the same bytes, and the program's decoder reads classes within 3 units, so its codes stay.

inline constexpr std::int64_t UnitTicks = 800;  // counter ticks (100 ns) per receiver unit
inline constexpr int FirstValue = 37;
inline constexpr int LastValue = 255;
inline constexpr std::size_t MaxLineValues = 250;
inline constexpr std::size_t MinFrameValues = 5;
inline constexpr char FrameMark = ':';

// The byte a duration (in counter ticks) is sent as.
std::uint8_t DurationValue(std::int64_t ticks);

// A line of a press and when it is sent, in counter ticks from the press's first edge.
struct TimedLine {
  std::int64_t At = 0;
  std::string Bytes;  // ending in CR LF
};

// The lines of one press: durations alternately mark and space from a mark, in counter ticks.
std::vector<TimedLine> EncodePress(std::span<const std::int64_t> durations, std::uint8_t receiverT);

}  // namespace quillon::ptksim

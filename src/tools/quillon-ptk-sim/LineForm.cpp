#include "quillon-ptk-sim/LineForm.h"

#include <algorithm>

namespace quillon::ptksim {

namespace {

constexpr std::int64_t UntunedFrameEnd = 100'000;  // 10 ms

// Whether a space closes the frame, and how long after its start the receiver knows it.
bool EndsFrame(std::int64_t space, std::uint8_t receiverT) {
  if (receiverT < FirstValue) return space >= UntunedFrameEnd;
  return DurationValue(space) > receiverT;
}

std::int64_t FrameEndWait(std::uint8_t receiverT) {
  if (receiverT < FirstValue) return UntunedFrameEnd;
  return std::int64_t{receiverT - FirstValue + 1} * UnitTicks;
}

std::string LineOf(const std::vector<std::int64_t>& frame) {
  std::string line;
  if (frame.size() >= MinFrameValues) line += FrameMark;
  for (std::size_t i = 0; i < frame.size() && i < MaxLineValues; ++i) {
    line += static_cast<char>(DurationValue(frame[i]));
  }
  return line + "\r\n";
}

}  // namespace

std::uint8_t DurationValue(std::int64_t ticks) {
  const std::int64_t units = (std::max<std::int64_t>(ticks, 0) + UnitTicks / 2) / UnitTicks;
  return static_cast<std::uint8_t>(std::min<std::int64_t>(FirstValue + units, LastValue));
}

std::vector<TimedLine> EncodePress(std::span<const std::int64_t> durations,
                                   std::uint8_t receiverT) {
  std::vector<TimedLine> lines;
  std::vector<std::int64_t> frame;
  std::int64_t at = 0;
  for (std::size_t i = 0; i < durations.size(); ++i) {
    const bool space = i % 2 == 1;
    if (space && EndsFrame(durations[i], receiverT)) {
      lines.push_back({at + FrameEndWait(receiverT), LineOf(frame)});
      frame.clear();
    } else {
      frame.push_back(durations[i]);
    }
    at += durations[i];
  }
  if (!frame.empty()) lines.push_back({at + FrameEndWait(receiverT), LineOf(frame)});
  return lines;
}

}  // namespace quillon::ptksim

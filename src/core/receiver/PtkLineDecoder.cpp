#include "core/receiver/PtkLineDecoder.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr std::int32_t FirstDuration = 37;  // smaller values are no durations
constexpr std::int32_t ClassCeiling = 123;  // the first class lies below
constexpr std::int32_t ClassStep = 5;       // a class lies more than this below the previous
constexpr std::int32_t ClassWindow = 3;
constexpr std::size_t MaxClasses = 10;
constexpr std::int32_t RepeatTolerance = 5;

std::int32_t ByteValue(char c) { return static_cast<unsigned char>(c); }

// The largest value below `limit`, 0 when there is none.
std::int32_t LargestBelow(const std::vector<std::int32_t>& values, std::int32_t limit) {
  std::int32_t largest = 0;
  for (const std::int32_t v : values) {
    if (v < limit) largest = std::max(largest, v);
  }
  return largest;
}

LineDecode DecodeFrameLine(std::string_view line) {
  std::vector<std::int32_t> data;
  for (const char c : line.substr(1)) data.push_back(ByteValue(c));
  const auto small =
      std::count_if(data.begin(), data.end(), [](std::int32_t v) { return v < FirstDuration; });
  data.erase(data.begin(), data.begin() + small);

  std::vector<std::int32_t> classes;
  for (std::int32_t c = LargestBelow(data, ClassCeiling); c != 0;
       c = LargestBelow(data, c - ClassStep)) {
    classes.push_back(c);
  }
  LineDecode result;
  result.Threshold = classes.empty() ? 0 : static_cast<std::uint8_t>(classes.front());
  if (classes.size() > MaxClasses) return result;

  // Classes far above the spacing of the shortest ones are header durations, which lead the
  // frame: they go with as many leading durations.
  const auto m = static_cast<std::int32_t>(classes.size());
  if (m > 2) {
    const std::int32_t t = (classes[m - 2] - classes[m - 1]) * (m - 2) + ClassStep;
    std::int32_t r = 0;
    for (std::int32_t i = 0; i + 1 < m; ++i) r += classes[i] - classes[i + 1] > t ? 1 : 0;
    data.erase(data.begin(), data.begin() + std::min<std::size_t>(r, data.size()));
    classes.erase(classes.begin(), classes.begin() + r);
  }

  const auto top = static_cast<std::int32_t>(classes.size()) - 1;
  for (const std::int32_t x : data) {
    for (std::int32_t j = 0; j <= top; ++j) {
      const std::int32_t c = classes[static_cast<std::size_t>(j)];
      if (c - ClassWindow <= x && x <= c + ClassWindow) {
        result.Code += static_cast<char>('0' + (top - j));
      }
    }
  }
  return result;
}

}  // namespace

bool UsableReceiverFrame(const RepeatFrameBlock& frame) {
  return frame.Valid == 1 && frame.RepeatTop >= 1 && frame.RepeatTop <= RepeatAccumulator::MaxFrame;
}

bool RepeatAccumulator::Take(std::string_view line, const RepeatFrameBlock& frame) {
  if (!UsableReceiverFrame(frame)) {
    Values.clear();
    return false;
  }
  for (const char c : line) Values.push_back(ByteValue(c));
  const auto length = static_cast<std::size_t>(frame.RepeatTop);
  if (Values.size() < 2 * length) return false;

  bool repeated = false;
  for (std::size_t offset = 0; offset + length <= Values.size() && !repeated; ++offset) {
    repeated = true;
    for (std::size_t k = 0; k < length && repeated; ++k) {
      // Bounds around the byte value: the learned value comes from a file and may lie anywhere
      // in the 64-bit range, where a difference would overflow.
      const std::int64_t value = Values[offset + k];
      const std::int64_t learned = frame.RepeatFrame[k];
      repeated = learned >= value - RepeatTolerance && learned <= value + RepeatTolerance;
    }
  }
  Values.clear();
  return repeated;
}

LineDecode DecodeKeyLine(std::string_view line, LineVariant variant, RepeatAccumulator& repeats,
                         const RepeatFrameBlock& frame) {
  if (line.size() >= MinFrameLine) return DecodeFrameLine(line);
  LineDecode result;
  if (variant == LineVariant::Keys && repeats.Take(line, frame)) {
    result.RepeatFrame = true;
    for (std::int32_t k = 0; k < frame.RepeatTop; ++k) {
      result.Code += std::to_string(frame.RepeatFrame[static_cast<std::size_t>(k)]) + " ";
    }
  }
  return result;
}

}  // namespace quillon

#include "core/learning/CodeShape.h"

#include <algorithm>
#include <limits>

namespace quillon {

CodeShape CodeShapeAnalysis(const RemoteData& remote, DecodingLimits& limits,
                            std::int32_t& frameLengthSpread) {
  CodeShape shape;
  std::int32_t shortest = 500;
  std::int32_t longest = 0;
  const std::int32_t keyCount = std::clamp(remote.KeyCount, 0, TableEntries);
  for (std::int32_t k = 1; k < keyCount; ++k) {
    for (const auto& data : remote.Keys[static_cast<std::size_t>(k)].Data) {
      const std::string_view code = data.Raw();
      if (code.empty()) continue;
      const auto length = static_cast<std::int32_t>(code.size());
      shortest = std::min(shortest, length);
      longest = std::max(longest, length);
      for (const char c : code) {
        if (c == '0' || c == '1') continue;
        if (c < '0' || c > '9') {
          if (shape.Problem.empty()) {
            shape.Problem = "the code of key " + std::to_string(k) + " holds \"" + data.Text() +
                            "\", which is not a run of digits";
          }
          continue;
        }
        shape.MultiLevelCoding = true;
        const auto digit = static_cast<std::uint8_t>(c - '0');
        if (digit > limits.LevelCount - 1) limits.LevelCount = static_cast<std::uint8_t>(digit + 1);
      }
    }
  }
  if (!shape.MultiLevelCoding) limits.LevelCount = 2;

  frameLengthSpread = longest - shortest;
  if (longest < shortest || frameLengthSpread >= 6) frameLengthSpread = 3;

  limits.MaxFrameLength = longest;
  limits.MinFrameLength = shortest;
  if (!(longest < 500 && shortest >= 6 && longest >= shortest)) {
    // NominalLength is read from the file as it stands: the limits are taken in 64 bits and
    // held within their own range, so that a corrupt value cannot overflow.
    const auto limit = [](std::int64_t length) {
      return static_cast<std::int32_t>(
          std::clamp<std::int64_t>(length, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max()));
    };
    limits.MinFrameLength = limit(std::int64_t{remote.NominalLength} - frameLengthSpread);
    limits.MaxFrameLength = limit(std::int64_t{remote.NominalLength} + frameLengthSpread);
  }
  return shape;
}

}  // namespace quillon

#pragma once

#include <cstdint>
#include <string>

#include "core/learning/RemoteData.h"
#include "core/receiver/DecoderTypes.h"

namespace quillon {

struct CodeShape {
  bool MultiLevelCoding = false;  // some code uses a symbol other than "0" and "1"
  std::string Problem;            // a code symbol that is no digit, when one was met
};

// Sets the decoding limits from the learned codes of `remote`, at every load of a remote file:
// LevelCount rises to one more than the highest digit (2 when all codes are binary; it is never
// lowered otherwise), and the frame length limits span the shortest to the longest code, or
// NominalLength plus or minus FrameLengthSpread when the codes' lengths are implausible.
// A symbol that is no digit is skipped and reported in Problem.
CodeShape CodeShapeAnalysis(const RemoteData& remote, DecodingLimits& limits,
                            std::int32_t& frameLengthSpread);

}  // namespace quillon

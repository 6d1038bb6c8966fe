#pragma once

#include <cstdint>
#include <string>

#include "core/receiver/DecoderTypes.h"
#include "core/receiver/PulseTrain.h"

namespace quillon {

// What the frame and voting decoders read: the learned remote's timings (the multi-level form
// writes LevelTable and LevelTop back), the limits derived from its codes, the tolerance
// settings and the key-code form in force.
struct DecodeContext {
  LearnedTimings& Timings;
  const DecodingLimits& Limits;
  const DecoderSettings& Settings;
  bool MultiLevelCoding = false;
};

// Decodes the first acceptable frame at or after `index`: a start pulse, data durations and a
// closing gap, with the number of data durations within the frame limits. On success `index`
// is left at the closing gap. An empty code means no frame; `index` is then left where the
// search stopped, or unchanged when no start pulse was found at all.
std::string FrameDecode(const PulseTrain& train, std::int32_t& index, DecodeContext& context);

// Decodes up to four successive frames of a burst (a held button repeats its frame) and takes
// the majority, preferring the later frames: the first frame of a burst is the one most often
// cut short.
std::string VotingDecode(const PulseTrain& train, DecodeContext& context);

}  // namespace quillon

#pragma once

#include <cstdint>
#include <memory>

#include "core/learning/RemoteData.h"
#include "core/receiver/DecoderTypes.h"
#include "core/recognition/ButtonTemplates.h"

namespace quillon {

// The remote in use: its record as loaded, the decoders' live reference timings (the
// multi-level decodes and the signal-length test write them; saving stores them back) and the
// limits derived from its codes at load, and the button templates of its companion file (none
// when it has no such file). One instance lives for the whole run; loading copies
// into it, so references to its parts stay valid.
struct CurrentRemote {
  std::unique_ptr<RemoteData> Record = NewRemoteData();
  LearnedTimings Timings;
  DecodingLimits Limits;
  std::int32_t FrameLengthSpread = 0;
  RemoteTemplates Templates;
};

}  // namespace quillon

// The decoders on arbitrary trains with arbitrary learned values: a pulse buffer of any
// durations a receiver or a capture file can give (any non-negative count of ticks, stale
// entries past the count included), learned timings and limits of any content as a remote
// file can hold them, and tolerance settings within their ranges. The voting decoder runs in
// both key-code forms, the frame decoder from any start, the signal-length decoder on the
// burst, whose frame is then adopted as learning would and the burst decoded again, and the
// multi-level form on any part of the buffer. Codes hold the prefix text, then digits only.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "core/receiver/MultiLevelCode.h"
#include "core/receiver/SignalLengthDecoder.h"
#include "core/receiver/VotingDecoder.h"

namespace {

using namespace quillon;

constexpr std::int64_t LongestTypical = 2'000'000;  // 200 ms: a frame gap of a slow remote

std::int64_t Duration(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 15)) {
    case 0:
      return input.ConsumeIntegralInRange<std::int64_t>(0,
                                                        std::numeric_limits<std::int64_t>::max());
    case 1:
      return input.ConsumeIntegralInRange<std::int64_t>(0, 5);
    default:
      return input.ConsumeIntegralInRange<std::int64_t>(0, LongestTypical);
  }
}

std::int64_t Learned(FuzzedDataProvider& input) {
  return input.ConsumeBool() ? input.ConsumeIntegral<std::int64_t>()
                             : input.ConsumeIntegralInRange<std::int64_t>(0, LongestTypical);
}

// A code of the bit form starts with the whole prefix text, one of the multi-level form with
// its first PrefixLength characters; the rest are digits up to `highest`.
void CheckCode(const std::string& code, const LearnedTimings& timings, bool multiLevel) {
  if (code.empty()) return;
  const std::size_t prefix =
      multiLevel
          ? std::min<std::size_t>(
                timings.PrefixText.size(),
                static_cast<std::size_t>(std::clamp(timings.PrefixLength, 0, PulseBufferSize)))
          : timings.PrefixText.size();
  QUILLON_FUZZ_CHECK(code.compare(0, prefix, timings.PrefixText, 0, prefix) == 0);
  const char highest = multiLevel ? '9' : '1';
  for (std::size_t i = prefix; i < code.size(); ++i) {
    QUILLON_FUZZ_CHECK(code[i] >= '0' && code[i] <= highest);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);

  DecoderSettings settings;
  settings.MaxValueError = input.ConsumeIntegralInRange(20, 40);
  settings.StartError = input.ConsumeIntegralInRange(20, 60);
  settings.DifferentImp = input.ConsumeIntegralInRange(2, 4);

  LearnedTimings learned;
  learned.StartPulse = Learned(input);
  learned.FrameGap = Learned(input);
  learned.MaxValue = Learned(input);
  learned.PrefixLength = input.ConsumeBool() ? input.ConsumeIntegral<std::int32_t>()
                                             : input.ConsumeIntegralInRange(0, 40);
  learned.PrefixText = input.ConsumeRandomLengthString(40);
  for (std::int64_t& level : learned.LevelTable) level = Learned(input);
  learned.LevelTop = input.ConsumeIntegral<std::uint8_t>();
  DecodingLimits limits;
  limits.MinFrameLength = input.ConsumeBool() ? input.ConsumeIntegral<std::int32_t>()
                                              : input.ConsumeIntegralInRange(0, 200);
  limits.MaxFrameLength = input.ConsumeBool() ? input.ConsumeIntegral<std::int32_t>()
                                              : input.ConsumeIntegralInRange(0, 200);
  limits.LevelCount = input.ConsumeIntegral<std::uint8_t>();
  const std::int32_t from = input.ConsumeIntegralInRange(-2, PulseBufferSize + 4);
  const std::int32_t first = input.ConsumeIntegralInRange(-2, PulseBufferSize + 4);
  const std::int32_t last = input.ConsumeIntegralInRange(-2, PulseBufferSize + 4);
  const std::int32_t classCount = input.ConsumeIntegralInRange(-2, 12);
  const std::optional<std::int32_t> highestDigit =
      input.ConsumeBool() ? std::optional(input.ConsumeIntegralInRange(-2, 12)) : std::nullopt;
  const std::int32_t count = input.ConsumeIntegralInRange(0, PulseBufferSize);
  const std::int64_t stale = Duration(input);

  PulseBufferArray buffer;
  buffer.fill(stale);
  for (std::int64_t& duration : buffer) {
    if (input.remaining_bytes() == 0) break;
    duration = Duration(input);
  }
  const PulseTrain train(buffer, count);

  for (const bool multiLevel : {false, true}) {
    LearnedTimings timings = learned;
    DecodeContext context{timings, limits, settings, multiLevel};
    CheckCode(VotingDecode(train, context), learned, multiLevel);
    std::int32_t index = from;
    CheckCode(FrameDecode(train, index, context), learned, multiLevel);
  }

  LearnedTimings timings = learned;
  const SignalLengthResult found = SignalLengthDecode(train, settings, timings);
  QUILLON_FUZZ_CHECK(found.Sample || found.Code.empty());
  CheckCode(found.Code, learned, true);
  if (found.Sample) {
    timings.StartPulse = found.Sample->StartPulse;
    timings.FrameGap = found.Sample->FrameGap;
    DecodingLimits adopted;
    adopted.MinFrameLength = static_cast<std::int32_t>(found.Code.size()) - 2;
    adopted.MaxFrameLength = static_cast<std::int32_t>(found.Code.size()) + 2;
    adopted.LevelCount = static_cast<std::uint8_t>(settings.DifferentImp);
    for (const bool multiLevel : {false, true}) {
      LearnedTimings again = timings;
      DecodeContext context{again, adopted, settings, multiLevel};
      CheckCode(VotingDecode(train, context), timings, multiLevel);
    }
  }

  timings = learned;
  CheckCode(
      MultiLevelCode(train, first, last, classCount, highestDigit, settings.StartError, timings),
      learned, true);
  QUILLON_FUZZ_CHECK(timings.LevelTop <= 9);
  return 0;
}

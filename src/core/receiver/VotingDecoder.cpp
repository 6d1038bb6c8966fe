#include "core/receiver/VotingDecoder.h"

#include <algorithm>

#include "core/receiver/MultiLevelCode.h"

namespace quillon {

namespace {

std::string BitCode(const PulseTrain& train, std::int32_t first, std::int32_t last,
                    const DecodeContext& context) {
  const LearnedTimings& t = context.Timings;
  const std::int64_t oneAbove = Percent(t.MaxValue, 100 - context.Settings.MaxValueError);
  std::string code = t.PrefixText;
  for (std::int32_t i = first + std::clamp(t.PrefixLength, 0, PulseBufferSize); i <= last; ++i) {
    code += train[i] > oneAbove ? '1' : '0';
  }
  return code;
}

}  // namespace

std::string FrameDecode(const PulseTrain& train, std::int32_t& index, DecodeContext& context) {
  const LearnedTimings& t = context.Timings;
  // Without learned reference timings no duration can open or close a frame.
  if (t.StartPulse <= 0 || t.FrameGap <= 0) return {};

  const std::int32_t n = train.Size();
  const std::int64_t startLow = Percent(t.StartPulse, 70);
  const std::int64_t startHigh = Percent(t.StartPulse, 130);
  const std::int64_t gapLow = Percent(t.FrameGap, 70);
  const std::int64_t gapHigh = Percent(t.FrameGap, 130);
  const std::int64_t dataHigh = Percent(t.MaxValue, 100 + context.Settings.MaxValueError);
  const bool bitForm = !context.MultiLevelCoding;

  std::int32_t i = index;
  std::int32_t start = 0;
  for (;;) {
    while (!(startLow < train[i] && train[i] < startHigh) && i < n - 1) ++i;
    if (train[i] < startLow || train[i] > startHigh) return {};

    start = i;
    do {
      ++i;
    } while (i <= n - 1 && train[i] <= gapLow && !(bitForm && train[i] > dataHigh));

    const std::int32_t length = i - start - 1;
    if (length >= context.Limits.MinFrameLength && length <= context.Limits.MaxFrameLength) break;
    if (i >= n - 1) {
      index = i;
      return {};
    }
    ++i;  // search a new start pulse after the duration that ended the rejected frame
  }

  // The closing duration must be a gap. Past the data only the upper bound applies: the entry
  // there is whatever an earlier burst left in the buffer.
  index = i;
  if ((i < n && train[i] < gapLow) || train[i] > gapHigh) return {};

  if (bitForm) return BitCode(train, start + 1, i - 1, context);
  return MultiLevelCode(train, start + 1, i - 1, context.Limits.LevelCount,
                        context.Limits.LevelCount - 1, context.Settings.StartError,
                        context.Timings);
}

std::string VotingDecode(const PulseTrain& train, DecodeContext& context) {
  std::int32_t index = 0;
  const std::string s1 = FrameDecode(train, index, context);
  ++index;
  const std::string s2 = FrameDecode(train, index, context);
  ++index;
  const std::string s3 = FrameDecode(train, index, context);
  ++index;
  const std::string s4 = FrameDecode(train, index, context);

  if (!s1.empty() && s1 == s2 && s2 == s3 && s3 == s4) return s1;
  if (!s2.empty() && s2 == s3 && s3 == s4) return s2;
  if (!s1.empty() && s1 == s3 && s3 == s4) return s1;
  if (!s2.empty() && s2 == s3) return s2;
  if (!s1.empty() && s1 == s2) return s1;
  if (!s3.empty() && s3 == s4) return s3;
  for (const std::string* s : {&s2, &s1, &s3, &s4}) {
    if (!s->empty()) return *s;
  }
  return {};
}

}  // namespace quillon

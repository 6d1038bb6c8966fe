// Decoder micro-benchmarks.
//
// Every benchmark reports items processed as the number of decodes, and a `time_per_decode`
// counter (CPU time per decode), so benchmarks that run one decode per iteration and those
// that run a whole capture set per iteration compare directly.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "core/receiver/CaptureFile.h"
#include "core/receiver/DecoderTypes.h"
#include "core/receiver/PulseTrain.h"
#include "core/receiver/SignalLengthDecoder.h"
#include "core/receiver/VotingDecoder.h"
#include "replay/CaptureReplay.h"

namespace {

using quillon::DecodeContext;
using quillon::DecoderSettings;
using quillon::DecodingLimits;
using quillon::LearnedTimings;
using quillon::PulseBufferArray;
using quillon::PulseTrain;

// ---------------------------------------------------------------------------------------------
// Synthetic burst
//
// A remote holding its button: the same frame repeated until the buffer holds 500 durations,
// the last frame cut off as the burst window would cut it. One frame is a 9 ms start pulse,
// 32 data durations (marks of 560 us, spaces of 560 us or 1690 us) and a 40 ms gap, in 10 MHz
// counter ticks. Every duration is moved by up to 3 % so the decoders see the spread of a real
// receiver rather than exact multiples.

constexpr std::int32_t SyntheticCount = 500;
constexpr std::int64_t StartTicks = 90'000;
constexpr std::int64_t ShortTicks = 5'600;
constexpr std::int64_t LongTicks = 16'900;
constexpr std::int64_t GapTicks = 400'000;
constexpr std::int32_t DataPerFrame = 32;
constexpr std::uint32_t DataBits = 0xA5C3;  // one bit per data space
constexpr std::int32_t JitterPercent = 3;
constexpr std::int32_t FrameLengthSlack = 3;  // as far as learning widens a code's length

struct SyntheticBurst {
  PulseBufferArray Buffer{};
  LearnedTimings Timings;
  DecodingLimits Limits;
};

SyntheticBurst MakeSyntheticBurst() {
  std::vector<std::int64_t> frame;
  frame.push_back(StartTicks);
  for (std::int32_t k = 1; k <= DataPerFrame; ++k) {
    // Data starts with a space right after the start pulse (a mark); spaces carry the bits.
    const bool space = k % 2 == 1;
    const bool one = ((DataBits >> ((k - 1) / 2)) & 1U) != 0;
    frame.push_back(space && one ? LongTicks : ShortTicks);
  }
  frame.push_back(GapTicks);

  std::vector<std::int64_t> exact;
  while (exact.size() < static_cast<std::size_t>(SyntheticCount)) {
    exact.insert(exact.end(), frame.begin(), frame.end());
  }
  exact.resize(static_cast<std::size_t>(SyntheticCount));

  std::mt19937 random(1);  // fixed seed: every run measures the same burst
  const std::vector<std::int64_t> jittered = quillon::Jitter(exact, JitterPercent, random);

  SyntheticBurst burst;
  std::copy(jittered.begin(), jittered.end(), burst.Buffer.begin());
  burst.Timings.StartPulse = StartTicks;
  burst.Timings.FrameGap = GapTicks;
  burst.Timings.MaxValue = LongTicks;  // the class just above the shortest data class
  burst.Limits.MinFrameLength = DataPerFrame - FrameLengthSlack;
  burst.Limits.MaxFrameLength = DataPerFrame + FrameLengthSlack;
  burst.Limits.LevelCount = 3;
  return burst;
}

const SyntheticBurst& Synthetic() {
  static const SyntheticBurst burst = MakeSyntheticBurst();
  return burst;
}

// Items processed and the time per decode, for `decodesPerIteration` decodes per iteration.
void ReportDecodes(benchmark::State& state, std::int64_t decodesPerIteration) {
  state.SetItemsProcessed(state.iterations() * decodesPerIteration);
  state.counters["decodes"] = static_cast<double>(decodesPerIteration);
  state.counters["time_per_decode"] = benchmark::Counter(
      static_cast<double>(decodesPerIteration),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_VotingDecodeSynthetic(benchmark::State& state, bool multiLevel) {
  const SyntheticBurst& burst = Synthetic();
  const PulseTrain train(burst.Buffer, SyntheticCount);
  LearnedTimings timings = burst.Timings;  // the multi-level form writes its classes back
  const DecoderSettings settings;
  DecodeContext context{timings, burst.Limits, settings, multiLevel};

  // A decoder that rejects every frame would return at once and measure nothing useful.
  if (VotingDecode(train, context).empty()) {
    state.SkipWithError("the synthetic burst does not decode");
    return;
  }
  for (auto _ : state) {
    std::string code = VotingDecode(train, context);
    benchmark::DoNotOptimize(code);
  }
  ReportDecodes(state, 1);
}
BENCHMARK_CAPTURE(BM_VotingDecodeSynthetic, bit, false);
BENCHMARK_CAPTURE(BM_VotingDecodeSynthetic, multilevel, true);

void BM_SignalLengthDecodeSynthetic(benchmark::State& state) {
  const SyntheticBurst& burst = Synthetic();
  const PulseTrain train(burst.Buffer, SyntheticCount);
  LearnedTimings timings;  // written by the decoder; nothing learned is read
  const DecoderSettings settings;

  if (SignalLengthDecode(train, settings, timings).Code.empty()) {
    state.SkipWithError("the synthetic burst has no frame for the signal-length decoder");
    return;
  }
  for (auto _ : state) {
    quillon::SignalLengthResult result = SignalLengthDecode(train, settings, timings);
    benchmark::DoNotOptimize(result);
  }
  ReportDecodes(state, 1);
}
BENCHMARK(BM_SignalLengthDecodeSynthetic);

// ---------------------------------------------------------------------------------------------
// Recorded captures
//
// Each record's first durations, as many as a burst can hold before the receiver throws it
// away (499), and the timings that learning would take from its signal-length decode.

constexpr std::size_t MaxBurstDurations = 499;

struct RealCapture {
  PulseBufferArray Buffer{};
  std::int32_t Count = 0;
  LearnedTimings Timings;
  DecodingLimits Limits;
  bool MultiLevel = false;
};

struct RealCaptureSet {
  std::vector<RealCapture> Captures;  // those that both decoders frame
  std::int64_t Records = 0;
  std::int64_t SignalLengthFramed = 0;
  std::string Error;  // why the set could not be built, if it could not
};

RealCaptureSet LoadRealCaptures() {
  RealCaptureSet set;
  const std::filesystem::path folder =
      std::filesystem::path(QUILLON_SOURCE_DIR) / "samples" / "ir-captures";
  std::error_code error;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().extension() == ".irc") files.push_back(entry.path());
  }
  if (error) {
    set.Error = "cannot list " + folder.string() + ": " + error.message();
    return set;
  }
  std::sort(files.begin(), files.end());  // a fixed order keeps runs comparable

  const DecoderSettings settings;
  for (const auto& file : files) {
    const auto records = quillon::ReadCaptureFile(file);
    if (!records) {
      set.Error = records.ErrorMessage();
      return set;
    }
    for (const quillon::CaptureRecord& record : records.Value()) {
      ++set.Records;
      RealCapture capture;
      const std::size_t n = std::min(record.Durations.size(), MaxBurstDurations);
      std::copy_n(record.Durations.begin(), n, capture.Buffer.begin());
      capture.Count = static_cast<std::int32_t>(n);
      const PulseTrain train(capture.Buffer, capture.Count);

      // Learning: the signal-length decode gives the frame's start pulse, gap, MaxValue and
      // code, and the code gives the length window and the key-code form.
      const quillon::SignalLengthResult found =
          SignalLengthDecode(train, settings, capture.Timings);
      if (!found.Sample || found.Code.empty()) continue;
      ++set.SignalLengthFramed;
      capture.Timings.StartPulse = found.Sample->StartPulse;
      capture.Timings.FrameGap = found.Sample->FrameGap;
      const auto length = static_cast<std::int32_t>(found.Code.size());
      capture.Limits.MinFrameLength = length - FrameLengthSlack;
      capture.Limits.MaxFrameLength = length + FrameLengthSlack;
      const char highest = *std::max_element(found.Code.begin(), found.Code.end());
      capture.MultiLevel = highest > '1';
      capture.Limits.LevelCount = static_cast<std::uint8_t>(std::max(highest - '0' + 1, 2));

      DecodeContext context{capture.Timings, capture.Limits, settings, capture.MultiLevel};
      if (VotingDecode(train, context).empty()) continue;
      set.Captures.push_back(std::move(capture));
    }
  }
  if (set.Captures.empty()) set.Error = "no recorded capture decodes";
  return set;
}

// Read once: the benchmark functions run several times while the iteration count is tuned.
RealCaptureSet& RealCaptures() {
  static RealCaptureSet set = LoadRealCaptures();
  return set;
}

void ReportCaptureSet(benchmark::State& state, const RealCaptureSet& set) {
  state.counters["records"] = static_cast<double>(set.Records);
  state.counters["sl_framed"] = static_cast<double>(set.SignalLengthFramed);
}

void BM_VotingDecodeReal(benchmark::State& state) {
  RealCaptureSet& set = RealCaptures();
  if (!set.Error.empty()) {
    state.SkipWithError(set.Error.c_str());
    return;
  }
  const DecoderSettings settings;
  std::vector<DecodeContext> contexts;
  contexts.reserve(set.Captures.size());
  for (RealCapture& capture : set.Captures) {
    contexts.push_back({capture.Timings, capture.Limits, settings, capture.MultiLevel});
  }
  for (auto _ : state) {
    for (std::size_t k = 0; k < set.Captures.size(); ++k) {
      const RealCapture& capture = set.Captures[k];
      std::string code = VotingDecode(PulseTrain(capture.Buffer, capture.Count), contexts[k]);
      benchmark::DoNotOptimize(code);
    }
  }
  ReportDecodes(state, static_cast<std::int64_t>(set.Captures.size()));
  ReportCaptureSet(state, set);
}
BENCHMARK(BM_VotingDecodeReal);

void BM_SignalLengthDecodeReal(benchmark::State& state) {
  const RealCaptureSet& set = RealCaptures();
  if (!set.Error.empty()) {
    state.SkipWithError(set.Error.c_str());
    return;
  }
  const DecoderSettings settings;
  LearnedTimings timings;  // written by the decoder; nothing learned is read
  for (auto _ : state) {
    for (const RealCapture& capture : set.Captures) {
      quillon::SignalLengthResult result =
          SignalLengthDecode(PulseTrain(capture.Buffer, capture.Count), settings, timings);
      benchmark::DoNotOptimize(result);
    }
  }
  ReportDecodes(state, static_cast<std::int64_t>(set.Captures.size()));
  ReportCaptureSet(state, set);
}
BENCHMARK(BM_SignalLengthDecodeReal);

}  // namespace

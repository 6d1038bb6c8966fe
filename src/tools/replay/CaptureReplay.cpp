#include "replay/CaptureReplay.h"

#include <algorithm>

namespace quillon {

namespace {

// Quiet time between presses: longer than any burst window, so each press starts afresh.
constexpr std::uint32_t QuietMs = 1000;

}  // namespace

ReplayBench::ReplayBench() {
  Pipeline.SetConsumers({.Dispatcher = this, .SignalLength = this});
  Pipeline.ReceiveEnabled = true;
}

void PlayPress(ReceivePipeline& pipeline, platform::FakeEventLoop& loop,
               const platform::FakeClock& clock, std::span<const std::int64_t> durations) {
  if (durations.empty()) {  // no edge at all
    loop.AdvanceBy(QuietMs);
    return;
  }
  std::int64_t edge = clock.Counter();
  pipeline.TakeEdge(edge, EdgeSource::ModemStatus);
  for (const std::int64_t duration : durations) {
    edge += duration;
    loop.AdvanceTo(edge);
    pipeline.TakeEdge(edge, EdgeSource::ModemStatus);
  }
  loop.AdvanceBy(QuietMs);
}

void ReplayBench::AdoptFrame(const Decoded& burst, std::int32_t impulseDiv) {
  const std::string& code = burst.Code;
  if (burst.Sample) {
    Timings.StartPulse = burst.Sample->StartPulse;
    Timings.FrameGap = burst.Sample->FrameGap;
  }
  Timings.MaxValue = burst.MaxValue;
  const auto length = static_cast<std::int32_t>(code.size());
  Limits.MinFrameLength = length - impulseDiv;
  Limits.MaxFrameLength = length + impulseDiv;
  const char highest = code.empty() ? '0' : *std::max_element(code.begin(), code.end());
  Pipeline.MultiLevelCoding = highest > '1';
  Limits.LevelCount = static_cast<std::uint8_t>(std::max(highest - '0' + 1, 2));
}

void ReplayBench::KeyDispatch(const std::string& code, bool /*repeatFrame*/) {
  Bursts.push_back({code, std::nullopt, Timings.MaxValue});
}

void ReplayBench::SignalLengthAnalysis(const std::string& code,
                                       const std::optional<FrameSample>& sample) {
  Bursts.push_back({code, sample, Timings.MaxValue});
}

std::vector<std::int64_t> Jitter(std::span<const std::int64_t> durations, std::int32_t percent,
                                 std::mt19937& random) {
  std::uniform_int_distribution<std::int32_t> spread(-percent * 100, percent * 100);
  std::vector<std::int64_t> out;
  out.reserve(durations.size());
  for (const std::int64_t d : durations) {
    out.push_back(std::max<std::int64_t>(1, d + d * spread(random) / 10'000));
  }
  return out;
}

}  // namespace quillon

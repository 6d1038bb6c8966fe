#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "core/receiver/DecoderTypes.h"
#include "core/receiver/ReceivePipeline.h"
#include "core/receiver/SignalLengthDecoder.h"
#include "platform/fake/FakeEventLoop.h"

namespace quillon {

// Plays `durations` as the edges of one press through `pipeline`, from the loop's present
// virtual time, then lets the burst timer close the burst. Edges past the burst window start
// further bursts, as they would from a real receiver.
void PlayPress(ReceivePipeline& pipeline, platform::FakeEventLoop& loop,
               const platform::FakeClock& clock, std::span<const std::int64_t> durations);

// A receive pipeline on virtual time, with a recorder of what reaches its consumers, for
// replaying recorded bursts as a receiver would deliver them: edge by edge, closed by the
// burst timer.
class ReplayBench : private KeyDispatcher, private SignalLengthConsumer {
 public:
  ReplayBench();

  void Press(std::span<const std::int64_t> durations) {
    PlayPress(Pipeline, Loop, Clock, durations);
  }

  struct Decoded {
    std::string Code;
    std::optional<FrameSample> Sample;  // signal-length test only
    std::int64_t MaxValue = 0;          // as the burst's decode left it
  };

  // Adopts the frame that a signal-length test burst found as the learned remote: its start
  // pulse, gap and MaxValue, and the code's length window and classes, as learning from
  // agreeing presses would.
  void AdoptFrame(const Decoded& burst, std::int32_t impulseDiv);

  std::vector<Decoded> Bursts;  // what each closed burst handed over, in order

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  ReceiveSettings Settings;
  LearnedTimings Timings;
  DecodingLimits Limits;
  ReceivePipeline Pipeline{Loop, Settings, Timings, Limits};

 private:
  void KeyDispatch(const std::string& code, bool repeatFrame) override;
  void SignalLengthAnalysis(const std::string& code,
                            const std::optional<FrameSample>& sample) override;
};

// A copy of `durations` with each value moved uniformly by up to `percent` percent.
std::vector<std::int64_t> Jitter(std::span<const std::int64_t> durations, std::int32_t percent,
                                 std::mt19937& random);

}  // namespace quillon

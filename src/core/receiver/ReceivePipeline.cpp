#include "core/receiver/ReceivePipeline.h"

#include <algorithm>

#include "core/receiver/SignalLengthDecoder.h"
#include "core/receiver/VotingDecoder.h"

namespace quillon {

namespace {

// A modem-status duration shorter than this is a glitch: it is overwritten by the next one.
constexpr std::int64_t MinModemDuration = 1001;

}  // namespace

ReceivePipeline::ReceivePipeline(platform::EventLoop& loop, const ReceiveSettings& settings,
                                 LearnedTimings& timings, const DecodingLimits& limits)
    : Settings(settings),
      Timings(timings),
      Limits(limits),
      Timer1(loop.CreateTimer([this] { Timer1Timer(); })),
      Timer2(loop.CreateTimer([this] { Timer2Timer(); })) {
  ApplySignalLength();
}

void ReceivePipeline::ApplySignalLength() {
  Timer1->SetInterval(static_cast<std::uint32_t>(std::max(Settings.SignalLength, 1)));
}

void ReceivePipeline::HoldOff(std::uint32_t milliseconds) {
  ReceiveEnabled = false;
  Timer2->SetInterval(milliseconds);
  Timer2->Enable();
}

void ReceivePipeline::TakeEdge(std::int64_t counter, EdgeSource source) {
  if (!ReceiveEnabled) {
    EdgePhase = false;
    if (Consumers.StartLearning != nullptr) Consumers.StartLearning->EdgeWhileReceptionOff();
    return;
  }
  if (BurstBusy) {
    PulseCount = 0;
    BurstBusy = false;
    return;
  }
  Timer1->Enable();  // a running burst timer keeps running: the burst is bounded from its start

  const std::int32_t limit = std::clamp(Settings.ImpulseNumber, 1, PulseBufferSize - 1);
  if (EdgePhase) {
    EdgePhase = false;
    MarkEnd = counter;
    StoreDuration(MarkEnd - MarkStart, source);
    if (PulseCount >= limit) PulseCount = 0;  // too long a burst: collection starts again
    return;
  }
  EdgePhase = true;
  if (PulseCount > 0) {
    SpaceEnd = counter;
    StoreDuration(SpaceEnd - MarkEnd, source);
    if (PulseCount >= limit) {
      PulseCount = 0;
      EdgePhase = false;
      return;
    }
  }
  // The edge's one counter reading, taken when the event thread woke, opens the mark.
  MarkStart = counter;
}

void ReceivePipeline::StoreDuration(std::int64_t duration, EdgeSource source) {
  PulseBuffer[static_cast<std::size_t>(PulseCount)] = duration;
  if (source != EdgeSource::ModemStatus || duration >= MinModemDuration) ++PulseCount;
}

void ReceivePipeline::ClearPrefix() {
  Timings.PrefixText.clear();
  Timings.PrefixLength = 0;
}

void ReceivePipeline::Timer1Timer() {
  Timer1->Disable();
  if (!ReceiveEnabled || PulseCount == 0) return;
  ReceiveEnabled = false;
  BurstBusy = true;

  if (ReceiveMode == ReceiveModeKind::HoldButtonTest) {
    ClearPrefix();
    MultiLevelCoding = false;
  } else if (ReceiveMode == ReceiveModeKind::LearnButton) {
    MultiLevelCoding = true;
  }

  const PulseTrain train(PulseBuffer, PulseCount);
  const auto verdict = [&] {
    return Consumers.Judge != nullptr && Consumers.Judge->RepeatFrameVerdict(train);
  };

  if (ReceiveMode == ReceiveModeKind::SignalLengthTest) {
    const SignalLengthResult result = SignalLengthDecode(train, Settings.Decoder, Timings);
    if (Consumers.SignalLength != nullptr) {
      Consumers.SignalLength->SignalLengthAnalysis(result.Code, result.Sample);
    }
  } else {
    DecodeContext context{Timings, Limits, Settings.Decoder, MultiLevelCoding};
    const std::string code = VotingDecode(train, context);
    switch (ReceiveMode) {
      case ReceiveModeKind::Execute: {
        const bool repeatFrame = verdict();
        if (Consumers.Dispatcher != nullptr) Consumers.Dispatcher->KeyDispatch(code, repeatFrame);
        break;
      }
      case ReceiveModeKind::LearnButton: {
        ClearPrefix();
        MultiLevelCoding = false;
        const bool repeatFrame = verdict();
        if (Consumers.Capture != nullptr) Consumers.Capture->ButtonCapture(code, repeatFrame);
        break;
      }
      case ReceiveModeKind::HoldButtonTest:
      case ReceiveModeKind::ReceiverReadyTest:
        if (Consumers.RepeatCode != nullptr) Consumers.RepeatCode->RepeatCodeAnalysis(code);
        break;
      case ReceiveModeKind::SignalLengthTest:
      case ReceiveModeKind::Pause:
        break;
    }
  }

  PulseCount = 0;
  BurstBusy = false;
  if (!Timer2->Enabled()) ReceiveEnabled = true;
}

void ReceivePipeline::Timer2Timer() {
  Timer2->Disable();
  ReceiveEnabled = true;
}

}  // namespace quillon

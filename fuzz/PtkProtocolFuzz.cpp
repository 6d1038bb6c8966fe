// The microcontroller receiver's line protocol on virtual time: a learned remote's repeat frame
// and timings of any content, then a run of arrivals of any bytes (split anywhere), carrier
// edges, device problems, commands (each waiting for its answer with the loop running, so that
// data arrives meanwhile), receive-mode changes and port reopenings. Complete lines leave the
// buffer, an unfinished tail never grows past the line limit, and an error report past its
// limit is dropped.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "core/receiver/PtkProtocol.h"
#include "platform/fake/FakeEventLoop.h"
#include "platform/fake/FakeSerialDevice.h"

namespace {

using namespace quillon;

constexpr int MaxCommands = 3;  // each waits seconds of virtual time
constexpr std::int32_t MaxAnswers = 4;

struct Consumers : ReceiverView,
                   KeyDispatcher,
                   ButtonCaptureConsumer,
                   RepeatCodeConsumer,
                   SignalLengthConsumer,
                   StartLearningTrigger,
                   ReceiverReadyConsumer,
                   HoldLineConsumer {
  void ShowHint(const std::string& text) override { Seen += text.size(); }
  void Log(const std::string& text) override { Seen += text.size(); }
  void KeyDispatch(const std::string& code, bool) override { Seen += code.size(); }
  void ButtonCapture(const std::string& code, bool) override { Seen += code.size(); }
  void RepeatCodeAnalysis(const std::string& code) override { Seen += code.size(); }
  void SignalLengthAnalysis(const std::string& code, const std::optional<FrameSample>&) override {
    Seen += code.size();
  }
  void EdgeWhileReceptionOff() override { ++Seen; }
  void ReceiverReadyCheck(const std::string& code, std::uint8_t) override { Seen += code.size(); }
  void HoldLineAnalysis(const KeyLine& line) override { Seen += line.Text.size(); }
  std::size_t Seen = 0;
};

struct Bench {
  Bench() {
    Clock.AdvanceTo(platform::CounterTicksPerSecond);
    Pipeline.ReceiveEnabled = true;
    Protocol.SetConsumers({&Seen, &Seen, &Seen, &Seen, nullptr, &Seen}, {&Seen, &Seen});
  }

  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  platform::FakeSerialDevice Device{Loop, Clock};
  ReceiveSettings Settings;
  LearnedTimings Timings;
  DecodingLimits Limits;
  ReceivePipeline Pipeline{Loop, Settings, Timings, Limits};
  PulseCapture Capture{Pipeline, Device};
  std::unique_ptr<RemoteData> Remote = NewRemoteData();
  Consumers Seen;
  PtkOptions Options;
  PtkProtocol Protocol{Pipeline, Capture, Device, Loop, Clock, *Remote, Seen, Options};
};

void RunCommand(Bench& bench, FuzzedDataProvider& input) {
  PtkProtocol& protocol = bench.Protocol;
  switch (input.ConsumeIntegralInRange(0, 6)) {
    case 0:
      protocol.StartReceiver();
      break;
    case 1:
      protocol.StopReceiver();
      break;
    case 2:
      protocol.SendNewT(input.ConsumeIntegral<std::uint8_t>());
      break;
    case 3:
      protocol.ResetReceiver();
      break;
    case 4:
      protocol.AskSerialNumber();
      break;
    case 5:
      protocol.SendNewTData(input.ConsumeIntegral<std::uint8_t>());
      break;
    default:
      protocol.ReceiverStartUp(input.ConsumeIntegral<std::uint8_t>());
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  Bench bench;
  RemoteData& remote = *bench.Remote;
  remote.Repeat.Valid = input.ConsumeIntegral<std::uint8_t>() % 3;
  remote.Repeat.RepeatTop = input.ConsumeIntegralInRange(0, 20);  // as loading leaves it
  for (std::int64_t& value : remote.Repeat.RepeatFrame) {
    value = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::int64_t>(0, 255)
                                : input.ConsumeIntegral<std::int64_t>();
  }
  bench.Timings.StartPulse = input.ConsumeIntegralInRange<std::int64_t>(0, 200'000);
  bench.Timings.FrameGap = input.ConsumeIntegralInRange<std::int64_t>(0, 400'000);
  bench.Timings.MaxValue = input.ConsumeIntegralInRange<std::int64_t>(0, 40'000);
  bench.Limits.MinFrameLength = input.ConsumeIntegralInRange(0, 64);
  bench.Limits.MaxFrameLength = input.ConsumeIntegralInRange(0, 128);
  bench.Pipeline.PtkFound = input.ConsumeBool();
  bench.Pipeline.ReceiveMode = static_cast<ReceiveModeKind>(input.ConsumeIntegralInRange(0, 5));
  bench.Options.KeysDelay = input.ConsumeIntegralInRange(1, 300);
  // The scripted receiver answers a few times only: one that answers every new T data with a
  // new error report keeps the program answering for as long as it does so.
  const std::int32_t answers = input.ConsumeIntegralInRange(1, MaxAnswers);
  bench.Device.Answer(input.ConsumeRandomLengthString(8), input.ConsumeRandomLengthString(40), 2,
                      answers);
  if (!bench.Protocol.OpenPort("/dev/ttyS0", 1)) return 0;

  int commands = 0;
  while (input.remaining_bytes() > 0) {
    switch (input.ConsumeIntegralInRange(0, 7)) {
      case 0:
      case 1:
      case 2:
        bench.Device.ArriveAfter(input.ConsumeIntegralInRange(0, 20),
                                 input.ConsumeRandomLengthString(600));
        break;
      case 3:
        bench.Device.CarrierEdgeAt(
            bench.Clock.Counter() + input.ConsumeIntegralInRange<std::int64_t>(0, 100'000),
            input.ConsumeIntegral<std::uint8_t>());
        break;
      case 4:
        if (commands++ < MaxCommands) RunCommand(bench, input);
        break;
      case 5:
        bench.Pipeline.ReceiveMode =
            static_cast<ReceiveModeKind>(input.ConsumeIntegralInRange(0, 5));
        bench.Pipeline.ReceiveEnabled = input.ConsumeBool();
        break;
      case 6:
        bench.Protocol.ClosePort();
        if (input.ConsumeBool() && !bench.Protocol.OpenPort("/dev/ttyS1", 2)) return 0;
        break;
      default:
        bench.Device.ProblemAfter(input.ConsumeIntegralInRange(0, 5), "device gone");
        break;
    }
    bench.Loop.AdvanceBy(input.ConsumeIntegralInRange(0, 400));
    QUILLON_FUZZ_CHECK(bench.Protocol.LineBuffer.size() <= PtkProtocol::MaxLineLength);
    QUILLON_FUZZ_CHECK(bench.Protocol.ErrorDump.size() <=
                       PtkProtocol::MaxErrorDump + PtkProtocol::MaxLineLength);
  }
  bench.Loop.AdvanceBy(3000);
  return 0;
}

#pragma once

#include <cstdint>
#include <memory>

#include "core/receiver/BurstConsumers.h"
#include "core/receiver/DecoderTypes.h"
#include "core/receiver/PulseTrain.h"
#include "platform/EventLoop.h"

namespace quillon {

// What a finished burst is used for.
enum class ReceiveModeKind : std::uint8_t {
  Execute = 0,            // key dispatch of the command side
  LearnButton = 1,        // button capture of the learning window (multi-level form)
  SignalLengthTest = 2,   // signal-length decoder and analysis
  HoldButtonTest = 3,     // repeat-code analysis (bit form, no prefix)
  Pause = 4,              // decoded and dropped
  ReceiverReadyTest = 5,  // repeat-code analysis, as in the hold-button test
};

// How an edge reached the program.
enum class EdgeSource : std::uint8_t {
  ModemStatus,  // a change of the carrier-detect line: shorter durations are glitches
  DataArrival,  // bytes from a microcontroller receiver, each arrival marking an edge
  Measured,     // durations a kernel driver or a recording measured: every duration counts
};

// The settings the pipeline reads: the burst window and size, and the decoder tolerances.
struct ReceiveSettings {
  std::int32_t SignalLength = 250;   // ms from the first edge of a burst to its decode
  std::int32_t ImpulseNumber = 500;  // a burst reaching this many durations is thrown away
  DecoderSettings Decoder;
};

// The road from an infrared burst to its consumer. Timed edges append durations to
// PulseBuffer; the burst timer, started by the first edge, closes the burst SignalLength ms
// later; the burst dispatcher decodes it and hands the key code to the consumer that the
// receive mode selects.
class ReceivePipeline {
 public:
  ReceivePipeline(platform::EventLoop& loop, const ReceiveSettings& settings,
                  LearnedTimings& timings, const DecodingLimits& limits);

  void SetConsumers(const BurstConsumers& consumers) { Consumers = consumers; }

  // One timed edge. `counter` is the high-resolution counter read when the edge was seen.
  void TakeEdge(std::int64_t counter, EdgeSource source);

  // Copies SignalLength into the burst timer (done whenever the settings may have changed).
  void ApplySignalLength();

  // Switches reception off for `milliseconds`; the hold-off timer switches it on again.
  void HoldOff(std::uint32_t milliseconds);

  bool BurstTimerRunning() const { return Timer1->Enabled(); }
  bool HoldOffRunning() const { return Timer2->Enabled(); }

  PulseBufferArray PulseBuffer{};
  std::int32_t PulseCount = 0;
  bool EdgePhase = false;  // the next edge closes a mark
  bool ReceiveEnabled = false;
  bool BurstBusy = false;
  ReceiveModeKind ReceiveMode = ReceiveModeKind::Execute;
  bool MultiLevelCoding = false;
  bool PtkFound = false;
  bool LineHoldOff = false;

 private:
  void Timer1Timer();
  void Timer2Timer();
  void StoreDuration(std::int64_t duration, EdgeSource source);
  void ClearPrefix();

  const ReceiveSettings& Settings;
  LearnedTimings& Timings;
  const DecodingLimits& Limits;
  BurstConsumers Consumers;
  std::unique_ptr<platform::Timer> Timer1;  // burst timer
  std::unique_ptr<platform::Timer> Timer2;  // hold-off timer
  std::int64_t MarkStart = 0;
  std::int64_t MarkEnd = 0;
  std::int64_t SpaceEnd = 0;
};

// Reception is off while a dialog is open: no button runs a command behind it. When the
// dialog closes, reception is as it was before.
class ReceptionOff {
 public:
  explicit ReceptionOff(ReceivePipeline& pipeline)
      : Pipeline(pipeline), WasEnabled(pipeline.ReceiveEnabled) {
    pipeline.ReceiveEnabled = false;
  }
  ~ReceptionOff() { Pipeline.ReceiveEnabled = WasEnabled; }
  ReceptionOff(const ReceptionOff&) = delete;
  ReceptionOff& operator=(const ReceptionOff&) = delete;

 private:
  ReceivePipeline& Pipeline;
  bool WasEnabled;
};

}  // namespace quillon

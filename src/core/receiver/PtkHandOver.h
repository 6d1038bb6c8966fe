#pragma once

#include <cstdint>
#include <string>

#include "core/receiver/BurstConsumers.h"
#include "core/receiver/PtkLineDecoder.h"
#include "core/receiver/ReceivePipeline.h"

namespace quillon {

// One key-data line of a microcontroller receiver, decoded for the receive mode.
struct KeyLine {
  std::string Text;          // the line without its CR LF
  LineDecode Decoded;        // by the variant of the receive mode
  std::int64_t Counter = 0;  // counter reading of the arrival that completed the line
};

// Mode 4: the receiver-ready check counts the lines of button 1 and then retunes the receiver
// from the threshold byte of the last one.
class ReceiverReadyConsumer {
 public:
  virtual ~ReceiverReadyConsumer() = default;
  virtual void ReceiverReadyCheck(const std::string& code, std::uint8_t threshold) = 0;
};

// Modes 3 and 5: the hold-button test takes the receiver's lines themselves, with their
// arrival, in place of the pulse trains a bare demodulator gives.
class HoldLineConsumer {
 public:
  virtual ~HoldLineConsumer() = default;
  virtual void HoldLineAnalysis(const KeyLine& line) = 0;
};

// The consumers of key-data lines that bursts do not have. A missing one drops its lines.
struct KeyLineConsumers {
  ReceiverReadyConsumer* ReadyCheck = nullptr;
  HoldLineConsumer* HoldLines = nullptr;
};

// The variant of the line decoder that a receive mode uses.
LineVariant VariantFor(ReceiveModeKind mode);

// Hands a key-data line to the one consumer of the pipeline's receive mode, with the line's
// repeat flag in place of a burst's repeat-frame verdict: key dispatch (0), button capture
// (1), the signal-length analysis (2, no frame sample: the receiver measured the frame), the
// hold-button analysis of lines (3, 5), the receiver-ready check (4).
void HandOverKeyLine(const ReceivePipeline& pipeline, const BurstConsumers& consumers,
                     const KeyLineConsumers& lineConsumers, const KeyLine& line);

}  // namespace quillon

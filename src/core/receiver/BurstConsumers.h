#pragma once

#include <optional>
#include <string>

#include "core/receiver/PulseTrain.h"
#include "core/receiver/SignalLengthDecoder.h"

namespace quillon {

// The consumers of a finished burst, one per receive mode. Each is a small interface that the
// command side or the learning side implements; the receive pipeline calls exactly one of them
// per burst, chosen by the receive mode.

// Mode 0: the command side finds and runs the button's command.
class KeyDispatcher {
 public:
  virtual ~KeyDispatcher() = default;
  virtual void KeyDispatch(const std::string& code, bool repeatFrame) = 0;
};

// Mode 1: the learning window takes one press of the button being learned.
class ButtonCaptureConsumer {
 public:
  virtual ~ButtonCaptureConsumer() = default;
  virtual void ButtonCapture(const std::string& code, bool repeatFrame) = 0;
};

// Modes 3 and 5: the hold-button test collects the raw trains of a held button.
class RepeatCodeConsumer {
 public:
  virtual ~RepeatCodeConsumer() = default;
  virtual void RepeatCodeAnalysis(const std::string& code) = 0;
};

// Mode 2: the signal-length test takes the code and the frame's start-pulse and gap samples.
class SignalLengthConsumer {
 public:
  virtual ~SignalLengthConsumer() = default;
  virtual void SignalLengthAnalysis(const std::string& code,
                                    const std::optional<FrameSample>& sample) = 0;
};

// Says whether a burst looks like the short repeat frame a remote sends while a button is held.
class RepeatFrameJudge {
 public:
  virtual ~RepeatFrameJudge() = default;
  virtual bool RepeatFrameVerdict(const PulseTrain& train) = 0;
};

// Offered an edge that arrives while reception is off: the learning window starts learning
// when its start button is enabled, so any button of the remote starts it.
class StartLearningTrigger {
 public:
  virtual ~StartLearningTrigger() = default;
  virtual void EdgeWhileReceptionOff() = 0;
};

// Who takes what. A missing consumer drops its bursts; a missing judge gives the verdict false.
struct BurstConsumers {
  KeyDispatcher* Dispatcher = nullptr;
  ButtonCaptureConsumer* Capture = nullptr;
  RepeatCodeConsumer* RepeatCode = nullptr;
  SignalLengthConsumer* SignalLength = nullptr;
  RepeatFrameJudge* Judge = nullptr;
  StartLearningTrigger* StartLearning = nullptr;
};

}  // namespace quillon

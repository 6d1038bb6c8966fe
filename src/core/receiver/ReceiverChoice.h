#pragma once

#include <memory>
#include <string_view>

#include "core/receiver/LircReceiver.h"
#include "core/receiver/ReplayReceiver.h"

namespace quillon {

struct ReceiverOptions {
  ReplayOptions Replay;
  LircOptions Lirc;
};

// The receiver that a choice names, as the command line gives it:
//   "replay:FILE"  - a ReplayReceiver reading the bursts of FILE (a capture file, a list of
//                    bursts, or a pipe delivering such lines);
//   "lirc:DEVICE"  - a LircReceiver on DEVICE (a kernel IR device such as /dev/lirc0, or a
//                    mode2 recording).
// Either reads through `device`, which must outlive it. Nothing is opened before Start().
Result<std::unique_ptr<Receiver>> CreateReceiver(std::string_view choice, ReceivePipeline& pipeline,
                                                 platform::EventLoop& loop,
                                                 const platform::Clock& clock,
                                                 platform::IrDevice& device, ReceiverEvents events,
                                                 const ReceiverOptions& options = {});

}  // namespace quillon

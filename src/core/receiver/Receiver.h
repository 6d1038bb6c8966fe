#pragma once

#include <functional>
#include <string>

#include "core/common/Result.h"

namespace quillon {

// What a receiver tells its owner, on the event loop's thread. A handler may stop the
// receiver but must not destroy it.
struct ReceiverEvents {
  // The input ended and everything read from it has been played, the last burst window
  // closed: the end of a replay or of a recording (Done), or input that could not be read on
  // (an Error naming the file and what is wrong; nothing more is played then). A live kernel
  // device finishes only when it goes away.
  std::function<void(const Result<Done>& outcome)> Finished;
  // Something skipped that is worth a line of log (garbage words in a mode2 stream).
  std::function<void(const std::string& message)> Problem;
};

// A source of bursts that feeds the receive pipeline with timed edges once started, until it
// is stopped or finishes.
class Receiver {
 public:
  virtual ~Receiver() = default;

  // Opens the input and begins delivering; an input that cannot be opened is an error.
  virtual Result<Done> Start() = 0;
  // Stops at once: closes the input and drops what has not been played; Finished is not called.
  virtual void Stop() = 0;
};

}  // namespace quillon

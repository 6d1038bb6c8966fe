#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/common/Result.h"

namespace quillon::platform {

// What an opened input turned out to be.
enum class IrInputKind : std::uint8_t {
  Live,       // a kernel IR device (/dev/lircN), switched to mode2: words as the signal comes
  Recording,  // a regular file or a pipe: bytes as fast as they can be read
};

// What an IR input reports, each on the event loop's thread.
struct IrInputHandlers {
  // The bytes of one read, with the counter read when the reading thread woke for them.
  std::function<void(std::int64_t counter, const std::string& bytes)> DataRead;
  // No more bytes will come: the end of a recording (Done), or a read that failed, a device
  // that went away (an Error naming the path).
  std::function<void(const Result<Done>& end)> Ended;
};

// An infrared input read by a thread of its own: a kernel IR device delivering mode2 words, or
// a recording of them (or of bursts) in a file or pipe.
class IrDevice {
 public:
  virtual ~IrDevice() = default;

  // Opens `path` and starts reading. A character device must be a kernel IR device that can
  // deliver mode2; it is switched to mode2. A regular file or a pipe is a recording. Anything
  // else, or a device that refuses, is an error that says why.
  virtual Result<IrInputKind> Open(const std::string& path, IrInputHandlers handlers) = 0;
  // Stops the reading thread and closes; nothing is delivered afterwards.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
};

}  // namespace quillon::platform

#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/Result.h"

namespace quillon::platform {

// Modem status bits, as the receivers' line-capture code reads them.
inline constexpr std::uint32_t ModemCts = 0x10;
inline constexpr std::uint32_t ModemDsr = 0x20;
inline constexpr std::uint32_t ModemRing = 0x40;
inline constexpr std::uint32_t ModemRlsd = 0x80;  // carrier detect

// What a serial device reports, each on the event loop's thread, with the high-resolution
// counter read the moment the device's thread saw it (so queueing delay does not distort the
// durations the receive pipeline measures).
struct SerialHandlers {
  std::function<void(std::int64_t counter)> CarrierChanged;
  std::function<void(std::int64_t counter, std::size_t count)> DataReceived;
  // A condition worth one line of log: carrier detect unsupported, the device gone.
  std::function<void(const std::string& message)> Problem;
};

// One serial port at 19200 baud, 8 data bits, no parity, one stop bit, raw, no flow control,
// with DTR and RTS on while it is open.
class SerialDevice {
 public:
  virtual ~SerialDevice() = default;

  virtual Result<Done> Open(const std::string& path, SerialHandlers handlers) = 0;
  // Stops the device's threads and closes it; pending events are not delivered afterwards.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  // The modem status bits (0 when none can be read).
  virtual std::uint32_t ModemStatus() const = 0;
  // Every byte received and not read yet.
  virtual std::string ReadAll() = 0;
  // Queues bytes; they are sent in order.
  virtual void Write(std::string_view bytes) = 0;
};

}  // namespace quillon::platform

#pragma once

#include <cstdint>
#include <string>

namespace quillon::platform {

// What a probe finds at a numbered port: it opens (free), there is no such device (absent), or
// it exists but cannot be had (busy: held by another program, no permission, no line there).
enum class PortStatus : std::uint8_t { Free, Absent, Busy };

// The numbered serial ports the program may open: COM1 is port 1. A device outside this table
// is never opened.
class SerialPorts {
 public:
  virtual ~SerialPorts() = default;

  // The highest port number of the table (0 when it is empty).
  virtual std::int32_t HighestPort() const = 0;
  // The device of port `port`; empty outside the table.
  virtual std::string DevicePath(std::int32_t port) const = 0;
  // Opens the device for reading and writing, unshared, and closes it at once.
  virtual PortStatus Status(std::int32_t port) const = 0;
};

}  // namespace quillon::platform

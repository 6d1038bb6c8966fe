#pragma once

#include <string>
#include <vector>

#include "platform/SerialPorts.h"

namespace quillon::platform {

// The ports of a port table (see SerialPortTable), probed as the serial device opens them:
// read and write, no controlling terminal, and the exclusive lock a device in use holds.
class LinuxSerialPorts final : public SerialPorts {
 public:
  explicit LinuxSerialPorts(std::vector<std::string> table) : Table(std::move(table)) {}

  std::int32_t HighestPort() const override { return static_cast<std::int32_t>(Table.size()); }
  std::string DevicePath(std::int32_t port) const override;
  PortStatus Status(std::int32_t port) const override;

 private:
  std::vector<std::string> Table;
};

}  // namespace quillon::platform

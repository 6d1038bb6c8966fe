#pragma once

#include <cstdint>
#include <functional>

#include "core/common/Result.h"
#include "core/receiver/PtkProtocol.h"
#include "platform/SerialPorts.h"

namespace quillon {

// The receivers' serial port as the program numbers it: COM n is port n of the port table.
// Opening goes through the receiver protocol, which wires the device's events to the pulse
// capture and to the line handling; reading and writing are the device's own (every byte not
// read yet, bytes queued in order).
class AfComPort {
 public:
  AfComPort(const platform::SerialPorts& ports, PtkProtocol& protocol)
      : Ports(ports), Protocol(protocol) {}

  std::int32_t ComNumber() const { return Number; }
  // When the port is open: closes it, changes the number and opens it again; otherwise only
  // changes the number. Port 0 is no port: the port stays closed.
  Result<Done> SetComNumber(std::int32_t port);

  // Opens port ComNumber; on success OnPortOpen runs.
  Result<Done> Open();
  void Close();
  bool IsOpen() const { return Protocol.PortOpen(); }

  std::function<void()> OnPortOpen;

 private:
  const platform::SerialPorts& Ports;
  PtkProtocol& Protocol;
  std::int32_t Number = 0;
};

}  // namespace quillon

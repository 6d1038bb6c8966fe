#pragma once

#include <string>
#include <vector>

#include "platform/SerialPorts.h"

namespace quillon::platform {

// A port table whose ports report what a test sets; every probe is recorded.
class FakeSerialPorts final : public SerialPorts {
 public:
  struct Port {
    std::string Path;
    PortStatus Status = PortStatus::Free;
  };

  explicit FakeSerialPorts(std::vector<Port> ports) : Ports(std::move(ports)) {}

  std::int32_t HighestPort() const override { return static_cast<std::int32_t>(Ports.size()); }
  std::string DevicePath(std::int32_t port) const override {
    return InTable(port) ? Ports[Index(port)].Path : std::string();
  }
  PortStatus Status(std::int32_t port) const override {
    Probes.push_back(port);
    return InTable(port) ? Ports[Index(port)].Status : PortStatus::Absent;
  }

  std::vector<Port> Ports;
  mutable std::vector<std::int32_t> Probes;

 private:
  bool InTable(std::int32_t port) const { return port >= 1 && port <= HighestPort(); }
  static std::size_t Index(std::int32_t port) { return static_cast<std::size_t>(port - 1); }
};

}  // namespace quillon::platform

#include "core/receiver/ComPort.h"

#include <string>

namespace quillon {

Result<Done> AfComPort::SetComNumber(std::int32_t port) {
  const bool reopen = IsOpen();
  Close();
  Number = port;
  if (reopen && port > 0) return Open();
  return Done{};
}

Result<Done> AfComPort::Open() {
  Close();
  const std::string path = Ports.DevicePath(Number);
  if (path.empty()) return Error{"COM" + std::to_string(Number) + " is not a port of this machine"};
  Result<Done> opened = Protocol.OpenPort(path, Number);
  if (!opened) return opened;
  if (OnPortOpen) OnPortOpen();
  return Done{};
}

void AfComPort::Close() { Protocol.ClosePort(); }

}  // namespace quillon

#include "platform/linux/LinuxSerialPorts.h"

#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace quillon::platform {

std::string LinuxSerialPorts::DevicePath(std::int32_t port) const {
  if (port < 1 || port > HighestPort()) return {};
  return Table[static_cast<std::size_t>(port - 1)];
}

PortStatus LinuxSerialPorts::Status(std::int32_t port) const {
  const std::string path = DevicePath(port);
  if (path.empty()) return PortStatus::Absent;
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    // A serial driver answers for a port without hardware with ENXIO or EIO.
    return errno == ENOENT || errno == ENXIO || errno == ENODEV || errno == EIO ? PortStatus::Absent
                                                                                : PortStatus::Busy;
  }
  termios settings{};
  PortStatus status = PortStatus::Free;
  if (tcgetattr(fd, &settings) != 0) {
    status = PortStatus::Absent;  // no serial line behind this name
  } else if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    status = PortStatus::Busy;
  }
  ::close(fd);
  return status;
}

}  // namespace quillon::platform

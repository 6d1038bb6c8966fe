#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::platform {

// The serial ports the program may open, in COM order (entry 0 is COM1): COM1-COM4 are
// /dev/ttyS0-3, then the USB serial adapters that exist (/dev/ttyUSB*, then /dev/ttyACM*, each
// in number order), then `extra` devices, such as a receiver simulator's pseudo-terminal.
// Without `systemPorts` the table holds only the extra devices: tests must never open a real
// port (on some machines /dev/ttyS0 is the system console).
std::vector<std::string> SerialPortTable(const std::filesystem::path& deviceFolder,
                                         bool systemPorts, const std::vector<std::string>& extra);

// Device paths listed in a variable such as QUILLON_PORTS, separated by ':' or ','.
std::vector<std::string> PortList(std::string_view value);

}  // namespace quillon::platform

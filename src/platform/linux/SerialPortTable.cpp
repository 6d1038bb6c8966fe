#include "platform/linux/SerialPortTable.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace quillon::platform {

namespace {

// The devices of `folder` named `prefix` followed by a number, in number order.
std::vector<std::string> NumberedDevices(const std::filesystem::path& folder,
                                         std::string_view prefix) {
  std::vector<std::pair<int, std::string>> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(prefix) || name.size() == prefix.size()) continue;
    int number = 0;
    const char* first = name.data() + prefix.size();
    const auto [end, ec] = std::from_chars(first, name.data() + name.size(), number);
    if (ec == std::errc() && end == name.data() + name.size()) {
      found.emplace_back(number, entry.path().string());
    }
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> paths;
  for (auto& [number, path] : found) paths.push_back(std::move(path));
  return paths;
}

}  // namespace

std::vector<std::string> SerialPortTable(const std::filesystem::path& deviceFolder,
                                         bool systemPorts, const std::vector<std::string>& extra) {
  std::vector<std::string> table;
  if (systemPorts) {
    for (int n = 0; n < 4; ++n)
      table.push_back((deviceFolder / ("ttyS" + std::to_string(n))).string());
    for (const char* prefix : {"ttyUSB", "ttyACM"}) {
      for (auto& path : NumberedDevices(deviceFolder, prefix)) table.push_back(std::move(path));
    }
  }
  for (const std::string& path : extra) {
    if (std::find(table.begin(), table.end(), path) == table.end()) table.push_back(path);
  }
  return table;
}

std::vector<std::string> PortList(std::string_view value) {
  std::vector<std::string> ports;
  std::size_t start = 0;
  while (start <= value.size()) {
    const std::size_t end = value.find_first_of(":,", start);
    const std::string_view item =
        value.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!item.empty()) ports.emplace_back(item);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return ports;
}

}  // namespace quillon::platform

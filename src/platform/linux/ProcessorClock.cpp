#include "platform/linux/ProcessorClock.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <string>
#include <system_error>

namespace quillon::platform {

namespace {

std::optional<double> ParseNumber(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data() + start, text.data() + text.size(), value);
  if (ec != std::errc() || !(value > 0)) return std::nullopt;
  return value;
}

std::optional<double> RatedClock(const std::filesystem::path& cpuFolder) {
  std::optional<double> highest;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(cpuFolder, error)) {
    std::ifstream file(entry.path() / "cpufreq" / "cpuinfo_max_freq");
    std::string line;
    if (!std::getline(file, line)) continue;
    if (const auto kHz = ParseNumber(line)) highest = std::max(highest.value_or(0), *kHz / 1000);
  }
  return highest;
}

std::optional<double> ReportedClock(const std::filesystem::path& cpuInfo) {
  std::optional<double> highest;
  std::ifstream file(cpuInfo);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.starts_with("cpu MHz")) continue;
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    if (const auto mhz = ParseNumber(std::string_view(line).substr(colon + 1))) {
      highest = std::max(highest.value_or(0), *mhz);
    }
  }
  return highest;
}

}  // namespace

std::optional<double> ProcessorClockMHz(const std::filesystem::path& cpuFolder,
                                        const std::filesystem::path& cpuInfo) {
  if (const auto rated = RatedClock(cpuFolder)) return rated;
  return ReportedClock(cpuInfo);
}

std::optional<double> ProcessorClockMHz() {
  return ProcessorClockMHz("/sys/devices/system/cpu", "/proc/cpuinfo");
}

}  // namespace quillon::platform

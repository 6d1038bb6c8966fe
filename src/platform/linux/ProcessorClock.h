#pragma once

#include <filesystem>
#include <optional>

namespace quillon::platform {

// The processor's clock in MHz: the highest rated clock the frequency driver gives for any
// processor (cpufreq's cpuinfo_max_freq under `cpuFolder`, in kHz), else the highest "cpu MHz"
// of `cpuInfo` (what the processors ran at when read, lower on an idle machine that saves
// power), else nothing. The rated clock comes first because the question is what the
// processor can do when a burst arrives, not how idle it is now.
std::optional<double> ProcessorClockMHz(const std::filesystem::path& cpuFolder,
                                        const std::filesystem::path& cpuInfo);

// The same on this machine (/sys/devices/system/cpu, /proc/cpuinfo).
std::optional<double> ProcessorClockMHz();

}  // namespace quillon::platform

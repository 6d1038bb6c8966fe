#include "platform/linux/ProcessorClock.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace quillon::platform {
namespace {

TEST(ProcessorClock, TheRatedClockComesBeforeTheReportedOne) {
  struct Case {
    const char* Name;
    std::vector<std::pair<std::string, std::string>> RatedKHz;  // processor folder, file text
    std::string CpuInfo;
    std::optional<double> Expected;
  };
  const std::vector<Case> cases = {
      {"rated clock of the fastest processor",
       {{"cpu0", "2400000\n"}, {"cpu1", "3100000\n"}},
       "cpu MHz\t\t: 800.000\n",
       3100.0},
      {"an idle machine's reported clock without a frequency driver",
       {},
       "processor\t: 0\ncpu MHz\t\t: 1200.5\nprocessor\t: 1\ncpu MHz\t\t: 2445.428\n",
       2445.428},
      {"unreadable rated clock falls back", {{"cpu0", "fast\n"}}, "cpu MHz : 900\n", 900.0},
      {"nothing to go by", {}, "model name : something\ncpu MHz : -\n", std::nullopt},
  };
  for (const Case& c : cases) {
    test::TempFolder folder;
    for (const auto& [processor, text] : c.RatedKHz) {
      std::filesystem::create_directories(folder.Path / processor / "cpufreq");
      std::ofstream(folder.Path / processor / "cpufreq" / "cpuinfo_max_freq") << text;
    }
    std::ofstream(folder.Path / "cpuinfo") << c.CpuInfo;
    EXPECT_EQ(ProcessorClockMHz(folder.Path, folder.Path / "cpuinfo"), c.Expected) << c.Name;
  }
}

}  // namespace
}  // namespace quillon::platform

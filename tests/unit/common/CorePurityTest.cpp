// The core holds every rule of the system on the C++ standard library alone, so that it builds
// and is tested without Qt or an operating system. This test fails when a core file (or a
// platform interface, which the core includes) includes anything else.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The standard headers the core may include, separated by blanks.
constexpr std::string_view StandardHeaders =
    "algorithm any array atomic bit bitset cassert cctype cerrno charconv chrono cinttypes "
    "climits cmath compare concepts cstddef cstdint cstdio cstdlib cstring deque exception "
    "expected filesystem format fstream functional initializer_list iomanip ios iosfwd iostream "
    "istream iterator limits list map memory mutex numeric optional ostream queue random ranges "
    "ratio set span sstream stack stdexcept string string_view system_error thread tuple "
    "type_traits unordered_map unordered_set utility variant vector";

bool IsStandardHeader(const std::string& name) {
  return (" " + std::string(StandardHeaders) + " ").find(" " + name + " ") != std::string::npos;
}

// Offending includes of one file, as "file: line".
std::vector<std::string> ForeignIncludes(const fs::path& file) {
  static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<std::string> found;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    std::smatch match;
    if (!std::regex_search(line, match, include)) continue;
    const std::string name = match[2];
    const bool allowed =
        match[1] == "<" ? IsStandardHeader(name)
                        : name.starts_with("core/") || (name.starts_with("platform/") &&
                                                        name.find('/', 9) == std::string::npos);
    if (!allowed) found.push_back(file.filename().string() + ": " + line);
  }
  return found;
}

TEST(CorePurity, CoreIncludesOnlyTheStandardLibraryAndPlatformInterfaces) {
  const fs::path src = fs::path(QUILLON_SOURCE_DIR) / "src";
  std::vector<std::string> offending;
  std::size_t files = 0;
  const auto check = [&](const fs::directory_entry& entry) {
    if (!entry.is_regular_file()) return;
    ++files;
    for (auto& f : ForeignIncludes(entry.path())) offending.push_back(f);
  };
  std::ranges::for_each(fs::recursive_directory_iterator(src / "core"), check);
  std::ranges::for_each(fs::directory_iterator(src / "platform"), check);
  EXPECT_GT(files, 10U);
  EXPECT_TRUE(offending.empty()) << ::testing::PrintToString(offending);
}

TEST(CorePurity, TheCheckRecognisesForeignHeaders) {
  const fs::path probe = fs::temp_directory_path() / "quillon-purity-probe.h";
  {
    std::ofstream out(probe);
    out << "#include <vector>\n#include <QtWidgets>\n#include <termios.h>\n"
           "#include \"platform/linux/LinuxClock.h\"\n#include \"core/common/Result.h\"\n";
  }
  EXPECT_EQ(ForeignIncludes(probe).size(), 3U);
  fs::remove(probe);
}

}  // namespace

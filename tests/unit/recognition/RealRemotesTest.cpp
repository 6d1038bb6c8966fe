// Every recorded remote of the developer set, learned and recognised end to end through
// quillon-tool learn and recognize: each is learned (single-frame remotes through the offer to
// go on with templates only), and fresh presses of its buttons find their own keys.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "core/receiver/CaptureFile.h"
#include "core/recognition/TemplateFile.h"
#include "replay/CaptureReplay.h"
#include "tools/ToolRun.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

const fs::path Captures = fs::path(QUILLON_SOURCE_DIR) / "samples/ir-captures";

std::vector<fs::path> CaptureFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(Captures)) {
    if (entry.path().extension() == ".irc") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The capture file again with every recording moved by up to 3 %, twice over; the record
// lines are kept as they are.
fs::path FreshPresses(const fs::path& capture, const fs::path& file) {
  std::mt19937 random(17);
  std::ofstream out(file);
  for (int round = 0; round < 2; ++round) {
    std::ifstream in(capture);
    for (std::string line; std::getline(in, line);) {
      if (line.empty() || line.front() == '#') {
        if (round == 0 || !line.starts_with("# ircorpus")) out << line << "\n";
        continue;
      }
      std::istringstream values(line);
      std::vector<std::int64_t> durations;
      for (std::int64_t value = 0; values >> value;) durations.push_back(value);
      const std::vector<std::int64_t> press = Jitter(durations, 3, random);
      for (std::size_t i = 0; i < press.size(); ++i) out << (i == 0 ? "" : " ") << press[i];
      out << "\n";
    }
  }
  return file;
}

struct Totals {
  int Correct = -1;
  int Wrong = -1;
  int Unrecognized = -1;
};

Totals TotalsOf(const std::string& out) {
  std::smatch found;
  Totals totals;
  if (std::regex_search(out, found,
                        std::regex("total: (\\d+) correct, (\\d+) wrong, (\\d+) unrecognized"))) {
    totals = {std::stoi(found[1]), std::stoi(found[2]), std::stoi(found[3])};
  }
  return totals;
}

TEST(RealRemotes, EveryRecordedRemoteIsLearnedAndKnowsItsButtons) {
  const std::vector<fs::path> files = CaptureFiles();
  ASSERT_EQ(files.size(), 21U);
  int correct = 0;
  int presses = 0;
  for (const fs::path& capture : files) {
    SCOPED_TRACE(capture.filename().string());
    const test::TempFolder folder;
    const fs::path remote = folder.Path / "learned.IRD";
    const test::ToolRun learn = test::RunTool(
        "learn --out " + remote.string() + " --producer Real --model Remote " + capture.string(),
        folder);
    ASSERT_TRUE(fs::exists(remote)) << learn.Err;
    EXPECT_TRUE(fs::exists(CompanionPath(remote)));
    const fs::path fresh = FreshPresses(capture, folder.Path / "fresh.irc");
    const test::ToolRun recognize =
        test::RunTool("recognize --remote " + remote.string() + " " + fresh.string(), folder);
    ASSERT_EQ(recognize.Status, 0) << recognize.Err;
    const Totals totals = TotalsOf(recognize.Out);
    ASSERT_GE(totals.Correct, 0) << recognize.Out;
    EXPECT_EQ(totals.Wrong, 0) << recognize.Out;
    correct += totals.Correct;
    presses += totals.Correct + totals.Wrong + totals.Unrecognized;
  }
  EXPECT_GE(correct * 1000, presses * 995) << correct << " of " << presses;
}

TEST(RealRemotes, ASingleFrameRemoteIsLearnedWithTemplatesOnly) {
  const test::TempFolder folder;
  const fs::path remote = folder.Path / "learned.IRD";
  const test::ToolRun learn =
      test::RunTool("learn --out " + remote.string() + " --producer Pioneer --model MiniSplit " +
                        (Captures / "fz-ACs-Pioneer-PioneerMiniSplit.irc").string(),
                    folder);
  EXPECT_EQ(learn.Status, 0) << learn.Err;
  EXPECT_NE(learn.Out.find("*****Training with button templates only*****"), std::string::npos)
      << learn.Out;
  EXPECT_EQ(learn.Out.find("*****Begin of test: HOLD BUTTON*****"), std::string::npos);
  EXPECT_TRUE(fs::exists(CompanionPath(remote)));
}

}  // namespace
}  // namespace quillon

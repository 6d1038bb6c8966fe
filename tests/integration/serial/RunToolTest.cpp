// The main job headless: quillon-tool run finds the receiver simulator among the ports of its
// table, starts it, carries out recorded presses on an in-memory desktop, and stops the
// receiver when it ends.

#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "SimulatorProcess.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

const fs::path Source(QUILLON_SOURCE_DIR);

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Waits up to `limitMs` for `part` to show in the file.
bool Logged(const fs::path& log, const std::string& part, int limitMs) {
  for (int waited = 0; waited <= limitMs; waited += 20) {
    if (ReadText(log).find(part) != std::string::npos) return true;
    std::this_thread::sleep_for(milliseconds(20));
  }
  return false;
}

struct RunToolFixture : ::testing::Test {
  RunToolFixture() {
    char pattern[] = "/tmp/quillon-run-XXXXXX";
    Folder = mkdtemp(pattern);
    setenv("XDG_CONFIG_HOME", Folder.c_str(), 1);  // no settings file: the options' defaults
  }
  ~RunToolFixture() override {
    Tool.Stop(SIGKILL, milliseconds(2000));
    Simulator.Stop(SIGTERM, milliseconds(2000));
    std::error_code ignored;
    fs::remove_all(Folder, ignored);
  }

  // The simulator on a link in the folder, the tool searching a table of an absent device and
  // that link; both ready.
  void StartBoth() {
    const fs::path link = Folder / "ttyPTK";
    ASSERT_TRUE(Simulator.Start(
        {QUILLON_PTK_SIM, "--link", link.string(), "--presses", "-", "--gap", "300"},
        Folder / "simulator.log"));
    ASSERT_TRUE(Simulator.ReadLine(milliseconds(5000)).has_value());
    ASSERT_TRUE(Tool.Start(
        {QUILLON_TOOL, "run", "--remote", (Source / "samples/remotes/ptk/Vizio_VX32L.IRD").string(),
         "--config", (Source / "samples/remotes/Living room.rir").string(), "--receiver", "auto",
         "--ports", (Folder / "ttyNone").string() + ":" + link.string(), "--dry-run", "--json"},
        Folder / "tool.log"));
    ASSERT_TRUE(Logged(Folder / "tool.log", "ready:", 15000)) << ReadText(Folder / "tool.log");
  }

  fs::path Folder;
  test::SimulatorProcess Simulator;
  test::SimulatorProcess Tool;
};

TEST_F(RunToolFixture, FindsTheReceiverAndCarriesOutRecordedPresses) {
  StartBoth();
  const std::string log = ReadText(Folder / "tool.log");
  EXPECT_NE(log.find("hint: Search for \"PTK/PTW receiver\" at COM2"), std::string::npos) << log;
  EXPECT_NE(log.find("port: COM2"), std::string::npos) << log;
  EXPECT_NE(log.find("hint: START receiver"), std::string::npos) << log;

  Simulator.Send(ReadText(Source / "samples/ir-captures/fz-TVs-Vizio-Vizio_VX32L.irc"));
  const std::regex press(R"re(^\{"press":(\d+),"code":"\d+","repeat":false,"key":(\d+),)re");
  std::vector<int> keys;
  bool audio = false;
  while (keys.size() < 6) {
    const auto line = Tool.ReadLine(milliseconds(10000));
    ASSERT_TRUE(line.has_value()) << ReadText(Folder / "tool.log");
    std::smatch match;
    if (std::regex_search(*line, match, press)) {
      EXPECT_EQ(std::stoi(match[1]), static_cast<int>(keys.size()) + 1);
      keys.push_back(std::stoi(match[2]));
    }
    audio = audio || line->find("\"effect\":\"audio\"") != std::string::npos;
  }
  EXPECT_EQ(keys, (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(audio);

  const auto status = Tool.Stop(SIGINT, milliseconds(10000));
  ASSERT_TRUE(status.has_value());
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << ReadText(Folder / "tool.log");
  EXPECT_TRUE(ReadText(Folder / "simulator.log").ends_with("command RX>Sp\n"))
      << ReadText(Folder / "simulator.log");
}

TEST_F(RunToolFixture, ASimulatorKilledMidRunIsReportedAndTheRunGoesOn) {
  StartBoth();
  const auto killed = Simulator.Stop(SIGKILL, milliseconds(5000));
  ASSERT_TRUE(killed.has_value());
  EXPECT_TRUE(Logged(Folder / "tool.log", "is gone", 5000)) << ReadText(Folder / "tool.log");
  EXPECT_EQ(waitpid(Tool.Pid(), nullptr, WNOHANG), 0);  // still running
  const auto status = Tool.Stop(SIGINT, milliseconds(10000));
  ASSERT_TRUE(status.has_value());
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << ReadText(Folder / "tool.log");
}

TEST(QuillonToolRun, RecordingsPlayAtTheirPaceAndEndTheRun) {
  char pattern[] = "/tmp/quillon-run-XXXXXX";
  const fs::path folder = mkdtemp(pattern);
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  for (const char* receiver :
       {"replay:samples/ir-captures/fz-TVs-Vizio-Vizio_VX32L.irc",
        "lirc:samples/mode2/Vizio_VX32L.lirc", "lirc:samples/mode2/Vizio_VX32L.txt"}) {
    const std::string choice(receiver);
    const std::size_t colon = choice.find(':');
    test::SimulatorProcess tool;
    ASSERT_TRUE(tool.Start(
        {QUILLON_TOOL, "run", "--remote", (Source / "samples/remotes/Vizio_VX32L.IRD").string(),
         "--config", (Source / "samples/remotes/Living room.rir").string(), "--receiver",
         choice.substr(0, colon + 1) + (Source / choice.substr(colon + 1)).string(), "--dry-run",
         "--json"},
        folder / "tool.log"));
    std::vector<int> keys;
    const std::regex press(R"re(^\{"press":\d+,"code":"\d+","repeat":false,"key":(\d+),)re");
    while (const auto line = tool.ReadLine(milliseconds(15000))) {
      std::smatch match;
      if (std::regex_search(*line, match, press)) keys.push_back(std::stoi(match[1]));
    }
    EXPECT_EQ(keys, (std::vector<int>{1, 2, 3, 4, 5, 6})) << receiver;
    const auto status = tool.Stop(SIGKILL, milliseconds(1000));  // already ended: reaped
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
        << receiver << ReadText(folder / "tool.log");
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

}  // namespace
}  // namespace quillon

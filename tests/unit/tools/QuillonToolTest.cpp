// Runs quillon-tool as a user would, on a remote learned here from recorded presses.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "core/learning/RemoteFile.h"
#include "core/receiver/CaptureFile.h"
#include "replay/CaptureReplay.h"

namespace quillon {
namespace {

const std::filesystem::path Vizio =
    std::filesystem::path(QUILLON_SOURCE_DIR) / "samples/ir-captures/fz-TVs-Vizio-Vizio_VX32L.irc";

struct ToolRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

ToolRun RunTool(const std::string& arguments, const test::TempFolder& folder) {
  const std::filesystem::path err = folder.Path / "stderr.txt";
  const std::string command = std::string(QUILLON_TOOL) + " " + arguments + " 2>" + err.string();
  ToolRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.Out.append(buffer, got);
  const int status = pclose(pipe);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(err);
  run.Err.assign(std::istreambuf_iterator<char>(in), {});
  return run;
}

// Learns the Vizio remote from its captures, one press per button as the signal-length test
// decodes it, and saves it into `folder`.
std::filesystem::path LearnVizio(const test::TempFolder& folder) {
  const auto records = ReadCaptureFile(Vizio).Value();
  LearnGrid keys;
  LearnGrid lockUps;
  ClearLearnGrids(keys, lockUps, English);
  keys.Rows.pop_back();
  CurrentRemote current;
  for (const CaptureRecord& record : records) {
    ReplayBench test;
    test.Pipeline.ReceiveMode = ReceiveModeKind::SignalLengthTest;
    test.Press(record.Durations);
    const auto& burst = test.Bursts.front();
    if (keys.Rows.size() == 1) {
      current.Timings = test.Timings;
      current.Timings.StartPulse = burst.Sample->StartPulse;
      current.Timings.FrameGap = burst.Sample->FrameGap;
      current.Timings.MaxValue = burst.MaxValue;
    }
    const std::string number = std::to_string(keys.Rows.size());
    keys.Rows.push_back(
        {number, record.Button, burst.Code, burst.Code, burst.Code, burst.Code, burst.Code});
  }
  keys.Rows.push_back({});
  RemoteSaveRequest request;
  request.Producer = "Vizio";
  request.Model = "VX32L";
  request.KeyGrid = &keys;
  request.LockUpGrid = &lockUps;
  request.NominalLength = 66;
  TrainTable trains;
  request.Trains = &trains;
  EXPECT_TRUE(SaveRemoteFile(folder.Path, request, current, nullptr, English));
  return folder.Path / "Vizio_VX32L.IRD";
}

TEST(QuillonTool, ShowPrintsEveryFieldAsJson) {
  test::TempFolder folder;
  const auto remote = LearnVizio(folder);
  const ToolRun run = RunTool("show --json " + remote.string(), folder);
  ASSERT_EQ(run.Status, 0) << run.Err;
  for (const char* expected :
       {"\"Version\":1600", "\"Producer\":\"Vizio\"", "\"KeyCount\":7", "\"Name\":\"Vol_up\"",
        "\"StartPulse\":92190", "\"FrameGap\":401070", "\"LevelCount\":3",
        "\"MultiLevelCoding\":true", "\"MinFrameLength\":66", "\"RepeatFrame\":[0,0,"}) {
    EXPECT_NE(run.Out.find(expected), std::string::npos) << expected << "\n" << run.Out;
  }
}

TEST(QuillonTool, DecodeFindsEachButtonOfTheRecordings) {
  test::TempFolder folder;
  const auto remote = LearnVizio(folder);
  const ToolRun run =
      RunTool("decode --json --remote " + remote.string() + " " + Vizio.string(), folder);
  ASSERT_EQ(run.Status, 0) << run.Err;
  const std::vector<std::string> names = {"Power", "Vol_up", "Vol_dn", "Mute", "Input", "Down"};
  std::size_t at = 0;
  for (std::size_t k = 0; k < names.size(); ++k) {
    const std::string expected = "{\"burst\":" + std::to_string(k + 1) + ",\"code\":\"2";
    at = run.Out.find(expected, at);
    ASSERT_NE(at, std::string::npos) << expected << "\n" << run.Out;
    const std::string key = "\"key\":" + std::to_string(k + 1) + ",\"name\":\"" + names[k] +
                            "\",\"LastKey\":" + std::to_string(k + 1) + "}";
    EXPECT_EQ(run.Out.find(key, at), run.Out.find('}', at) + 1 - key.size()) << run.Out;
  }
}

TEST(QuillonTool, BadInputGivesOneLineAndStatus2) {
  test::TempFolder folder;
  const auto remote = LearnVizio(folder);
  std::ofstream(folder.Path / "short.IRD") << "too short";
  std::ofstream(folder.Path / "bad.txt") << "1000 2000\n300 x\n";
  const struct {
    std::string Arguments;
    std::string Message;
  } cases[] = {
      {"show " + (folder.Path / "none.IRD").string(), "no such file: "},
      {"show " + (folder.Path / "short.IRD").string(),
       "quillon-tool: Error in file: short.IRD Restart Quillon !\n"},
      {"decode --remote " + remote.string() + " " + (folder.Path / "bad.txt").string(),
       "bad.txt: line 2: \"x\" is not a positive duration in ticks\n"},
      {"decode " + Vizio.string(), "--remote is required"},
      {"nonsense", "unknown command \"nonsense\""},
      {"show", "file is required"},
  };
  for (const auto& c : cases) {
    const ToolRun run = RunTool(c.Arguments, folder);
    EXPECT_EQ(run.Status, 2) << c.Arguments;
    EXPECT_TRUE(run.Out.empty()) << c.Arguments << "\n" << run.Out;
    EXPECT_NE(run.Err.find(c.Message), std::string::npos) << c.Arguments << "\n" << run.Err;
  }
}

}  // namespace
}  // namespace quillon

// Runs quillon-tool as a user would, on a remote learned here from recorded presses.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "SampleRemote.h"
#include "TempFolder.h"

namespace quillon {
namespace {

const std::filesystem::path& Vizio = test::VizioCapture;

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

// Learns the sample remote into `folder`.
std::filesystem::path LearnVizio(const test::TempFolder& folder) {
  auto remote = test::LearnVizio(folder.Path);
  EXPECT_TRUE(remote) << remote.ErrorMessage();
  return remote ? remote.Value() : std::filesystem::path();
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

// A path as one shell word.
std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

TEST(QuillonTool, ShowPrintsAConfigurationTreeWithItsCommands) {
  test::TempFolder folder;
  // The extension decides, in any letter case.
  const auto upper = folder.Path / "LIVING ROOM.RIR";
  std::filesystem::copy_file(test::SampleRemotes / "Living room.rir", upper);
  for (const auto& file : {test::SampleRemotes / "Living room.rir", upper}) {
    const ToolRun run = RunTool("show " + Quoted(file), folder);
    ASSERT_EQ(run.Status, 0) << run.Err;
    for (const char* expected : {
             "Remote type: VIZIO  VX32L\n"
             "[Media Player][C:\\Program Files\\Media Player\\player.exe]  => Kind 0 (group key)\n"
             "  1. Power\n"
             "    <Command>[Run/Close Application]  => Kind 1 (command), Parameter "
             "\"Run/Close Application\"\n",
             "\n  5. Input - [Group Key][Photo Viewer][C:\\Program Files\\Photo "
             "Viewer\\viewer.exe]  => Kind 0 (group key), WindowName \"Photo Viewer\", "
             "ApplicationPath \"C:\\Program Files\\Photo Viewer\\viewer.exe\"\n",
             "\n      <WM_>[WM_CLOSE,0,0]  => Kind 3 (window message), Parameter "
             "\"WM_CLOSE,0,0\"\n",
             "\n        <SendKey>[[Space]]  => Kind 2 (send keys), Parameter \"[Space]\"\n",
             "\n    <AudioCommand>[Mixer 0/Master/Master/Mute]  => Kind 4 (audio command), "
             "Parameter \"Mixer 0/Master/Master/Mute\"\n",
             "\n<Remoute Control Type> - VIZIO  VX32L\n",
         }) {
      EXPECT_NE(run.Out.find(expected), std::string::npos) << expected << "\n" << run.Out;
    }
  }
}

TEST(QuillonTool, ShowPrintsAConfigurationAsJson) {
  test::TempFolder folder;
  // Windows-1251 in the file, UTF-8 in the output.
  const auto file = folder.Path / "Хол.rir";
  std::ofstream(file, std::ios::binary) << "[\xCF\xEB\xE5\xFA\xF0][C:\\p.exe]\r\n"
                                           "\t1. A\r\n"
                                           "\t\t<SendKey>[^{[Right]}]\r\n"
                                           "<Remoute Control Type> - \xD2\xC2  1\r\n";
  const ToolRun run = RunTool("show --json " + Quoted(file), folder);
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out,
            "{\"nodes\":["
            "{\"index\":0,\"level\":0,\"text\":\"[Плеър][C:\\\\p.exe]\",\"record\":{\"Kind\":0,"
            "\"WindowName\":\"\",\"ApplicationPath\":\"\",\"Parameter\":\"\"}},"
            "{\"index\":1,\"level\":1,\"text\":\"1. A\",\"record\":null},"
            "{\"index\":2,\"level\":2,\"text\":\"<SendKey>[^{[Right]}]\",\"record\":{\"Kind\":2,"
            "\"WindowName\":\"\",\"ApplicationPath\":\"\",\"Parameter\":\"^{[Right]}\"}},"
            "{\"index\":3,\"level\":0,\"text\":\"<Remoute Control Type> - ТВ  1\",\"record\":null}"
            "],\"remoteType\":\"ТВ  1\"}\n");
}

TEST(QuillonTool, DispatchCarriesTheOpenGroupsFromPressToPress) {
  test::TempFolder folder;
  const ToolRun run = RunTool(
      "dispatch --json --remote " + Quoted(test::SampleRemotes / "Vizio_VX32L.IRD") + " --config " +
          Quoted(test::SampleRemotes / "Living room.rir") + " 5 2 repeat 5 code:42",
      folder);
  ASSERT_EQ(run.Status, 0) << run.Err;
  const std::string viewer =
      "\"WindowName\":\"Photo Viewer\",\"ApplicationPath\":\"C:\\\\Program Files\\\\Photo "
      "Viewer\\\\viewer.exe\"";
  const std::string player =
      "\"WindowName\":\"Media Player\",\"ApplicationPath\":\"C:\\\\Program Files\\\\Media "
      "Player\\\\player.exe\"";
  EXPECT_EQ(run.Out,
            "{\"press\":1,\"key\":5,\"hint\":\"On[F]\\r[Photo Viewer]\\r5. Input\",\"record\":"
            "{\"Kind\":0," +
                viewer +
                ",\"Parameter\":\"\"},\"GroupDepth\":1}\n"
                "{\"press\":2,\"key\":2,\"hint\":\"[F1]\\r[Photo Viewer]\\r2. Vol_up\",\"record\":"
                "{\"Kind\":2," +
                viewer +
                ",\"Parameter\":\"[Prior]\"},\"GroupDepth\":1}\n"
                "{\"press\":3,\"key\":2,\"hint\":\"[F1]\\r[Photo Viewer]\\r2. Vol_up\",\"record\":"
                "{\"Kind\":2," +
                viewer +
                ",\"Parameter\":\"[Prior]\"},\"GroupDepth\":1}\n"
                "{\"press\":4,\"key\":5,\"hint\":\"Off[F]\\r5. Input\",\"record\":"
                "{\"Kind\":0," +
                player +
                ",\"Parameter\":\"\"},\"GroupDepth\":0}\n"
                "{\"press\":5,\"key\":null,\"hint\":\"\",\"record\":null,\"GroupDepth\":0}\n");
}

TEST(QuillonTool, BadInputGivesOneLineAndStatus2) {
  test::TempFolder folder;
  const auto remote = LearnVizio(folder);
  std::ofstream(folder.Path / "short.IRD") << "too short";
  std::ofstream(folder.Path / "bad.txt") << "1000 2000\n300 x\n";
  std::ofstream(folder.Path / "bad.rir") << "[W][P]\r\n\t\t1. A\r\n";
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
      {"dispatch --remote " + remote.string() + " --config " +
           Quoted(test::SampleRemotes / "Living room.rir") + " 1 99",
       "\"99\" is no key number of the remote"},
      {"show", "file is required"},
      {"show " + (folder.Path / "none.rir").string(), "no such file: "},
      {"show " + (folder.Path / "bad.rir").string(),
       "quillon-tool: bad.rir: line 2 is indented 2 levels, more than one level deeper than the "
       "line before it\n"},
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

// Runs quillon-tool as a user would, on a remote learned here from recorded presses.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SampleRemote.h"
#include "TempFolder.h"
#include "ToolRun.h"

namespace quillon {
namespace {

const std::filesystem::path& Vizio = test::VizioCapture;

using test::RunTool;
using test::ToolRun;

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
  // One press's line: the key found, the hint shown, the command record and the open groups.
  const auto line = [](const std::string& press, const std::string& rest) {
    return "{\"press\":" + press + ",\"key\":" + rest + "}\n";
  };
  const std::string viewer =
      "\"WindowName\":\"Photo Viewer\",\"ApplicationPath\":\"C:\\\\Program Files\\\\Photo "
      "Viewer\\\\viewer.exe\"";
  const std::string player =
      "\"WindowName\":\"Media Player\",\"ApplicationPath\":\"C:\\\\Program Files\\\\Media "
      "Player\\\\player.exe\"";
  const std::string volUp =
      "2,\"hint\":\"[F1]\\r[Photo Viewer]\\r2. Vol_up\",\"record\":{\"Kind\":2," + viewer +
      ",\"Parameter\":\"[Prior]\"},\"GroupDepth\":1";
  EXPECT_EQ(run.Out,
            line("1", "5,\"hint\":\"On[F]\\r[Photo Viewer]\\r5. Input\",\"record\":{\"Kind\":0," +
                          viewer + ",\"Parameter\":\"\"},\"GroupDepth\":1") +
                line("2", volUp) + line("3", volUp) +
                line("4", "5,\"hint\":\"Off[F]\\r5. Input\",\"record\":{\"Kind\":0," + player +
                              ",\"Parameter\":\"\"},\"GroupDepth\":0") +
                line("5", "null,\"hint\":\"\",\"record\":null,\"GroupDepth\":0"));
}

TEST(QuillonTool, DispatchDryRunPrintsTheEffectsOfEachPress) {
  test::TempFolder folder;
  const std::string files = "--remote " + Quoted(test::SampleRemotes / "Vizio_VX32L.IRD") +
                            " --config " + Quoted(test::SampleRemotes / "Living room.rir");
  const ToolRun run =
      RunTool("dispatch --json --execute --dry-run " + files + " 6 5 2 1 6 1 2 6 5 4", folder);
  ASSERT_EQ(run.Status, 0) << run.Err;
  // Each press's line, then one line per effect; press lines are matched by their beginning.
  const std::vector<std::string> expected = {
      "{\"press\":1,\"key\":6,",
      "{\"effect\":\"activate\",\"title\":\"Media Player\"}",
      "{\"effect\":\"raise\",\"title\":\"Media Player\"}",
      "{\"effect\":\"key\",\"vk\":17,\"scan\":0,\"up\":false}",
      "{\"effect\":\"key\",\"vk\":39,\"scan\":0,\"up\":false}",
      "{\"effect\":\"key\",\"vk\":39,\"scan\":0,\"up\":true}",
      "{\"effect\":\"key\",\"vk\":17,\"scan\":0,\"up\":true}",
      "{\"press\":2,\"key\":5,",
      "{\"press\":3,\"key\":2,",
      "{\"effect\":\"activate\",\"title\":\"Photo Viewer\"}",
      "{\"effect\":\"raise\",\"title\":\"Photo Viewer\"}",
      "{\"effect\":\"key\",\"vk\":33,\"scan\":0,\"up\":false}",
      "{\"effect\":\"key\",\"vk\":33,\"scan\":0,\"up\":true}",
      "{\"press\":4,\"key\":1,",
      "{\"effect\":\"raise\",\"title\":\"Photo Viewer\"}",
      "{\"effect\":\"activate\",\"title\":\"Photo Viewer\"}",
      "{\"effect\":\"post\",\"title\":\"Photo Viewer\",\"message\":\"WM_CLOSE\",\"wParam\":0,"
      "\"lParam\":0}",
      "{\"press\":5,\"key\":6,",
      "{\"press\":6,\"key\":1,",
      "{\"effect\":\"button\",\"button\":\"left\",\"down\":true}",
      "{\"effect\":\"button\",\"button\":\"left\",\"down\":false}",
      "{\"press\":7,\"key\":2,",
      "{\"effect\":\"pointer\",\"x\":512,\"y\":374}",
      "{\"press\":8,\"key\":6,",
      "{\"press\":9,\"key\":5,",
      "{\"press\":10,\"key\":4,",
      "{\"effect\":\"audio\",\"command\":\"Mixer 0/Master/Master/Mute\"}",
  };
  std::vector<std::string> lines;
  std::istringstream out(run.Out);
  for (std::string line; std::getline(out, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), expected.size()) << run.Out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (expected[i].starts_with("{\"press\"")) {
      EXPECT_TRUE(lines[i].starts_with(expected[i])) << lines[i];
    } else {
      EXPECT_EQ(lines[i], expected[i]);
    }
  }

  // Without --json, each effect is a line of its own under its press.
  const ToolRun text = RunTool("dispatch --execute --dry-run " + files + " 1 1", folder);
  ASSERT_EQ(text.Status, 0) << text.Err;
  EXPECT_NE(text.Out.find("\n  post title=\"Media Player\" message=\"WM_QUIT\" wParam=0 "
                          "lParam=0\npress 2: key 1 -> kind 1 \"Run/Close Application\""),
            std::string::npos)
      << text.Out;
  EXPECT_TRUE(
      text.Out.ends_with("\n  launch path=\"C:\\Program Files\\Media Player\\player.exe\" "
                         "folder=\"C:\\Program Files\\Media Player\\\"\n"))
      << text.Out;

  // Without --dry-run the desktop is real; with no display to reach it is refused.
  const ToolRun real = RunTool("dispatch --execute " + files + " 1", folder, "env -u DISPLAY ");
  EXPECT_EQ(real.Status, 2);
  EXPECT_TRUE(real.Out.empty()) << real.Out;
  EXPECT_NE(real.Err.find("display"), std::string::npos) << real.Err;
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

// The program's main job end to end on a real desktop: the receiver simulator plays recorded
// presses of the sample remote on a pseudo-terminal, the program finds it among its ports and
// starts it, and each press runs its function from a configuration made for two real X clients.
// Keys are typed into the window the configuration names, a group key sends the keys that follow
// to another window until it is pressed again, and the current-function window shows each
// function and closes after the last.

#include <chrono>
#include <fstream>
#include <sstream>

#include "SimulatorProcess.h"
#include "X11Fixture.h"

namespace quillon::test {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

const fs::path Samples = fs::path(QUILLON_SOURCE_DIR) / "samples";

// The sample remote's keys: at the root they type into "Media Player"; Input opens a group for
// "Photo Viewer", where Power types another key and Input closes the group again.
constexpr const char* Configuration =
    "[Media Player][]\r\n"
    "\t1. Power\r\n"
    "\t\t<SendKey>[a]\r\n"
    "\t2. Vol_up\r\n"
    "\t3. Vol_dn\r\n"
    "\t4. Mute\r\n"
    "\t5. Input - [Group Key][Photo Viewer][]\r\n"
    "\t\t1. Power\r\n"
    "\t\t\t<SendKey>[b]\r\n"
    "\t\t2. Vol_up\r\n"
    "\t\t3. Vol_dn\r\n"
    "\t\t4. Mute\r\n"
    "\t\t5. Input\r\n"
    "\t\t\t<Command>[Close Group]\r\n"
    "\t\t6. Down\r\n"
    "\t6. Down\r\n"
    "\t\t<SendKey>[c]\r\n"
    "<Remoute Control Type> - VIZIO  VX32L\r\n";

// The application's name: Qt titles a window without a caption of its own with it, as the
// borderless current-function window is.
constexpr const char* CurrentFunctionTitle = "quillon";

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The recording of `button` of the sample remote in the capture format.
std::string Press(const std::string& button) {
  const std::vector<std::string> lines =
      FileLines(Samples / "ir-captures/fz-TVs-Vizio-Vizio_VX32L.irc");
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i].starts_with("# ") &&
        lines[i].find(" button=" + button + " ") != std::string::npos) {
      return lines[i] + "\n" + lines[i + 1] + "\n";
    }
  }
  ADD_FAILURE() << "no recording of " << button;
  return {};
}

class ProgramEndToEnd : public X11Fixture {
 protected:
  // The data folder with the remote learned from the simulator's lines and the configuration,
  // and settings that choose both.
  void PrepareData() {
    const fs::path remotes = Home() / "RIVirOriv";
    fs::create_directories(remotes);
    fs::copy_file(Samples / "remotes/ptk/Vizio_VX32L.IRD", remotes / "Vizio_VX32L.IRD");
    WriteFile(remotes / "End to end.rir", Configuration);
    fs::create_directories(Scratch.Path() / "config/quillon");
    WriteFile(Scratch.Path() / "config/quillon/registry.reg",
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Vennard\\Pelmora]\r\n"
              "\"RmtCtrlType\"=\"VIZIO  VX32L\"\r\n"
              "\"FileName\"=\"" +
                  (remotes / "End to end.rir").string() + "\"\r\n");
  }

  // The simulator on a link in the scratch folder, playing what the test sends it.
  void StartSimulator() {
    ASSERT_TRUE(Simulator.Start(
        {QUILLON_PTK_SIM, "--link", Link().string(), "--presses", "-", "--gap", "500"},
        SimulatorLog()));
    ASSERT_TRUE(Simulator.ReadLine(Patience).has_value()) << ReadText(SimulatorLog());
  }

  // The program with private folders, the simulator's link among its ports and a runtime folder
  // of its own (so no other copy counts as running).
  void StartProgram() {
    const fs::path runtime = Scratch.Path() / "runtime";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    ASSERT_TRUE(Program.Start({QUILLON_PROGRAM},
                              {"DISPLAY=" + Server.Name(), "QT_QPA_PLATFORM=xcb",
                               "HOME=" + Scratch.Path().string(), "QUILLON_HOME=" + Home().string(),
                               "QUILLON_SYSTEM_PORTS=0", "QUILLON_PORTS=" + Link().string(),
                               "XDG_CONFIG_HOME=" + (Scratch.Path() / "config").string(),
                               "XDG_DATA_HOME=" + (Scratch.Path() / "data").string(),
                               "XDG_RUNTIME_DIR=" + runtime.string(), "LANG=C.UTF-8"},
                              ProgramLog()));
  }

  bool CurrentFunctionShowing() const { return Windows->FindByTitle(CurrentFunctionTitle) != 0; }

  // What the program and the simulator said, for a failure's message.
  std::string Logs() const { return ReadText(ProgramLog()) + ReadText(SimulatorLog()); }

  fs::path Home() const { return Scratch.Path() / "home"; }
  fs::path Link() const { return Scratch.Path() / "ttyPTK"; }
  fs::path ProgramLog() const { return Scratch.Path() / "program.log"; }
  fs::path SimulatorLog() const { return Scratch.Path() / "simulator.log"; }

  // Ended before the fixture's X server.
  SimulatorProcess Simulator;
  ChildProcess Program;
};

TEST_F(ProgramEndToEnd, RecordedPressesTypeKeysOpenAndCloseAGroupAndShowEachFunction) {
  const milliseconds limit(20000);
  StartWindowManager();
  const Client& player = StartClient("Media Player");
  const Client& viewer = StartClient("Photo Viewer");
  PrepareData();
  StartSimulator();
  StartProgram();

  // The configuration is loaded, the receiver found and started, and its start-up hint gone.
  ASSERT_NE(WaitForWindow("Quillon  [End to end]"), 0u) << Logs();
  ASSERT_TRUE(WaitUntil(
      [&] { return ReadText(SimulatorLog()).find("command RX>St") != std::string::npos; }, limit))
      << Logs();
  ASSERT_TRUE(WaitUntil([&] { return !CurrentFunctionShowing(); }, limit)) << Logs();

  // Power at the root types into "Media Player", and its function shows in the lower right
  // corner.
  Simulator.Send(Press("Power"));
  ASSERT_TRUE(WaitUntil([&] { return FileLines(player.Output).size() == 1; }, limit)) << Logs();
  ASSERT_TRUE(WaitUntil([&] { return CurrentFunctionShowing(); }, limit)) << Logs();
  const platform::Point centre = CentreOf(Windows->FindByTitle(CurrentFunctionTitle));
  const platform::ScreenSize screen = System->Screen();
  EXPECT_GT(centre.X, screen.Width / 2);
  EXPECT_GT(centre.Y, screen.Height / 2);

  // Input opens the group of "Photo Viewer", where Power types into that window; Input closes
  // the group, and Down (which does nothing in the group) types into "Media Player" again.
  // Reception is off while a function is carried out, so the test waits for each typed key
  // before the next pair of presses, whose first (a group key) takes no time.
  Simulator.Send(Press("Input") + Press("Power"));
  EXPECT_TRUE(WaitUntil([&] { return FileLines(viewer.Output).size() == 1; }, limit)) << Logs();
  Simulator.Send(Press("Input") + Press("Down"));
  EXPECT_TRUE(WaitUntil([&] { return FileLines(player.Output).size() == 2; }, limit)) << Logs();
  EXPECT_TRUE(WaitUntil([&] { return !CurrentFunctionShowing(); }, limit))
      << "the current function stayed on the screen";
  EXPECT_EQ(FileLines(player.Output), (std::vector<std::string>{"key a", "key c"})) << Logs();
  EXPECT_EQ(FileLines(viewer.Output), std::vector<std::string>{"key b"}) << Logs();
}

}  // namespace
}  // namespace quillon::test

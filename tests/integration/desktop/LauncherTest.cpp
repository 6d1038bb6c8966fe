// Programs and documents started through the Linux launcher: a real client appears on the
// virtual display, documents go to xdg-open (a stand-in on PATH that records its calls).

#include "X11Fixture.h"

#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/linux/LinuxLauncher.h"

namespace quillon::test {
namespace {

namespace fs = std::filesystem;

// The parent process of `pid`, from /proc; -1 when it is gone.
pid_t ParentOf(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The command name in parentheses may hold blanks; the parent follows the state after it.
  const std::size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 1));
  std::string state;
  pid_t parent = -1;
  fields >> state >> parent;
  return parent;
}

class LauncherTest : public X11Fixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(X11Fixture::SetUp());
    ASSERT_NO_FATAL_FAILURE(StartWindowManager());
    Work = Scratch.Path() / "work folder";
    fs::create_directories(Work);
  }

  platform::LinuxLauncher Launcher;
  fs::path Work;
};

TEST_F(LauncherTest, StartsAProgramByItsPathInTheWorkingFolder) {
  // The script writes its process id and then becomes the client, both relative to the
  // working folder it was started in.
  const fs::path program = Scratch.Path() / "start client";
  WriteFile(program,
            "#!/bin/sh\n"
            "echo $$ > launched.pid\n"
            "exec '" QUILLON_TEST_CLIENT "' --title 'Launched Client' --output received.txt\n",
            true);

  ASSERT_TRUE(Launcher.Open(program.string(), Work.string()));

  ASSERT_TRUE(WaitUntil([&] { return !FileLines(Work / "launched.pid").empty(); }));
  const pid_t launched = std::stoi(FileLines(Work / "launched.pid").front());
  Adopt(launched);
  const platform::WindowId window = WaitForWindow("Launched Client");
  ASSERT_NE(window, 0u);
  const std::vector<platform::WindowId> windows = Windows->TopLevelWindows();
  EXPECT_NE(std::find(windows.begin(), windows.end(), window), windows.end());
  EXPECT_TRUE(fs::exists(Work / "received.txt"));
  EXPECT_NE(ParentOf(launched), ::getpid()) << "the program is a child of the launcher";
}

TEST_F(LauncherTest, OpensDocumentsFoldersAndAddressesThroughXdgOpen) {
  const fs::path bin = Scratch.Path() / "bin";
  fs::create_directories(bin);
  const fs::path record = Scratch.Path() / "xdg-open calls.txt";
  WriteFile(bin / "xdg-open",
            "#!/bin/sh\nprintf '%s|%s\\n' \"$PWD\" \"$1\" >> '" + record.string() + "'\n", true);
  Environment.Set("PATH", bin.string() + ":" + std::getenv("PATH"));
  WriteFile(Work / "notes.txt", "a document\n");
  fs::create_directories(Work / "pictures");

  ASSERT_TRUE(Launcher.Open("notes.txt", Work.string()));
  ASSERT_TRUE(WaitUntil([&] { return FileLines(record).size() == 1; }));
  ASSERT_TRUE(Launcher.Open((Work / "pictures").string(), ""));
  ASSERT_TRUE(WaitUntil([&] { return FileLines(record).size() == 2; }));
  ASSERT_TRUE(Launcher.Open("https://example.org/page", Work.string()));
  ASSERT_TRUE(WaitUntil([&] { return FileLines(record).size() == 3; }));

  const std::vector<std::string> expected = {
      Work.string() + "|notes.txt",
      fs::current_path().string() + "|" + (Work / "pictures").string(),
      Work.string() + "|https://example.org/page"};
  EXPECT_EQ(FileLines(record), expected);
}

TEST(LinuxLauncherTest, SaysWhenItCannotStart) {
  ScratchFolder scratch;
  const fs::path program = scratch.Path() / "program";
  WriteFile(program, "#!/bin/sh\ntouch ran\n", true);
  platform::LinuxLauncher launcher;

  EXPECT_FALSE(launcher.Open("", ""));
  EXPECT_FALSE(launcher.Open((scratch.Path() / "missing").string(), ""));
  EXPECT_FALSE(launcher.Open("quillon-no-such-program", scratch.Path().string()));
  EXPECT_FALSE(launcher.Open(program.string(), (scratch.Path() / "no such folder").string()));
  // A bare name that names a program in the working folder runs it.
  EXPECT_TRUE(launcher.Open("program", scratch.Path().string()));
  EXPECT_TRUE(WaitUntil([&] { return fs::exists(scratch.Path() / "ran"); }));
}

}  // namespace
}  // namespace quillon::test

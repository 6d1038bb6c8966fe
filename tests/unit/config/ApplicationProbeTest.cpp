#include "core/config/ApplicationProbe.h"

#include <gtest/gtest.h>

#include <memory>

#include "actions/FakeMessageBoxes.h"
#include "platform/fake/FakeDesktopSystem.h"
#include "platform/fake/FakeEventLoop.h"

namespace quillon {
namespace {

using platform::WindowId;

// A program that opens its windows some time after it starts, the first in front.
struct SlowProgram : platform::Launcher {
  SlowProgram(platform::FakeDesktop& desktop, platform::EventLoop& loop)
      : Desktop(desktop), Loop(loop) {}

  bool Open(std::string_view path, std::string_view folder) override {
    Started = std::string(path) + " in " + std::string(folder);
    if (!Starts) return false;
    Opening = Loop.CreateTimer([this] {
      Opening->Disable();
      for (const std::string& title : Titles) {
        Opened.push_back(Desktop.AddWindow(title));
        if (Opened.size() == 1) Desktop.Activate(Opened.front());
      }
    });
    Opening->SetInterval(OpensAfterMs);
    Opening->Enable();
    return true;
  }

  platform::FakeDesktop& Desktop;
  platform::EventLoop& Loop;
  std::vector<std::string> Titles;
  std::uint32_t OpensAfterMs = 500;
  bool Starts = true;
  std::string Started;
  std::vector<WindowId> Opened;
  std::unique_ptr<platform::Timer> Opening;
};

struct ProbeBench {
  ProbeBench() {
    Desktop.AddWindow("Terminal");
    Own = Desktop.AddWindow("Quillon");
  }

  ProbeParts Parts() {
    return {Desktop, Program, Loop,
            Clock,   Boxes,   [this](WindowId window) { return window == Own; }};
  }
  std::vector<std::string> Probe() {
    return ProbeApplication(Parts(), "/opt/player/bin/player", {2, 1}, English);
  }
  // The messages posted to windows.
  std::vector<std::string> Posts() const {
    std::vector<std::string> posts;
    for (const std::string& effect : Log.Texts()) {
      if (effect.starts_with("post")) posts.push_back(effect);
    }
    return posts;
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const WindowId window : Desktop.TopLevelWindows()) titles.push_back(Desktop.Title(window));
    return titles;
  }

  platform::EffectLog Log;
  platform::FakeDesktop Desktop{Log};
  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  test::FakeMessageBoxes Boxes;
  SlowProgram Program{Desktop, Loop};
  WindowId Own = 0;
};

TEST(ApplicationProbe, TheNewTitlesAreFoundAndOnlyTheProgramsWindowIsAskedToClose) {
  ProbeBench bench;
  bench.Program.Titles = {"Player", "Player - Playlist", "Terminal", "Player"};
  EXPECT_EQ(bench.Probe(), (std::vector<std::string>{"Player", "Player - Playlist"}));
  EXPECT_EQ(bench.Program.Started, "/opt/player/bin/player in /opt/player/bin");
  EXPECT_TRUE(bench.Boxes.Shown.empty());
  // The front window it opened got a close request, not a quit; the rest stay.
  EXPECT_EQ(bench.Posts(), std::vector<std::string>{
                               "post title=\"Player\" message=\"WM_CLOSE\" wParam=0 lParam=0"});
  EXPECT_EQ(bench.Titles(), (std::vector<std::string>{"Terminal", "Quillon", "Player - Playlist",
                                                      "Terminal", "Player"}));
}

TEST(ApplicationProbe, NothingNewIsReportedAndNoWindowIsClosed) {
  struct Case {
    bool Starts;
    std::uint32_t OpensAfterMs;  // past both waits: the program is too slow
  };
  for (const Case c : {Case{false, 500}, Case{true, 4000}}) {
    ProbeBench fixture;
    fixture.Program.Titles = {"Player"};
    fixture.Program.Starts = c.Starts;
    fixture.Program.OpensAfterMs = c.OpensAfterMs;
    fixture.Desktop.Activate(fixture.Own);  // the program's own window in front
    EXPECT_TRUE(fixture.Probe().empty());
    ASSERT_EQ(fixture.Boxes.Shown.size(), 1u);
    EXPECT_EQ(fixture.Boxes.Shown[0].Text, "Window name not found!");
    EXPECT_TRUE(fixture.Posts().empty());
  }
}

TEST(SkinsProbe, TheReskinnedTitlesAreFoundOnceTheApplicationIsClosed) {
  for (const bool closedByUser : {true, false}) {
    ProbeBench bench;
    std::vector<bool> minimized;
    SkinsProbe probe(bench.Parts(), [&](bool down) { minimized.push_back(down); });
    bench.Program.Titles = {"Player"};
    probe.Start("/opt/player/bin/player", 2, English);
    EXPECT_TRUE(probe.Waiting());
    ASSERT_EQ(bench.Boxes.Shown.size(), 1u);
    EXPECT_EQ(bench.Boxes.Shown[0].Text,
              "Change application skin\r\nand after that locked application");

    bench.Program.Titles = {"Player - Dark"};
    if (closedByUser) bench.Desktop.Close(bench.Program.Opened.front());
    bench.Boxes.Answers = {MessageAnswer::Cancel};
    const std::vector<std::string> found = probe.Complete(1, 2, English);
    EXPECT_FALSE(probe.Waiting());
    if (closedByUser) {
      EXPECT_EQ(found, std::vector<std::string>{"Player - Dark"});
      EXPECT_EQ(minimized, (std::vector<bool>{true, false, true, false}));
    } else {
      // Still open: the user is asked to close it and cancels the probe.
      EXPECT_TRUE(found.empty());
      ASSERT_EQ(bench.Boxes.Shown.size(), 2u);
      EXPECT_EQ(bench.Boxes.Shown[1].Text, "Please, close application: player");
    }
  }
}

}  // namespace
}  // namespace quillon

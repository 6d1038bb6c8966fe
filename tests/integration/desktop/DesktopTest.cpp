// Real X clients listed, found, raised, activated, closed and ended through the X11 desktop,
// with and without a window manager.

#include "X11Fixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

namespace quillon::test {
namespace {

using platform::WindowId;

class DesktopTest : public WithAndWithoutWindowManager {
 protected:
  std::ptrdiff_t StackPosition(WindowId window) const {
    const std::vector<WindowId> windows = Windows->TopLevelWindows();
    return std::find(windows.begin(), windows.end(), window) - windows.begin();
  }
};

TEST_P(DesktopTest, ListsWindowsWithTheirUtf8Titles) {
  StartClient("First Window");
  StartClient("Окно Ärger");
  StartClient("Café Legacy", {"--legacy-title"});  // sets only WM_NAME
  EXPECT_EQ(Windows->Title(Windows->FindByTitle("Café Legacy")), "Café Legacy");
  const WindowId first = Windows->FindByTitle("First Window");
  const WindowId second = Windows->FindByTitle("Окно Ärger");

  EXPECT_NE(first, second);
  EXPECT_LT(StackPosition(first), std::ssize(Windows->TopLevelWindows()));
  EXPECT_LT(StackPosition(second), std::ssize(Windows->TopLevelWindows()));
  EXPECT_EQ(Windows->Title(second), "Окно Ärger");
  EXPECT_EQ(Windows->FindByTitle("Окно"), 0u) << "titles are compared whole";
}

TEST_P(DesktopTest, RaisesWindowsToTheTopOfTheListAndActivatesThem) {
  StartClient("One");
  StartClient("Two");
  const WindowId one = Windows->FindByTitle("One");
  const WindowId two = Windows->FindByTitle("Two");

  Windows->BringToTop(one);
  EXPECT_TRUE(WaitUntil([&] { return StackPosition(one) == 0; }));
  Windows->BringToTop(two);
  EXPECT_TRUE(WaitUntil([&] { return StackPosition(two) == 0; }));
  EXPECT_EQ(StackPosition(one), 1);  // the list is topmost first

  Windows->Activate(one);
  EXPECT_EQ(Windows->Foreground(), one);
  Windows->Activate(two);
  EXPECT_EQ(Windows->Foreground(), two);
}

TEST_P(DesktopTest, ClosesAWindowFoundByItsExactTitleAndDisconnectsOneThatTakesNoRequests) {
  Client& client = StartClient("Close Me");
  StartClient("Close Me Not");
  Client& stubborn = StartClient("Stubborn", {"--no-delete"});

  Windows->Close(Windows->FindByTitle("Close Me"));
  Windows->Close(Windows->FindByTitle("Stubborn"));

  const std::optional<int> status = client.Process.WaitForExit(Patience);
  ASSERT_TRUE(status) << "the client did not end";
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
  EXPECT_EQ(FileLines(client.Output), std::vector<std::string>{"close"});
  EXPECT_NE(Windows->FindByTitle("Close Me Not"), 0u);
  EXPECT_TRUE(stubborn.Process.WaitForExit(Patience)) << "the stubborn client did not end";
}

TEST_P(DesktopTest, QuitTerminatesTheOwningProcess) {
  Client& client = StartClient("Quit Me");

  Windows->Quit(Windows->FindByTitle("Quit Me"));

  const std::optional<int> status = client.Process.WaitForExit(Patience);
  ASSERT_TRUE(status) << "the client did not end";
  EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGTERM);
}

TEST_P(DesktopTest, RequestsOnAVanishedWindowAreIgnored) {
  Client& client = StartClient("Vanishing");
  StartClient("Staying");
  const WindowId gone = Windows->FindByTitle("Vanishing");
  client.Process.Stop();
  ASSERT_TRUE(WaitUntil([&] { return Windows->FindByTitle("Vanishing") == 0; }));
  const unsigned long failuresBefore = Connection->FailedRequests();

  EXPECT_EQ(Windows->Title(gone), "");
  EXPECT_FALSE(Windows->IsMinimized(gone));
  Windows->Restore(gone);
  Windows->BringToTop(gone);
  Windows->Activate(gone);
  Windows->Close(gone);
  Windows->Quit(gone);

  EXPECT_GT(Connection->FailedRequests(), failuresBefore);
  EXPECT_NE(Windows->FindByTitle("Staying"), 0u);
}

INSTANTIATE_TEST_SUITE_P(Desktops, DesktopTest, ::testing::Values(false, true), WindowManagerName);

class WindowManagerTest : public X11Fixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(X11Fixture::SetUp());
    ASSERT_NO_FATAL_FAILURE(StartWindowManager());
  }
};

TEST_F(WindowManagerTest, RestoresAMinimizedWindow) {
  StartClient("Minimize Me");
  const WindowId window = Windows->FindByTitle("Minimize Me");
  ASSERT_FALSE(Windows->IsMinimized(window));
  Display* probe = Probe->Handle();
  XIconifyWindow(probe, static_cast<Window>(window), DefaultScreen(probe));
  XFlush(probe);
  ASSERT_TRUE(WaitUntil([&] { return Windows->IsMinimized(window); }));

  Windows->Restore(window);

  EXPECT_TRUE(WaitUntil([&] { return !Windows->IsMinimized(window); }));
}

TEST_F(WindowManagerTest, QuitLeavesAWindowOfThisProgramAlone) {
  // A window of this very process, as the program's own windows are.
  Display* probe = Probe->Handle();
  const Window own = XCreateSimpleWindow(probe, Probe->Root(), 0, 0, 100, 100, 0, 0, 0);
  char name[] = "quillon-integration-tests";
  char* argv[] = {name, nullptr};
  XSetWMProperties(probe, own, nullptr, nullptr, argv, 1, nullptr, nullptr, nullptr);
  const long pid = ::getpid();
  XChangeProperty(probe, own, Probe->AtomNamed("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);
  Atom deleteWindow = Probe->AtomNamed("WM_DELETE_WINDOW");
  XSetWMProtocols(probe, own, &deleteWindow, 1);
  XSync(probe, True);

  Windows->Quit(own);

  XSync(probe, False);
  XEvent event;
  EXPECT_FALSE(XCheckTypedWindowEvent(probe, own, ClientMessage, &event))
      << "the program's own window was asked to close";
}

TEST_F(WindowManagerTest, PostCommandSaysOnceThatX11HasNoCommands) {
  StartClient("Commands");
  const WindowId window = Windows->FindByTitle("Commands");

  ::testing::internal::CaptureStderr();
  Windows->PostCommand(window, 40001, 0);
  Windows->PostCommand(window, 40002, 0);
  const std::string said = ::testing::internal::GetCapturedStderr();

  EXPECT_NE(said.find("WM_COMMAND"), std::string::npos);
  EXPECT_EQ(said.find("WM_COMMAND"), said.rfind("WM_COMMAND")) << said;
}

}  // namespace
}  // namespace quillon::test

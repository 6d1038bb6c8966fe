#include "X11Fixture.h"

#include <algorithm>

namespace quillon::test {

using platform::WindowId;

void X11Fixture::SetUp() {
  ASSERT_TRUE(Server.Start(Scratch.Path())) << "Xvfb did not start";
  Environment.Set("DISPLAY", Server.Name());
  auto connection = platform::X11Connection::Open(Server.Name().c_str());
  ASSERT_TRUE(connection) << connection.ErrorMessage();
  Connection = connection.Value();
  auto probe = platform::X11Connection::Open(Server.Name().c_str());
  ASSERT_TRUE(probe) << probe.ErrorMessage();
  Probe = probe.Value();
  Keys = std::make_unique<platform::X11Keyboard>(Connection);
  Pointer = std::make_unique<platform::X11Mouse>(Connection);
  Windows = std::make_unique<platform::X11Desktop>(Connection);
  System = std::make_unique<platform::X11SystemControl>(Connection);
}

void X11Fixture::TearDown() {
  Keys.reset();
  Pointer.reset();
  Windows.reset();
  System.reset();
  Connection.reset();
  Probe.reset();
  for (const pid_t pid : Adopted) EndProcess(pid);
  Clients.clear();
  Manager.Stop();
  Server.Stop();
  Environment.Restore();
}

void X11Fixture::StartWindowManager() {
  ASSERT_TRUE(Manager.Start(Server.Name(), Scratch.Path())) << "openbox did not start";
  // A window manager announces itself before it handles windows, and a window mapped in
  // between may stay unmanaged: it runs once it has taken on a window of the probe's.
  Display* probe = Probe->Handle();
  const Window window = XCreateSimpleWindow(probe, Probe->Root(), 0, 0, 10, 10, 0, 0, 0);
  XMapWindow(probe, window);
  XFlush(probe);
  const Atom clients = Probe->AtomNamed("_NET_CLIENT_LIST");
  const auto listed = [&] {
    const auto list = Probe->ReadItems(Probe->Root(), clients, XA_WINDOW);
    return std::find(list.begin(), list.end(), window) != list.end();
  };
  const bool managing = WaitUntil([&] {
    if (listed()) return true;
    // Map requests made before it took over the screen went to no one: ask again.
    XMapWindow(probe, window);
    XFlush(probe);
    return false;
  });
  XDestroyWindow(probe, window);
  XFlush(probe);
  ASSERT_TRUE(managing) << "openbox did not take on a window";
  ASSERT_TRUE(WaitUntil([&] { return !listed(); }));
  ManagerRunning = true;
}

X11Fixture::Client& X11Fixture::StartClient(const std::string& title,
                                            const std::vector<std::string>& options) {
  Client& client = Clients.emplace_back();
  client.Output = Scratch.Path() / ("client-" + std::to_string(Clients.size()) + ".txt");
  std::vector<std::string> arguments = {QUILLON_TEST_CLIENT, "--title", title, "--output",
                                        client.Output.string()};
  arguments.insert(arguments.end(), options.begin(), options.end());
  EXPECT_TRUE(client.Process.Start(arguments, {"DISPLAY=" + Server.Name()},
                                   Scratch.Path() / "clients.log"));
  const WindowId window = WaitForWindow(title);
  EXPECT_NE(window, 0u) << "no window titled \"" << title << "\" appeared";
  // The window manager activates a new window (focusNew) on its own time; the test goes on
  // once it has, so that it does not happen in the middle of the test.
  if (ManagerRunning) {
    EXPECT_TRUE(WaitUntil([&] { return Windows->Foreground() == window; }));
  }
  return client;
}

WindowId X11Fixture::WaitForWindow(const std::string& title) const {
  WindowId found = 0;
  WaitUntil([&] {
    found = Windows->FindByTitle(title);
    return found != 0;
  });
  return found;
}

std::vector<std::string> X11Fixture::Received(const Client& client, std::size_t count) const {
  WaitUntil([&] { return FileLines(client.Output).size() >= count; });
  return FileLines(client.Output);
}

platform::Point X11Fixture::CentreOf(WindowId window) const {
  Display* display = Probe->Handle();
  XWindowAttributes attributes{};
  XGetWindowAttributes(display, static_cast<Window>(window), &attributes);
  int x = 0;
  int y = 0;
  Window child = None;
  XTranslateCoordinates(display, static_cast<Window>(window), Probe->Root(), attributes.width / 2,
                        attributes.height / 2, &x, &y, &child);
  return {x, y};
}

}  // namespace quillon::test

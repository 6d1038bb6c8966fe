#include "platform/linux/X11Desktop.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <iostream>

namespace quillon::platform {

namespace {

// How long Activate() waits for the window manager to make the window active.
constexpr std::chrono::milliseconds ActivationWait{500};

// EWMH source indication of a pager: window managers grant its requests without the
// focus-stealing checks they apply to applications, as the user asked for the change.
constexpr long SourcePager = 2;

// Deep enough for a frame holding the client, or a frame holding a decoration window holding
// the client; clients carrying WM_STATE lie no deeper under the usual window managers.
constexpr int ClientSearchDepth = 2;

// X window ids are 29-bit numbers; anything larger names no window.
Window AsWindow(WindowId window) {
  return window > 0x1FFFFFFFU ? None : static_cast<Window>(window);
}

std::string Latin1ToUtf8(const unsigned char* text, unsigned long length) {
  std::string utf8;
  utf8.reserve(length);
  for (unsigned long i = 0; i < length; ++i) {
    const unsigned char c = text[i];
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

}  // namespace

std::vector<WindowId> X11Desktop::TopLevelWindows() const {
  if (Connection->Lost()) return {};
  const std::vector<unsigned long> features = WindowManagerFeatures();
  if (!Supports(features, "_NET_CLIENT_LIST_STACKING")) return RootChildren();
  // The window manager lists its clients from the bottom of the stack to the top.
  const std::vector<unsigned long> stack = Connection->ReadItems(
      Connection->Root(), Connection->AtomNamed("_NET_CLIENT_LIST_STACKING"), XA_WINDOW);
  return {stack.rbegin(), stack.rend()};
}

std::string X11Desktop::Title(WindowId id) const {
  Display* display = Connection->Handle();
  const Window window = AsWindow(id);
  if (Connection->Lost() || window == None) return {};
  if (std::optional<std::string> title = Connection->ReadBytes(
          window, Connection->AtomNamed("_NET_WM_NAME"), Connection->AtomNamed("UTF8_STRING"))) {
    return *std::move(title);
  }
  XTextProperty name{};
  if (!XGetWMName(display, window, &name) || name.value == nullptr) return {};
  std::string title;
  if (name.encoding == XA_STRING) {
    title = Latin1ToUtf8(name.value, name.nitems);
  } else if (name.encoding == Connection->AtomNamed("UTF8_STRING")) {
    title.assign(reinterpret_cast<const char*>(name.value), name.nitems);
  } else {
    // COMPOUND_TEXT, left by older toolkits; Xlib converts it.
    char** list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(display, &name, &list, &count) >= Success && count > 0) {
      title = list[0];
    }
    if (list != nullptr) XFreeStringList(list);
  }
  XFree(name.value);
  return title;
}

WindowId X11Desktop::FindByTitle(std::string_view title) const {
  for (const WindowId window : TopLevelWindows()) {
    if (Title(window) == title) return window;
  }
  return 0;
}

WindowId X11Desktop::Foreground() const {
  if (Connection->Lost()) return 0;
  if (!Supports(WindowManagerFeatures(), "_NET_ACTIVE_WINDOW")) return FocusedTopLevel();
  const std::vector<unsigned long> active = Connection->ReadItems(
      Connection->Root(), Connection->AtomNamed("_NET_ACTIVE_WINDOW"), XA_WINDOW);
  return active.empty() ? 0 : active.front();
}

bool X11Desktop::IsMinimized(WindowId id) const {
  const Window window = AsWindow(id);
  if (Connection->Lost() || window == None) return false;
  const Atom hidden = Connection->AtomNamed("_NET_WM_STATE_HIDDEN");
  const std::vector<unsigned long> states =
      Connection->ReadItems(window, Connection->AtomNamed("_NET_WM_STATE"), XA_ATOM);
  if (std::find(states.begin(), states.end(), hidden) != states.end()) return true;
  const Atom wmState = Connection->AtomNamed("WM_STATE");
  const std::vector<unsigned long> state = Connection->ReadItems(window, wmState, wmState);
  return !state.empty() && state.front() == IconicState;
}

void X11Desktop::Restore(WindowId id) {
  Display* display = Connection->Handle();
  const Window window = AsWindow(id);
  if (Connection->Lost() || window == None) return;
  XMapWindow(display, window);
  XSync(display, False);
}

void X11Desktop::BringToTop(WindowId id) {
  Display* display = Connection->Handle();
  const Window window = AsWindow(id);
  if (Connection->Lost() || window == None) return;
  if (Supports(WindowManagerFeatures(), "_NET_RESTACK_WINDOW")) {
    MessageToWindowManager(window, "_NET_RESTACK_WINDOW", SourcePager, None, Above);
  } else {
    XRaiseWindow(display, window);
  }
  XSync(display, False);
}

void X11Desktop::Activate(WindowId id) {
  Display* display = Connection->Handle();
  const Window window = AsWindow(id);
  if (Connection->Lost() || window == None) return;
  if (!Supports(WindowManagerFeatures(), "_NET_ACTIVE_WINDOW")) {
    XMapRaised(display, window);
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
    return;
  }
  // Changes of _NET_ACTIVE_WINDOW wake the wait below; the selection lasts for the wait only.
  XSelectInput(display, Connection->Root(), PropertyChangeMask);
  MessageToWindowManager(window, "_NET_ACTIVE_WINDOW", SourcePager, CurrentTime, None);
  XFlush(display);
  const auto deadline = std::chrono::steady_clock::now() + ActivationWait;
  // Keys go where the input focus is, which the window manager moves on its own time too.
  while (Foreground() != id || FocusedTopLevel() != id) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    Connection->HandleQueuedEvents();
    if (left.count() <= 0 || !Connection->WaitForEvent(static_cast<int>(left.count()))) break;
  }
  XSelectInput(display, Connection->Root(), NoEventMask);
  XSync(display, False);
  Connection->HandleQueuedEvents();
}

void X11Desktop::Close(WindowId id) {
  Display* display = Connection->Handle();
  const Window window = AsWindow(id);
  if (Connection->Lost() || window == None) return;
  const Atom deleteWindow = Connection->AtomNamed("WM_DELETE_WINDOW");
  Atom* protocols = nullptr;
  int count = 0;
  bool deletable = false;
  if (XGetWMProtocols(display, window, &protocols, &count)) {
    deletable = std::find(protocols, protocols + count, deleteWindow) != protocols + count;
    XFree(protocols);
  }
  if (deletable) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = Connection->AtomNamed("WM_PROTOCOLS");
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
  } else if (LocalOwner(window) != ::getpid()) {
    XKillClient(display, window);
  }
  XSync(display, False);
}

void X11Desktop::Quit(WindowId id) {
  const Window window = AsWindow(id);
  if (Connection->Lost() || window == None) return;
  const long owner = LocalOwner(window);
  if (owner == ::getpid()) return;
  if (owner > 1) {
    ::kill(static_cast<pid_t>(owner), SIGTERM);
  } else {
    Close(id);
  }
}

void X11Desktop::PostCommand(WindowId, std::int64_t, std::int64_t) {
  if (CommandNoticeShown) return;
  CommandNoticeShown = true;
  std::cerr << "quillon: X11 windows take no menu commands (WM_COMMAND); such commands are "
               "ignored\n";
}

std::vector<unsigned long> X11Desktop::WindowManagerFeatures() const {
  // A window manager proves it runs by a child window whose _NET_SUPPORTING_WM_CHECK names
  // itself; the property on the root alone may be left over from one that ended.
  const Atom check = Connection->AtomNamed("_NET_SUPPORTING_WM_CHECK");
  const std::vector<unsigned long> child =
      Connection->ReadItems(Connection->Root(), check, XA_WINDOW);
  if (child.empty()) return {};
  const std::vector<unsigned long> self = Connection->ReadItems(child.front(), check, XA_WINDOW);
  if (self.empty() || self.front() != child.front()) return {};
  return Connection->ReadItems(Connection->Root(), Connection->AtomNamed("_NET_SUPPORTED"),
                               XA_ATOM);
}

bool X11Desktop::Supports(const std::vector<unsigned long>& features, const char* name) const {
  if (features.empty()) return false;
  return std::find(features.begin(), features.end(), Connection->AtomNamed(name)) != features.end();
}

std::vector<WindowId> X11Desktop::RootChildren() const {
  Display* display = Connection->Handle();
  Window root = None;
  Window parent = None;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, Connection->Root(), &root, &parent, &children, &count)) return {};
  std::vector<WindowId> windows;
  // XQueryTree lists the children from the bottom of the stack to the top.
  for (unsigned int i = count; i-- > 0;) {
    const Window client = ClientWithin(children[i], ClientSearchDepth);
    XWindowAttributes attributes{};
    if (client != None) {
      windows.push_back(client);
    } else if (XGetWindowAttributes(display, children[i], &attributes) &&
               attributes.map_state == IsViewable && !attributes.override_redirect &&
               attributes.c_class == InputOutput) {
      windows.push_back(children[i]);
    }
  }
  if (children != nullptr) XFree(children);
  return windows;
}

Window X11Desktop::ClientWithin(Window window, int depth) const {
  const Atom wmState = Connection->AtomNamed("WM_STATE");
  if (!Connection->ReadItems(window, wmState, wmState).empty()) return window;
  if (depth == 0) return None;
  Window root = None;
  Window parent = None;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(Connection->Handle(), window, &root, &parent, &children, &count)) return None;
  Window client = None;
  for (unsigned int i = count; i-- > 0 && client == None;) {
    client = ClientWithin(children[i], depth - 1);
  }
  if (children != nullptr) XFree(children);
  return client;
}

long X11Desktop::LocalOwner(Window window) const {
  const std::vector<unsigned long> pid =
      Connection->ReadItems(window, Connection->AtomNamed("_NET_WM_PID"), XA_CARDINAL);
  if (pid.empty()) return 0;
  // A process id means nothing on another machine: the client must run on this one.
  if (const auto machine = Connection->ReadBytes(window, XA_WM_CLIENT_MACHINE, XA_STRING)) {
    std::array<char, 256> host{};
    if (::gethostname(host.data(), host.size() - 1) != 0 || *machine != host.data()) return 0;
  }
  return static_cast<long>(pid.front());
}

void X11Desktop::MessageToWindowManager(Window window, const char* type, long first, long second,
                                        long third) const {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = Connection->AtomNamed(type);
  event.xclient.format = 32;
  event.xclient.data.l[0] = first;
  event.xclient.data.l[1] = second;
  event.xclient.data.l[2] = third;
  XSendEvent(Connection->Handle(), Connection->Root(), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

WindowId X11Desktop::FocusedTopLevel() const {
  Display* display = Connection->Handle();
  Window focus = None;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  if (focus == None || focus == PointerRoot || focus == Connection->Root()) return 0;
  // Climb to the child of the root that holds the focused window.
  for (;;) {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, focus, &root, &parent, &children, &count)) return 0;
    if (children != nullptr) XFree(children);
    if (parent == root) break;
    focus = parent;
  }
  const Window client = ClientWithin(focus, ClientSearchDepth);
  return client != None ? client : focus;
}

}  // namespace quillon::platform

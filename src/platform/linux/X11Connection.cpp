#include "platform/linux/X11Connection.h"

#include <X11/extensions/XTest.h>
#include <poll.h>

#include <algorithm>
#include <mutex>

namespace quillon::platform {

namespace {

// Xlib has one error handler and one I/O error handler for the whole process, so the
// connections that want their errors ignored are listed here, and the handlers that were
// installed before ours keep serving every other display.
struct ErrorRouting {
  std::mutex Lock;
  std::vector<X11Connection*> Connections;
  XErrorHandler Previous = nullptr;
  XIOErrorHandler PreviousIO = nullptr;

  X11Connection* Find(Display* display) const {
    const auto found = std::find_if(Connections.begin(), Connections.end(),
                                    [display](const X11Connection* c) { return c->Owns(display); });
    return found != Connections.end() ? *found : nullptr;
  }
};

ErrorRouting& Routing() {
  static ErrorRouting routing;
  return routing;
}

// Property reads ask for at most this many 32-bit units; far more than any window list.
constexpr long MaxPropertyUnits = 1L << 20;

}  // namespace

Result<std::shared_ptr<X11Connection>> X11Connection::Open(const char* displayName) {
  Display* display = XOpenDisplay(displayName);
  if (display == nullptr) {
    const char* shown = XDisplayName(displayName);
    return Error{"cannot open the X display \"" + std::string(shown ? shown : "") + "\""};
  }
  return std::shared_ptr<X11Connection>(new X11Connection(display));
}

X11Connection::X11Connection(Display* display)
    : TheDisplay(display), RootId(DefaultRootWindow(display)) {
  {
    ErrorRouting& routing = Routing();
    const std::lock_guard lock(routing.Lock);
    if (routing.Previous == nullptr) {
      routing.Previous = XSetErrorHandler(&X11Connection::OnError);
      routing.PreviousIO = XSetIOErrorHandler(&X11Connection::OnIOError);
    }
    routing.Connections.push_back(this);
  }
  XSetIOErrorExitHandler(display, &X11Connection::OnConnectionLost, this);
  int eventBase = 0;
  int errorBase = 0;
  int major = 0;
  int minor = 0;
  XTest = XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) == True;
}

X11Connection::~X11Connection() {
  // Closing flushes what is pending, which may still report errors: the connection stays
  // listed until the display is gone.
  XCloseDisplay(TheDisplay);
  ErrorRouting& routing = Routing();
  const std::lock_guard lock(routing.Lock);
  std::erase(routing.Connections, this);
}

int X11Connection::OnError(Display* display, XErrorEvent* error) {
  ErrorRouting& routing = Routing();
  XErrorHandler previous = nullptr;
  {
    const std::lock_guard lock(routing.Lock);
    if (X11Connection* connection = routing.Find(display)) {
      ++connection->Failures;
      return 0;
    }
    previous = routing.Previous;
  }
  return previous(display, error);
}

int X11Connection::OnIOError(Display* display) {
  ErrorRouting& routing = Routing();
  XIOErrorHandler previous = nullptr;
  {
    const std::lock_guard lock(routing.Lock);
    if (X11Connection* connection = routing.Find(display)) {
      connection->Broken = true;
      return 0;
    }
    previous = routing.PreviousIO;
  }
  // Xlib's own handler, the usual previous one, ends the process.
  return previous(display);
}

void X11Connection::OnConnectionLost(Display*, void* connection) {
  // Returning instead of exiting leaves the display marked broken; Xlib calls on it fail at
  // once from now on, and the backends stop making them.
  static_cast<X11Connection*>(connection)->Broken = true;
}

Atom X11Connection::AtomNamed(const char* name) const {
  return Broken ? None : XInternAtom(TheDisplay, name, False);
}

void X11Connection::HandleQueuedEvents() const {
  if (Broken) return;
  while (XEventsQueued(TheDisplay, QueuedAfterReading) > 0) {
    XEvent event;
    XNextEvent(TheDisplay, &event);
    if (event.type == MappingNotify) XRefreshKeyboardMapping(&event.xmapping);
  }
}

bool X11Connection::WaitForEvent(int milliseconds) const {
  if (Broken) return false;
  if (XEventsQueued(TheDisplay, QueuedAlready) > 0) return true;
  pollfd socket{ConnectionNumber(TheDisplay), POLLIN, 0};
  return ::poll(&socket, 1, milliseconds) > 0;
}

std::vector<unsigned long> X11Connection::ReadItems(Window window, Atom property, Atom type) const {
  std::vector<unsigned long> items;
  if (Broken || window == None) return items;
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(TheDisplay, window, property, 0, MaxPropertyUnits, False,
                                        type, &actualType, &format, &count, &remaining, &data);
  if (status == Success && actualType == type && format == 32 && data != nullptr) {
    // Xlib hands 32-bit items over as an array of long, whatever the size of long.
    const auto* values = reinterpret_cast<const long*>(data);
    items.reserve(count);
    for (unsigned long i = 0; i < count; ++i) {
      items.push_back(static_cast<unsigned long>(values[i]) & 0xFFFFFFFFUL);
    }
  }
  if (data != nullptr) XFree(data);
  return items;
}

std::optional<std::string> X11Connection::ReadBytes(Window window, Atom property, Atom type) const {
  if (Broken || window == None) return std::nullopt;
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(TheDisplay, window, property, 0, MaxPropertyUnits, False,
                                        type, &actualType, &format, &count, &remaining, &data);
  std::optional<std::string> bytes;
  if (status == Success && actualType == type && format == 8 && data != nullptr) {
    bytes.emplace(reinterpret_cast<const char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  return bytes;
}

}  // namespace quillon::platform

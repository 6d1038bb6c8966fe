#pragma once

#include <X11/Xlib.h>
// X.h names a protocol constant ScreenSaverActive, which would replace the name of the
// SystemControl method; the constant is not used here.
#undef ScreenSaverActive

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/common/Result.h"

namespace quillon::platform {

// One connection to an X server, shared by the X11 backends of the program.
//
// X errors never end the program. Xlib's default handlers exit the process on any failed
// request and on a lost connection; here a failed request (most often one on a window that
// vanished between listing and use) is counted and otherwise ignored, and a lost connection
// (the server ended) marks the connection lost, after which the backends over it do nothing
// and report themselves unavailable. Errors on displays opened elsewhere in the process still
// reach the handler that was installed before.
//
// Xlib is not used from more than one thread: every call is made on the main thread.
class X11Connection {
 public:
  // Connects to `displayName` (null: the DISPLAY environment variable).
  static Result<std::shared_ptr<X11Connection>> Open(const char* displayName);

  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  // Whether the connection to the server is gone. The backends check it before each operation;
  // Xlib calls that an operation still makes on a display lost meanwhile fail at once.
  bool Lost() const { return Broken; }
  Display* Handle() const { return TheDisplay; }
  Window Root() const { return RootId; }
  // Whether the server offers the XTEST extension, needed to inject keys and buttons.
  bool HasXTest() const { return XTest; }
  // Requests the server refused so far; each was ignored.
  unsigned long FailedRequests() const { return Failures; }

  // Whether `display` is this connection's: the process-wide error handlers route by it.
  bool Owns(const Display* display) const { return display == TheDisplay; }

  Atom AtomNamed(const char* name) const;

  // Handles the events Xlib has queued for this connection: a keyboard mapping change
  // refreshes Xlib's copy of the mapping, anything else is dropped. The backends select no
  // events except for short waits, so the queue holds little.
  void HandleQueuedEvents() const;

  // Waits until an event arrives or `milliseconds` pass; false when none came in time.
  bool WaitForEvent(int milliseconds) const;

  // Reads a property made of 32-bit items (CARDINAL, WINDOW, ATOM); empty when the window
  // or the property is missing or holds another type.
  std::vector<unsigned long> ReadItems(Window window, Atom property, Atom type) const;
  // Reads a property made of bytes of the given type; nothing when the window or the property
  // is missing or holds another type.
  std::optional<std::string> ReadBytes(Window window, Atom property, Atom type) const;

 private:
  explicit X11Connection(Display* display);

  static int OnError(Display* display, XErrorEvent* error);
  static int OnIOError(Display* display);
  static void OnConnectionLost(Display* display, void* connection);

  Display* TheDisplay;
  Window RootId;
  bool XTest = false;
  bool Broken = false;
  unsigned long Failures = 0;
};

}  // namespace quillon::platform

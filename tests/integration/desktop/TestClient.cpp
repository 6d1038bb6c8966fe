// A small X client for the integration tests: one window with a given title that writes what
// it receives to a file, one line per event, flushed at once:
//   key <keysym>   a key press, "key C-<keysym>" with Control held; presses of modifier keys
//                  themselves are not written
//   button <n>     a button press
//   close          WM_DELETE_WINDOW arrived; the client then exits with status 0
// Options:
//   --title <text>    the title, UTF-8, set as _NET_WM_NAME and, in Latin-1, as WM_NAME
//   --legacy-title    set WM_NAME only, as clients from before _NET_WM_NAME do
//   --no-delete       take no part in the WM_DELETE_WINDOW protocol
//   --output <file>   where the lines go; created empty at the start
// The window carries _NET_WM_PID and WM_CLIENT_MACHINE like a toolkit's window.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

struct Options {
  std::string Title = "Test Client";
  std::string Output;
  bool LegacyTitle = false;
  bool NoDelete = false;
};

Options ReadOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--title" && i + 1 < argc) {
      options.Title = argv[++i];
    } else if (option == "--output" && i + 1 < argc) {
      options.Output = argv[++i];
    } else if (option == "--legacy-title") {
      options.LegacyTitle = true;
    } else if (option == "--no-delete") {
      options.NoDelete = true;
    }
  }
  return options;
}

// UTF-8 to Latin-1; characters beyond it become '?'.
std::string Latin1(std::string_view utf8) {
  std::string latin1;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      latin1 += static_cast<char>(c);
      continue;
    }
    // U+0080 to U+00FF are the two-byte sequences that start with C2 or C3.
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    const bool inLatin1 = (c == 0xC2 || c == 0xC3) && i + 1 < utf8.size();
    const auto next = inLatin1 ? static_cast<unsigned char>(utf8[i + 1]) : 0;
    latin1 += inLatin1 ? static_cast<char>(((c & 0x03) << 6) | (next & 0x3F)) : '?';
    i += length - 1;
  }
  return latin1;
}

void Write(std::FILE* output, const std::string& line) {
  std::fputs((line + "\n").c_str(), output);
  std::fflush(output);
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ReadOptions(argc, argv);
  std::FILE* output = options.Output.empty() ? stdout : std::fopen(options.Output.c_str(), "w");
  if (output == nullptr) return 2;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 3;

  const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 100, 100, 300, 200,
                                            0, 0, WhitePixel(display, DefaultScreen(display)));
  XSetWMProperties(display, window, nullptr, nullptr, argv, argc, nullptr, nullptr, nullptr);
  const std::string latin1 = Latin1(options.Title);
  XStoreName(display, window, latin1.c_str());
  if (!options.LegacyTitle) {
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(options.Title.data()),
                    static_cast<int>(options.Title.size()));
  }
  const long pid = ::getpid();
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  if (!options.NoDelete) XSetWMProtocols(display, window, &deleteWindow, 1);
  XSelectInput(display, window, KeyPressMask | ButtonPressMask);
  XMapWindow(display, window);
  XFlush(display);

  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MappingNotify) {
      XRefreshKeyboardMapping(&event.xmapping);
    } else if (event.type == KeyPress) {
      char text[16];
      KeySym symbol = NoSymbol;
      XLookupString(&event.xkey, text, sizeof text, &symbol, nullptr);
      if (IsModifierKey(symbol)) continue;
      const char* name = XKeysymToString(symbol);
      const bool control = (event.xkey.state & ControlMask) != 0;
      Write(output, std::string("key ") + (control ? "C-" : "") + (name ? name : "NoSymbol"));
    } else if (event.type == ButtonPress) {
      Write(output, "button " + std::to_string(event.xbutton.button));
    } else if (event.type == ClientMessage &&
               static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) {
      Write(output, "close");
      XCloseDisplay(display);
      return 0;
    }
  }
}

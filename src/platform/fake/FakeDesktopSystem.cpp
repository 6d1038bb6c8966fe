#include "platform/fake/FakeDesktopSystem.h"

#include <algorithm>

namespace quillon::platform {

namespace {

constexpr std::uint8_t NumLockKey = 144;

}  // namespace

void FakeKeyboard::KeyEvent(std::uint8_t virtualKey, std::uint16_t scanCode, bool up) {
  Log.Add(
      {"key", {{"vk", std::int64_t{virtualKey}}, {"scan", std::int64_t{scanCode}}, {"up", up}}});
  if (virtualKey == NumLockKey && !up) NumLock = !NumLock;
}

void FakeMouse::MoveTo(Point point) {
  At = point;
  Log.Add({"pointer", {{"x", std::int64_t{point.X}}, {"y", std::int64_t{point.Y}}}});
}

void FakeMouse::Button(MouseButton button, bool down) {
  Log.Add(
      {"button",
       {{"button", std::string(button == MouseButton::Left ? "left" : "right")}, {"down", down}}});
}

WindowId FakeDesktop::AddWindow(std::string title, bool minimized) {
  const WindowId id = NextId++;
  Stack.push_back({id, std::move(title), minimized, false});
  if (Front == 0) Front = id;
  return id;
}

void FakeDesktop::RefuseActivation(WindowId window) {
  if (Window* found = Find(window)) found->Refuses = true;
}

FakeDesktop::Window* FakeDesktop::Find(WindowId window) {
  const auto at = std::find_if(Stack.begin(), Stack.end(),
                               [window](const Window& w) { return w.Id == window; });
  return at == Stack.end() ? nullptr : &*at;
}

const FakeDesktop::Window* FakeDesktop::Find(WindowId window) const {
  const auto at = std::find_if(Stack.begin(), Stack.end(),
                               [window](const Window& w) { return w.Id == window; });
  return at == Stack.end() ? nullptr : &*at;
}

std::vector<WindowId> FakeDesktop::TopLevelWindows() const {
  std::vector<WindowId> ids;
  for (const Window& window : Stack) ids.push_back(window.Id);
  return ids;
}

std::string FakeDesktop::Title(WindowId window) const {
  const Window* found = Find(window);
  return found == nullptr ? std::string() : found->Title;
}

WindowId FakeDesktop::FindByTitle(std::string_view title) const {
  for (const Window& window : Stack) {
    if (window.Title == title) return window.Id;
  }
  return 0;
}

bool FakeDesktop::IsMinimized(WindowId window) const {
  const Window* found = Find(window);
  return found != nullptr && found->Minimized;
}

void FakeDesktop::Record(std::string_view name, WindowId window) {
  Log.Add({std::string(name), {{"title", Title(window)}}});
}

void FakeDesktop::MoveToTop(WindowId window) {
  const auto at = std::find_if(Stack.begin(), Stack.end(),
                               [window](const Window& w) { return w.Id == window; });
  if (at != Stack.end()) std::rotate(Stack.begin(), at, at + 1);
}

void FakeDesktop::Restore(WindowId window) {
  Record("restore", window);
  if (Window* found = Find(window)) found->Minimized = false;
}

void FakeDesktop::BringToTop(WindowId window) {
  Record("raise", window);
  MoveToTop(window);
}

void FakeDesktop::Activate(WindowId window) {
  Record("activate", window);
  const Window* found = Find(window);
  if (found == nullptr || found->Refuses) return;
  Front = window;
  MoveToTop(window);
}

void FakeDesktop::Post(WindowId window, std::string_view message, std::int64_t wParam,
                       std::int64_t lParam) {
  Log.Add({"post",
           {{"title", Title(window)},
            {"message", std::string(message)},
            {"wParam", wParam},
            {"lParam", lParam}}});
}

void FakeDesktop::Remove(WindowId window) {
  std::erase_if(Stack, [window](const Window& w) { return w.Id == window; });
  if (Front == window) Front = Stack.empty() ? 0 : Stack.front().Id;
}

void FakeDesktop::Close(WindowId window) {
  Post(window, "WM_CLOSE", 0, 0);
  Remove(window);
}

void FakeDesktop::Quit(WindowId window) {
  Post(window, "WM_QUIT", 0, 0);
  Remove(window);
}

void FakeDesktop::PostCommand(WindowId window, std::int64_t wParam, std::int64_t lParam) {
  Post(window, "WM_COMMAND", wParam, lParam);
}

bool FakeLauncher::Open(std::string_view path, std::string_view folder) {
  Log.Add({"launch", {{"path", std::string(path)}, {"folder", std::string(folder)}}});
  return true;
}

void FakeSystemControl::SetScreenSaverActive(bool active) {
  SaverActive = active;
  Log.Add({"screensaver", {{"active", active}}});
}

void FakeSystemControl::ShowTaskbar(bool show) { Log.Add({"taskbar", {{"shown", show}}}); }

bool FakeSystemControl::Shutdown(ShutdownKind kind, bool force) {
  const bool reboot = kind == ShutdownKind::Reboot;
  const std::int64_t flags = (reboot ? 2 : 1) + (force ? 4 : 0);
  Log.Add({"shutdown",
           {{"flags", flags},
            {"kind", std::string(reboot ? "reboot" : "poweroff")},
            {"force", force}}});
  return true;
}

}  // namespace quillon::platform

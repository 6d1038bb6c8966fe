#include "core/actions/SendKey.h"

#include <array>

#include "core/actions/KeyNames.h"
#include "core/actions/KeyboardLayout.h"
#include "core/common/WaitPumping.h"

namespace quillon {

namespace {

constexpr std::uint8_t ShiftKey = 16;
constexpr std::uint8_t ControlKey = 17;
constexpr std::uint8_t AltKey = 18;
constexpr std::uint8_t NumLockKey = 144;

// The Shift group of each character that needs Shift on a US keyboard.
struct ShiftedCharacter {
  char Character;
  std::string_view Group;
};
constexpr ShiftedCharacter ShiftedCharacters[] = {
    {'"', "!{'}"}, {'#', "!{3}"},  {'$', "!{4}"}, {'%', "!{5}"}, {'(', "!{9}"}, {')', "!{0}"},
    {'*', "!{8}"}, {'+', "!{=}"},  {'@', "!{2}"}, {'<', "!{,}"}, {'>', "!{.}"}, {'?', "!{/}"},
    {'_', "!{-}"}, {'|', "!{\\}"}, {'~', "!{`}"}, {':', "!{;}"},
};

bool IsOwnTitle(std::string_view lowerTitle) {
  return lowerTitle.starts_with(TSendKey::OwnTitlePrefix);
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// The bytes of the UTF-8 character that begins with `lead`.
std::size_t CharacterLength(char lead) {
  const auto c = static_cast<unsigned char>(lead);
  if (c >= 0xF0) return 4;
  if (c >= 0xE0) return 3;
  if (c >= 0xC0) return 2;
  return 1;
}

// A modifier of the language: its key, the scan code its press carries and the mark it
// leaves on the group stack. The press codes are those the key strings were first sent with:
// Shift by its scan code, Control and Alt by their (empty) character codes.
struct Modifier {
  char Mark;
  std::uint8_t VirtualKey;
  KeyMapping PressMapping;
};
constexpr Modifier Shift{'s', ShiftKey, KeyMapping::ScanCode};
constexpr Modifier Control{'c', ControlKey, KeyMapping::CharacterCode};
constexpr Modifier Alt{'a', AltKey, KeyMapping::CharacterCode};

}  // namespace

std::string ExpandShiftedCharacters(std::string_view keys) {
  std::string expanded;
  for (const char c : keys) {
    const ShiftedCharacter* found = nullptr;
    for (const ShiftedCharacter& shifted : ShiftedCharacters) {
      if (shifted.Character == c) found = &shifted;
    }
    if (found != nullptr) {
      expanded += found->Group;
    } else {
      expanded += c;
    }
  }
  return expanded;
}

TSendKey::TSendKey(platform::Keyboard& keyboard, platform::Desktop& desktop,
                   platform::EventLoop& loop, const platform::Clock& clock)
    : Keyboard(keyboard), Desktop(desktop), Loop(loop), Clock(clock) {}

void TSendKey::execute() {
  if (TitleText.empty() || !FindAndActivate(TitleText)) return;
  const std::string keys = ExpandShiftedCharacters(Keys);
  if (Targets.empty()) {
    SendKeys(keys);
    return;
  }
  // A copy: a command run while this one waits may search again.
  const std::vector<platform::WindowId> targets = Targets;
  for (const platform::WindowId window : targets) {
    Desktop.Activate(window);
    Desktop.BringToTop(window);
    SendKeys(keys);
  }
}

bool TSendKey::FindAndActivate(std::string_view title) {
  Targets.clear();
  const auto toFront = [this](platform::WindowId window) {
    Desktop.Activate(window);
    Desktop.BringToTop(window);
  };
  if (const platform::WindowId exact = Desktop.FindByTitle(title); exact != 0) {
    if (Desktop.IsMinimized(exact)) Desktop.Restore(exact);
    toFront(exact);
    return true;
  }

  const std::string lowerTitle = LowerCase1251(title);
  const std::vector<platform::WindowId> windows = Desktop.TopLevelWindows();
  if (windows.empty()) return false;
  const std::string first = LowerCase1251(Desktop.Title(windows.front()));
  if (!IsOwnTitle(first) && Contains(first, lowerTitle)) {
    toFront(windows.front());
    return true;
  }
  for (std::size_t step = 1; step <= MaxWalk; ++step) {
    if (step >= windows.size()) return false;
    const platform::WindowId window = windows[step];
    const std::string text = LowerCase1251(Desktop.Title(window));
    if (text == lowerTitle) {
      toFront(window);
      return true;
    }
    if (IsOwnTitle(text) || !Contains(text, lowerTitle)) continue;
    toFront(window);
    BuildTargetWindowList(lowerTitle);
    return true;
  }
  // A desktop of more windows than a search visits: the send goes to the window in front.
  return true;
}

void TSendKey::BuildTargetWindowList(std::string_view lowerTitle) {
  Targets.clear();
  const std::vector<platform::WindowId> windows = Desktop.TopLevelWindows();
  for (std::size_t step = 0; step < windows.size() && step < MaxWalk && Targets.size() < MaxTargets;
       ++step) {
    const std::string text = LowerCase1251(Desktop.Title(windows[step]));
    const bool partial = !IsOwnTitle(text) && Contains(text, lowerTitle);
    // Past the first window, a window of exactly that title counts even if it is the program's.
    if (partial || (step > 0 && text == lowerTitle)) Targets.push_back(windows[step]);
  }
}

void TSendKey::Tap(std::uint8_t virtualKey, std::uint16_t scanCode) {
  Keyboard.KeyEvent(virtualKey, scanCode, false);
  Keyboard.KeyEvent(virtualKey, scanCode, true);
}

void TSendKey::ToggleNumLock() { Tap(NumLockKey, MapVirtualKey(NumLockKey, KeyMapping::ScanCode)); }

void TSendKey::SendSpecialKey(std::string_view name) {
  const auto row = FindSpecialKey(name);
  if (!row) return;
  const bool wantNumLock = *row >= FirstNumPadRow && *row <= LastNumPadRow;
  const bool toggle = Keyboard.NumLockOn() != wantNumLock;
  if (toggle) ToggleNumLock();
  const std::uint8_t key = SpecialKeyNames[*row - 1].VirtualKey;
  Tap(key, MapVirtualKey(key, KeyMapping::CharacterCode));
  if (toggle) ToggleNumLock();
}

void TSendKey::SendKeys(std::string_view keys) {
  // The ModifierGroupStack: slot 0 stays unused, the counter is raised before a push. A
  // modifier whose group finds the stack full stays down until the end of the string.
  std::array<char, 256> groupStack{};
  std::size_t groupCount = 0;
  bool shiftDown = false;
  bool controlDown = false;
  bool altDown = false;
  const auto flagOf = [&](char mark) -> bool& {
    return mark == Shift.Mark ? shiftDown : mark == Control.Mark ? controlDown : altDown;
  };
  const auto release = [&](const Modifier& modifier) {
    Keyboard.KeyEvent(modifier.VirtualKey, 0, true);
    flagOf(modifier.Mark) = false;
  };
  const auto modifierOf = [](char c) -> const Modifier& {
    return c == '!' || c == Shift.Mark ? Shift : c == '^' || c == Control.Mark ? Control : Alt;
  };

  std::size_t at = 0;
  while (at < keys.size()) {
    const char c = keys[at];
    if (c == '!' || c == '^' || c == '&') {
      const Modifier& modifier = modifierOf(c);
      Keyboard.KeyEvent(modifier.VirtualKey,
                        MapVirtualKey(modifier.VirtualKey, modifier.PressMapping), false);
      flagOf(modifier.Mark) = true;
      if (at + 1 < keys.size() && keys[at + 1] == '{') {
        if (groupCount + 1 < groupStack.size()) groupStack[++groupCount] = modifier.Mark;
        at += 2;
      } else {
        release(modifier);
        ++at;
      }
    } else if (c == '}') {
      if (groupCount > 0) release(modifierOf(groupStack[groupCount--]));
      ++at;
    } else if (c == '[') {
      const std::size_t close = keys.find(']', at + 1);
      const std::size_t end = close == std::string_view::npos ? keys.size() : close;
      SendSpecialKey(keys.substr(at + 1, end - at - 1));
      at = end + 1;
    } else if (c == '{') {
      ++at;
    } else {
      const std::uint8_t key = VirtualKeyOfChar(c);
      if (key != 0) Tap(key, MapVirtualKey(key, KeyMapping::ScanCode));
      at += CharacterLength(c);
    }
    WaitPumping(Loop, Clock, Delay > 0 ? static_cast<std::uint32_t>(Delay) : 0);
  }
  if (shiftDown) release(Shift);
  if (altDown) release(Alt);
  if (controlDown) release(Control);
}

}  // namespace quillon

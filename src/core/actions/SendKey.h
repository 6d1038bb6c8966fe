#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/EventLoop.h"
#include "platform/Keyboard.h"

namespace quillon {

// The key sender: types a key string into the window its title names.
//
// The key-string language:
//  - a plain character types its key of the US layout, unshifted ("A" types "a"); a character
//    that needs Shift there (" # $ % ( ) * + @ < > ? _ | ~ :) is sent as a Shift group around
//    its unshifted key;
//  - "!", "^" and "&" press Shift, Control and Alt. Followed by "{", the modifier stays down
//    until the matching "}" (groups nest: "^{!{s}}" is Control+Shift+S); otherwise it is only
//    tapped ("!a" taps Shift, then types "a"). A "}" without an open group does nothing, a "{"
//    after no modifier is ignored;
//  - "[name]" sends a key of SpecialKeyNames. The name runs to the next "]", or to the end of
//    the string when none follows: "[", "[]" and an unknown name send nothing, and the string
//    goes on after the name;
//  - modifiers still down at the end are released, Shift, Alt, Control in that order.
// After every token the sender waits `Delay` milliseconds with the event loop running.
class TSendKey {
 public:
  // Windows whose title begins with this (in any letter case) are the program's own: a search
  // by part of a title never types into them.
  static constexpr std::string_view OwnTitlePrefix = "quillon";
  static constexpr std::size_t MaxTargets = 100;
  static constexpr std::size_t MaxWalk = 1000;  // windows a search visits at most

  TSendKey(platform::Keyboard& keyboard, platform::Desktop& desktop, platform::EventLoop& loop,
           const platform::Clock& clock);

  std::string Keys;
  std::string TitleText;  // the title, or part of the title, of the target window
  std::int32_t Delay = 0;

  // Finds and activates the target window, then types Keys: into each window of the
  // TargetWindowList in turn when the title matched only part of several titles, else into
  // the window in front. An empty TitleText, or no window found, sends nothing.
  void execute();

  // Activates the window whose title is `title` exactly, or failing that, the first (topmost)
  // window other than the program's own whose title equals it in another letter case or
  // contains it. A match by part of a title that is not the topmost window fills the
  // TargetWindowList with every such window.
  bool FindAndActivate(std::string_view title);

  // The windows a search by part of a title found, at most MaxTargets.
  const std::vector<platform::WindowId>& TargetWindowList() const { return Targets; }

 private:
  void BuildTargetWindowList(std::string_view lowerTitle);
  void SendKeys(std::string_view keys);
  void SendSpecialKey(std::string_view name);
  void ToggleNumLock();
  void Tap(std::uint8_t virtualKey, std::uint16_t scanCode);

  platform::Keyboard& Keyboard;
  platform::Desktop& Desktop;
  platform::EventLoop& Loop;
  const platform::Clock& Clock;
  std::vector<platform::WindowId> Targets;
};

// The key string with each character that needs Shift on a US keyboard replaced by a Shift
// group around its unshifted key ("_" becomes "!{-}"). "!", "^" and "&" stay: they are
// modifiers.
std::string ExpandShiftedCharacters(std::string_view keys);

}  // namespace quillon

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Mouse.h"
#include "platform/SystemControl.h"

namespace quillon {

enum class PointerDirection : std::uint8_t { Left, Right, Up, Down };

// The mouse commands: clicks, single steps and continuous motion. Continuous motion runs on
// TimerMouse, which moves the pointer a few pixels in the direction MotionCommand names on each
// tick; any click or step stops it.
class MouseActions {
 public:
  static constexpr std::int32_t StepPixels = 10;
  static constexpr std::int32_t MotionPixels = 5;

  MouseActions(platform::Mouse& mouse, const platform::SystemControl& system,
               platform::EventLoop& loop, const platform::Clock& clock);

  // A left or right click: button down, a short wait, button up.
  void Click(platform::MouseButton button);

  // Moves the pointer StepPixels in `direction` when it stays on the screen.
  void Step(PointerDirection direction);

  // Starts the motion that `motionCommand` ("MouseLeftMotion", "MouseRightMotion",
  // "MouseUpMotion" or "MouseDownMotion") names, or stops a running one. A different motion
  // command while one runs stops it too, so changing direction takes two presses.
  void ToggleMotion(std::string_view motionCommand);

  // One tick of continuous motion: MotionPixels in the direction `motionCommand` names, when
  // the pointer stays on the screen.
  void MoveMouse(std::string_view motionCommand);

  // The motion timer's interval (the "MouseStep" setting, clamped to its range).
  void SetMouseStep(std::int32_t milliseconds);

  bool MotionRunning() const { return TimerMouse->Enabled(); }

  std::string MotionCommand;

 private:
  void Move(PointerDirection direction, std::int32_t pixels);

  platform::Mouse& Mouse;
  const platform::SystemControl& System;
  platform::EventLoop& Loop;
  const platform::Clock& Clock;
  std::unique_ptr<platform::Timer> TimerMouse;
};

}  // namespace quillon

#include "core/actions/MouseActions.h"

#include <optional>

#include "core/common/WaitPumping.h"
#include "core/shell/Settings.h"

namespace quillon {

namespace {

constexpr std::uint32_t CommandWaitMs = 10;

std::optional<PointerDirection> MotionDirection(std::string_view motionCommand) {
  if (motionCommand == "MouseLeftMotion") return PointerDirection::Left;
  if (motionCommand == "MouseRightMotion") return PointerDirection::Right;
  if (motionCommand == "MouseUpMotion") return PointerDirection::Up;
  if (motionCommand == "MouseDownMotion") return PointerDirection::Down;
  return std::nullopt;
}

}  // namespace

MouseActions::MouseActions(platform::Mouse& mouse, const platform::SystemControl& system,
                           platform::EventLoop& loop, const platform::Clock& clock)
    : Mouse(mouse),
      System(system),
      Loop(loop),
      Clock(clock),
      TimerMouse(loop.CreateTimer([this] { MoveMouse(MotionCommand); })) {
  SetMouseStep(settings::MouseStep.Default);
}

void MouseActions::SetMouseStep(std::int32_t milliseconds) {
  TimerMouse->SetInterval(static_cast<std::uint32_t>(Clamp(settings::MouseStep, milliseconds)));
}

void MouseActions::Click(platform::MouseButton button) {
  TimerMouse->Disable();
  Mouse.Button(button, true);
  WaitPumping(Loop, Clock, CommandWaitMs);
  Mouse.Button(button, false);
}

void MouseActions::Step(PointerDirection direction) {
  TimerMouse->Disable();
  Move(direction, StepPixels);
  WaitPumping(Loop, Clock, CommandWaitMs);
}

void MouseActions::ToggleMotion(std::string_view motionCommand) {
  MotionCommand = motionCommand;
  if (TimerMouse->Enabled()) {
    TimerMouse->Disable();
  } else {
    TimerMouse->Enable();
  }
  WaitPumping(Loop, Clock, CommandWaitMs);
}

void MouseActions::MoveMouse(std::string_view motionCommand) {
  if (const auto direction = MotionDirection(motionCommand)) Move(*direction, MotionPixels);
}

void MouseActions::Move(PointerDirection direction, std::int32_t pixels) {
  platform::Point at = Mouse.Position();
  const platform::ScreenSize screen = System.Screen();
  switch (direction) {
    case PointerDirection::Left:
      if (at.X < pixels) return;
      at.X -= pixels;
      break;
    case PointerDirection::Right:
      if (at.X > screen.Width - pixels) return;
      at.X += pixels;
      break;
    case PointerDirection::Up:
      if (at.Y < pixels) return;
      at.Y -= pixels;
      break;
    case PointerDirection::Down:
      if (at.Y > screen.Height - pixels) return;
      at.Y += pixels;
      break;
  }
  Mouse.MoveTo(at);
}

}  // namespace quillon

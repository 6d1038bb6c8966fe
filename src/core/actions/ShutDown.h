#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/common/Language.h"
#include "core/shell/HintDisplay.h"
#include "platform/EventLoop.h"
#include "platform/SystemControl.h"

namespace quillon {

// The exit flags of a shut-down request, as the Windows program passes them.
inline constexpr std::uint32_t ExitShutdown = 1;
inline constexpr std::uint32_t ExitReboot = 2;
inline constexpr std::uint32_t ExitForce = 4;

// Restarts the machine (ExitReboot) or powers it off (ExitShutdown), without waiting for
// programs that hold it up when ExitForce is given. False when the system refused.
bool ShutdownWindows(platform::SystemControl& system, std::uint32_t flags);

enum class ShutDownRequest : std::int32_t { Reboot = 1, TurnOff = 2 };

// The texts of the countdown window at one second.
struct CountdownTexts {
  std::string Caption;
  std::string Label;  // "Reboot after: 7 sec."
  std::string Button;
  bool operator==(const CountdownTexts&) const = default;
};

CountdownTexts CountdownTextsFor(ShutDownRequest action, std::int32_t secondsLeft,
                                 LanguageFlag language);

// The countdown window, shown above all other windows without taking the focus.
class ShutDownView {
 public:
  virtual ~ShutDownView() = default;
  // Shows the window on top of all others; called again each second to keep it there.
  virtual void ShowCountdown() = 0;
  virtual void ShowCountdownTexts(const CountdownTexts& texts) = 0;
  virtual void CloseCountdown() = 0;
  // The countdown ran out and the machine was asked to stop: close the configuration window,
  // which ends the program.
  virtual void EndProgram() = 0;
};

// "Reboot Computer" and "Turn Off Computer": a ten-second countdown in a window of its own,
// after which the machine restarts or powers off. The same commands, or the window's Cancel
// button, cancel a running countdown.
class ShutDownCountdownModel {
 public:
  static constexpr std::int32_t CountdownSeconds = 10;

  enum class ExpiredState : std::uint8_t { Running = 0, Expired = 1, Cancelled = 2 };

  ShutDownCountdownModel(platform::SystemControl& system, platform::EventLoop& loop,
                         ShutDownView& view, HintDisplay& currentFunction,
                         const LanguageFlag& language);

  // A reboot or turn-off command: opens the countdown, or closes it when it is showing.
  void ShutDownCommand(ShutDownRequest action);

  // The window's Cancel button, or the window closed otherwise.
  void Cancel();

  bool Showing() const { return Shown; }

  ShutDownRequest ShutDownAction = ShutDownRequest::Reboot;
  std::int32_t ShutDownCountdown = 0;
  ExpiredState Expired = ExpiredState::Running;

 private:
  void Show();
  void Tick();

  platform::SystemControl& System;
  ShutDownView& View;
  HintDisplay& CurrentFunction;
  const LanguageFlag& Language;
  std::unique_ptr<platform::Timer> Timer1;  // the countdown, each second
  bool Shown = false;
};

}  // namespace quillon

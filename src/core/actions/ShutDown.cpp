#include "core/actions/ShutDown.h"

#include "core/actions/ShutDownTexts.h"

namespace quillon {

namespace {

constexpr std::uint32_t TickMs = 1000;

}  // namespace

bool ShutdownWindows(platform::SystemControl& system, std::uint32_t flags) {
  const auto kind =
      (flags & ExitReboot) != 0 ? platform::ShutdownKind::Reboot : platform::ShutdownKind::PowerOff;
  return system.Shutdown(kind, (flags & ExitForce) != 0);
}

CountdownTexts CountdownTextsFor(ShutDownRequest action, std::int32_t secondsLeft,
                                 LanguageFlag language) {
  const bool reboot = action == ShutDownRequest::Reboot;
  return {
      std::string(
          Text(reboot ? ShutDownText::RebootCaption : ShutDownText::TurnOffCaption, language)),
      std::string(Text(reboot ? ShutDownText::RebootLabel : ShutDownText::TurnOffLabel, language)) +
          std::to_string(secondsLeft) + std::string(Text(ShutDownText::Seconds, language)),
      std::string(Text(ShutDownText::Cancel, language)),
  };
}

ShutDownCountdownModel::ShutDownCountdownModel(platform::SystemControl& system,
                                               platform::EventLoop& loop, ShutDownView& view,
                                               HintDisplay& currentFunction,
                                               const LanguageFlag& language)
    : System(system),
      View(view),
      CurrentFunction(currentFunction),
      Language(language),
      Timer1(loop.CreateTimer([this] { Tick(); })) {
  Timer1->SetInterval(TickMs);
}

void ShutDownCountdownModel::ShutDownCommand(ShutDownRequest action) {
  ShutDownAction = action;
  ShutDownCountdown = CountdownSeconds;
  if (Shown) {
    Cancel();
  } else {
    Show();
  }
}

void ShutDownCountdownModel::Show() {
  Shown = true;
  View.ShowCountdown();
  Expired = ExpiredState::Running;
  View.ShowCountdownTexts(CountdownTextsFor(ShutDownAction, ShutDownCountdown, Language));
  Timer1->Enable();
}

void ShutDownCountdownModel::Cancel() {
  if (!Shown) return;
  Timer1->Disable();
  Expired = ExpiredState::Cancelled;
  Shown = false;
  View.CloseCountdown();
}

void ShutDownCountdownModel::Tick() {
  View.ShowCountdown();
  --ShutDownCountdown;
  View.ShowCountdownTexts(CountdownTextsFor(ShutDownAction, ShutDownCountdown, Language));
  if (ShutDownCountdown >= 1) return;
  Expired = ExpiredState::Expired;
  Timer1->Disable();
  CurrentFunction.CloseHint();
  ShutdownWindows(
      System, ShutDownAction == ShutDownRequest::Reboot ? ExitReboot : ExitShutdown | ExitForce);
  // The window goes with the program.
  Shown = false;
  View.EndProgram();
}

}  // namespace quillon

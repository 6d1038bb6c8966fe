#include "core/shell/MainWindowActivation.h"

namespace quillon {

void ApplyOptions(RunningSystem& system) {
  system.Mouse.SetMouseStep(system.Settings.MouseStep);
  const auto hintTime = static_cast<std::uint32_t>(system.Settings.ShowHintTime) * 1000;
  system.Display.SetHintInterval(hintTime);
  system.Dispatcher.SetHintInterval(hintTime);
  system.Dispatch.ShowUnknownButton = system.Settings.ShowUnknownButton;
  system.Receive = ToReceiveSettings(system.Settings);
  system.Pipeline.ApplySignalLength();
}

bool ActivateMainWindow(RunningSystem& system) {
  if (system.Display.JustClosed) {
    system.Display.JustClosed = false;
    return false;
  }
  system.Settings = ReadOptions(system.Registry);
  ApplyOptions(system);
  system.Pipeline.ReceiveEnabled = true;
  return true;
}

}  // namespace quillon

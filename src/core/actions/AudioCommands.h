#pragma once

#include <string>

namespace quillon {

// Carries out an audio command: the parameter of an "<AudioCommand>[...]" node,
// "device/destination/line/action" (the device may itself hold "/": the last three split it),
// with the action "Volume+", "Volume-", "BalanceRight", "BalanceLeft" or "Mute". The audio
// model implements it.
class AudioCommands {
 public:
  virtual ~AudioCommands() = default;
  virtual void ExecuteAudioCommand(const std::string& parameter) = 0;
};

}  // namespace quillon

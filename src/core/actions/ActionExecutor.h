#pragma once

#include "core/actions/AudioCommands.h"
#include "core/actions/MouseActions.h"
#include "core/actions/SendKey.h"
#include "core/actions/ShutDown.h"
#include "core/actions/WindowActions.h"
#include "core/common/CommandRecord.h"
#include "core/common/Language.h"
#include "core/config/KeyDispatch.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/EventLoop.h"
#include "platform/Keyboard.h"
#include "platform/Launcher.h"
#include "platform/Mouse.h"
#include "platform/SystemControl.h"

namespace quillon {

// What commands act on: the desktop's backends and the main thread's loop and clock.
struct ActionPlatform {
  platform::Keyboard& Keyboard;
  platform::Mouse& Mouse;
  platform::Desktop& Desktop;
  platform::Launcher& Launcher;
  platform::SystemControl& System;
  platform::EventLoop& Loop;
  const platform::Clock& Clock;
};

// Carries out the command a key found (or the editor's double click runs): built-in commands,
// send keys, window messages and audio commands, each with the pauses that let the target
// programs keep up. Every pause runs the event loop.
class ActionExecutor : public CommandExecutor {
 public:
  ActionExecutor(const ActionPlatform& platform, ShutDownView& shutDownView,
                 HintDisplay& currentFunction, AudioCommands& audio, const LanguageFlag& language);

  void ExecuteCommand(const CommandRecord& record) override;

  TSendKey SendKey;
  MouseActions Mouse;
  WindowActions Windows;
  ShutDownCountdownModel ShutDown;

 private:
  void RunBuiltInCommand(const CommandRecord& record);
  void Wait(std::uint32_t milliseconds);

  platform::SystemControl& System;
  platform::EventLoop& Loop;
  const platform::Clock& Clock;
  AudioCommands& Audio;
};

}  // namespace quillon

#include "core/actions/ActionExecutor.h"

#include "core/common/WaitPumping.h"

namespace quillon {

namespace {

constexpr std::uint32_t ShortWaitMs = 10;
constexpr std::int32_t SendKeyDelayMs = 5;

}  // namespace

ActionExecutor::ActionExecutor(const ActionPlatform& platform, ShutDownView& shutDownView,
                               HintDisplay& currentFunction, AudioCommands& audio,
                               const LanguageFlag& language)
    : SendKey(platform.Keyboard, platform.Desktop, platform.Loop, platform.Clock),
      Mouse(platform.Mouse, platform.System, platform.Loop, platform.Clock),
      Windows(platform.Desktop, platform.Launcher, platform.Loop, platform.Clock),
      ShutDown(platform.System, platform.Loop, shutDownView, currentFunction, language),
      System(platform.System),
      Loop(platform.Loop),
      Clock(platform.Clock),
      Audio(audio) {}

void ActionExecutor::Wait(std::uint32_t milliseconds) { WaitPumping(Loop, Clock, milliseconds); }

void ActionExecutor::ExecuteCommand(const CommandRecord& given) {
  // A copy: the waits run the loop, which may change what `given` refers to.
  const CommandRecord record = given;
  switch (record.Kind) {
    case CommandKind::GroupKey:
      SendKey.TitleText = record.WindowName;
      Wait(ShortWaitMs);
      break;
    case CommandKind::Command:
      RunBuiltInCommand(record);
      break;
    case CommandKind::SendKeys:
      SendKey.TitleText = record.WindowName;
      SendKey.Keys = record.Parameter;
      SendKey.Delay = SendKeyDelayMs;
      SendKey.execute();
      break;
    case CommandKind::WindowMessage:
      Windows.SendWindowMessage(record.WindowName, record.Parameter);
      break;
    case CommandKind::AudioCommand:
      Audio.ExecuteAudioCommand(record.Parameter);
      break;
    case CommandKind::None:
      Wait(ShortWaitMs);
      break;
  }
}

// The names are tested in this order, each for exact equality; "none", "Close Group" and any
// other text do nothing.
void ActionExecutor::RunBuiltInCommand(const CommandRecord& record) {
  const std::string& name = record.Parameter;
  if (name == "MouseLeftClick") {
    Mouse.Click(platform::MouseButton::Left);
  } else if (name == "MouseRightClick") {
    Mouse.Click(platform::MouseButton::Right);
  } else if (name == "Reboot Computer") {
    ShutDown.ShutDownCommand(ShutDownRequest::Reboot);
  } else if (name == "Turn Off Computer") {
    ShutDown.ShutDownCommand(ShutDownRequest::TurnOff);
  } else if (name == "Run/Close Application") {
    Windows.RunOrCloseApplication(record.WindowName, record.ApplicationPath);
  } else if (name == "On/Off  Screen Saver") {
    System.SetScreenSaverActive(!System.ScreenSaverActive());
  } else if (name == "MouseLeftMotion" || name == "MouseRightMotion" || name == "MouseUpMotion" ||
             name == "MouseDownMotion") {
    Mouse.ToggleMotion(name);
  } else if (name == "MouseLeft") {
    Mouse.Step(PointerDirection::Left);
  } else if (name == "MouseRight") {
    Mouse.Step(PointerDirection::Right);
  } else if (name == "MouseUp") {
    Mouse.Step(PointerDirection::Up);
  } else if (name == "MouseDown") {
    Mouse.Step(PointerDirection::Down);
  }
}

}  // namespace quillon

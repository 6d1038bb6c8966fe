#include "quillon-tool/Execution.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <variant>
#include <vector>

#include "core/actions/AudioModel.h"
#include "core/config/NodeText.h"
#include "platform/fake/FakeDesktopSystem.h"
#include "platform/linux/AlsaMixer.h"
#include "platform/linux/LinuxLauncher.h"
#include "platform/linux/RegFileRegistry.h"
#include "platform/linux/X11Backends.h"
#include "quillon-tool/Json.h"

namespace quillon::tool {

namespace {

void RecordJson(Json& json, const CommandRecord& record) {
  json.BeginObject().Key("Kind").Number(static_cast<std::int64_t>(record.Kind));
  json.Key("WindowName").String(record.WindowName);
  json.Key("ApplicationPath").String(record.ApplicationPath);
  json.Key("Parameter").String(record.Parameter).EndObject();
}

// The window names a configuration names: its root's and its group keys'.
std::vector<std::string> NamedWindows(const ConfigTree& tree) {
  std::vector<std::string> names;
  const auto add = [&names](const std::string& name) {
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
      names.push_back(name);
    }
  };
  if (!tree.Empty()) add(SplitBracketFields(tree.Text(0), BracketMode::Fields)[0]);
  for (std::int32_t i = 1; i < tree.Count(); ++i) {
    CommandRecord record;
    ParseNodeText(tree.Text(i), record);
    if (record.Kind == CommandKind::GroupKey) add(record.WindowName);
  }
  return names;
}

// What a dry run does beyond the desktop: the countdown window and audio commands, recorded
// among the desktop's effects. Effects: "countdown" caption, label; "countdown-closed";
// "exit" (the program ends after a shut-down request: no press follows); "audio" command.
struct DryRunServices : ShutDownView, AudioCommands {
  explicit DryRunServices(platform::EffectLog& log) : Log(log) {}
  // Kept on top each second: the texts that follow are the effect to show.
  void ShowCountdown() override {}
  void ShowCountdownTexts(const CountdownTexts& texts) override {
    Log.Add({"countdown", {{"caption", texts.Caption}, {"label", texts.Label}}});
  }
  void CloseCountdown() override { Log.Add({"countdown-closed", {}}); }
  void EndProgram() override {
    Log.Add({"exit", {}});
    Ended = true;
  }
  void ExecuteAudioCommand(const std::string& parameter) override {
    Log.Add({"audio", {{"command", parameter}}});
  }
  platform::EffectLog& Log;
  bool Ended = false;
};

// The shut-down countdown on the terminal, for real runs: its texts each second.
struct ConsoleCountdown : ShutDownView {
  void ShowCountdown() override {}
  void ShowCountdownTexts(const CountdownTexts& texts) override {
    std::cout << "  " << texts.Caption << ": " << texts.Label << "\n" << std::flush;
  }
  void CloseCountdown() override { std::cout << "  countdown cancelled\n"; }
  void EndProgram() override { Ended = true; }
  bool Ended = false;
};

void PrintEffect(const platform::Effect& effect, bool json) {
  if (!json) {
    std::cout << "  " << effect.Text() << "\n";
    return;
  }
  Json out;
  out.BeginObject().Key("effect").String(effect.Name);
  for (const platform::EffectField& field : effect.Fields) {
    out.Key(field.Name);
    if (const auto* number = std::get_if<std::int64_t>(&field.Value)) {
      out.Number(*number);
    } else if (const auto* flag = std::get_if<bool>(&field.Value)) {
      out.Bool(*flag);
    } else {
      out.String(std::get<std::string>(field.Value));
    }
  }
  std::cout << out.EndObject().Text() << "\n";
}

class RealExecution final : public Execution {
 public:
  RealExecution(platform::X11Backends desktop, const std::filesystem::path& settingsFile,
                platform::EventLoop& loop, const platform::Clock& clock, Outcome& outcome,
                LanguageFlag language)
      : Desktop(std::move(desktop)),
        Registry(settingsFile),
        Mixer(loop),
        Audio(Mixer, Registry),
        Actions({*Desktop.TheKeyboard, *Desktop.TheMouse, *Desktop.TheDesktop, Launcher,
                 *Desktop.TheSystem, loop, clock},
                Countdown, outcome, Audio, language),
        Loop(loop),
        Clock(clock) {}

  CommandExecutor& Executor() override { return Actions; }
  platform::SystemControl& System() override { return *Desktop.TheSystem; }
  bool Ended() const override { return Countdown.Ended; }
  void PrintNewEffects(bool) override {}
  void FinishCountdown() override {
    while (Actions.ShutDown.Showing() && !Countdown.Ended) {
      Loop.RunUntil(Clock.TickCount() + 100);
    }
  }

 private:
  platform::X11Backends Desktop;
  platform::LinuxLauncher Launcher;
  platform::RegFileRegistry Registry;
  platform::AlsaMixer Mixer;
  AudioModel Audio;
  ConsoleCountdown Countdown;
  ActionExecutor Actions;
  platform::EventLoop& Loop;
  const platform::Clock& Clock;
};

class DryRunExecution final : public Execution {
 public:
  DryRunExecution(platform::EventLoop& loop, const platform::Clock& clock, const ConfigTree& tree,
                  Outcome& outcome, LanguageFlag language)
      : Services(Desktop.Log),
        Actions({Desktop.Keyboard, Desktop.Mouse, Desktop.Desktop, Desktop.Launcher, Desktop.System,
                 loop, clock},
                Services, outcome, Services, language) {
    Desktop.Desktop.AddWindow(std::string(OwnWindowTitle));
    for (const std::string& name : NamedWindows(tree)) Desktop.Desktop.AddWindow(name);
    const platform::ScreenSize screen = Desktop.System.Screen();
    Desktop.Mouse.Place({screen.Width / 2, screen.Height / 2});
    Printed = Desktop.Log.Size();
  }

  CommandExecutor& Executor() override { return Actions; }
  platform::SystemControl& System() override { return Desktop.System; }
  bool Ended() const override { return Services.Ended; }
  void PrintNewEffects(bool json) override {
    for (; Printed < Desktop.Log.Size(); ++Printed) {
      PrintEffect(Desktop.Log.Effects()[Printed], json);
    }
  }
  void FinishCountdown() override {}

 private:
  platform::FakeDesktopSystem Desktop;
  DryRunServices Services;
  ActionExecutor Actions;
  std::size_t Printed = 0;
};

}  // namespace

void PrintDispatch(std::size_t press, const std::optional<Received>& received,
                   const CommandDispatcher& dispatcher, const Outcome& outcome, bool json) {
  const KeyMatch& match = dispatcher.LastMatch;
  if (json) {
    Json out;
    out.BeginObject().Key("press").Number(static_cast<std::int64_t>(press));
    if (received) {
      out.Key("code").String(received->Code).Key("repeat").Bool(received->Repeat);
    }
    out.Key("key");
    if (match.Found) {
      out.Number(match.KeyNumber);
    } else {
      out.Null();
    }
    out.Key("hint").String(outcome.Hint).Key("record");
    if (outcome.Record) {
      RecordJson(out, *outcome.Record);
    } else {
      out.Null();
    }
    out.Key("GroupDepth").Number(dispatcher.GroupDepth).EndObject();
    std::cout << out.Text() << "\n" << std::flush;
    return;
  }
  std::string hint = outcome.Hint;
  for (char& c : hint) {
    if (c == '\r') c = '|';
  }
  std::cout << "press " << press;
  if (received) {
    std::cout << " (code \"" << received->Code << "\"" << (received->Repeat ? ", repeat" : "")
              << ")";
  }
  std::cout << ": ";
  if (match.Found) {
    std::cout << "key " << match.KeyNumber;
  } else {
    std::cout << "no key";
  }
  if (outcome.Record) {
    std::cout << " -> kind " << static_cast<int>(outcome.Record->Kind) << " \""
              << outcome.Record->Parameter << "\" for [" << outcome.Record->WindowName << "]["
              << outcome.Record->ApplicationPath << "]";
  }
  std::cout << ", hint \"" << hint << "\", groups open " << dispatcher.GroupDepth << "\n"
            << std::flush;
}

Result<std::unique_ptr<Execution>> Execution::Real(platform::EventLoop& loop,
                                                   const platform::Clock& clock, Outcome& outcome,
                                                   LanguageFlag language) {
  auto x11 = platform::OpenX11Backends(nullptr);
  if (!x11) return Error{x11.ErrorMessage()};
  auto settingsFile =
      platform::RegistryFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  if (!settingsFile) return Error{settingsFile.ErrorMessage()};
  return std::unique_ptr<Execution>(std::make_unique<RealExecution>(
      std::move(x11).Value(), settingsFile.Value(), loop, clock, outcome, language));
}

std::unique_ptr<Execution> Execution::DryRun(platform::EventLoop& loop,
                                             const platform::Clock& clock, const ConfigTree& tree,
                                             Outcome& outcome, LanguageFlag language) {
  return std::make_unique<DryRunExecution>(loop, clock, tree, outcome, language);
}

}  // namespace quillon::tool

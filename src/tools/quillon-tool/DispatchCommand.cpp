#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/actions/ActionExecutor.h"
#include "core/actions/AudioModel.h"
#include "core/config/ConfigFile.h"
#include "core/config/KeyDispatch.h"
#include "core/config/NodeText.h"
#include "platform/fake/FakeDesktopSystem.h"
#include "platform/fake/FakeEventLoop.h"
#include "platform/linux/AlsaMixer.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/LinuxLauncher.h"
#include "platform/linux/PollEventLoop.h"
#include "platform/linux/RegFileRegistry.h"
#include "platform/linux/X11Backends.h"
#include "quillon-tool/Commands.h"
#include "quillon-tool/Json.h"

namespace quillon::tool {

namespace {

struct DispatchOptionsGiven {
  std::string Remote;
  std::string Config;
  bool Json = false;
  bool Execute = false;
  bool DryRun = false;
  std::vector<std::string> Presses;
};

// One press: a code and a repeat verdict, as a burst would bring them.
struct Press {
  std::string Code;
  bool Repeat = false;
};

Result<Press> ParsePress(const std::string& text, const RemoteData& remote) {
  if (text == "repeat") return Press{"", true};
  if (text.starts_with("code:")) {
    const std::string code = text.substr(5);
    if (code.empty() || code.find_first_not_of("0123456789") != std::string::npos) {
      return Error{"\"" + text + "\": a code is a run of digits"};
    }
    return Press{code, false};
  }
  std::int32_t key = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), key);
  if (ec != std::errc() || end != text.data() + text.size() || key < 1 ||
      key >= std::min(remote.KeyCount, TableEntries)) {
    return Error{"\"" + text + "\" is no key number of the remote, \"code:DIGITS\" or \"repeat\""};
  }
  return Press{remote.Keys[static_cast<std::size_t>(key)].Data[0].Text(), false};
}

// Records what one press showed and ran, and hands the command on to the executor if any.
struct Outcome : HintDisplay, CommandExecutor {
  void IRShowHint(const std::string& text) override { Hint = text; }
  void CloseHint() override { Hint.clear(); }
  void ExecuteCommand(const CommandRecord& record) override {
    Record = record;
    if (Executor != nullptr) Executor->ExecuteCommand(record);
  }
  void Reset() {
    Hint.clear();
    Record.reset();
  }
  std::string Hint;
  std::optional<CommandRecord> Record;
  CommandExecutor* Executor = nullptr;
};

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

void PrintEffects(const platform::EffectLog& log, std::size_t from, bool json) {
  for (std::size_t i = from; i < log.Size(); ++i) {
    const platform::Effect& effect = log.Effects()[i];
    if (!json) {
      std::cout << "  " << effect.Text() << "\n";
      continue;
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
}

void RecordJson(Json& json, const CommandRecord& record) {
  json.BeginObject().Key("Kind").Number(static_cast<std::int64_t>(record.Kind));
  json.Key("WindowName").String(record.WindowName);
  json.Key("ApplicationPath").String(record.ApplicationPath);
  json.Key("Parameter").String(record.Parameter).EndObject();
}

void Print(std::size_t press, const CommandDispatcher& dispatcher, const Outcome& outcome,
           bool json) {
  const KeyMatch& match = dispatcher.LastMatch;
  if (json) {
    Json out;
    out.BeginObject().Key("press").Number(static_cast<std::int64_t>(press)).Key("key");
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
    std::cout << out.Text() << "\n";
    return;
  }
  std::string hint = outcome.Hint;
  for (char& c : hint) {
    if (c == '\r') c = '|';
  }
  std::cout << "press " << press << ": ";
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
  std::cout << ", hint \"" << hint << "\", groups open " << dispatcher.GroupDepth << "\n";
}

}  // namespace

void AddDispatchCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<DispatchOptionsGiven>();
  CLI::App* command = app.add_subcommand(
      "dispatch",
      "Loads a remote and a configuration, then dispatches presses in order, the open group "
      "keys carried from one press to the next. A press is a key number (its first learned "
      "code), code:DIGITS (that code) or repeat (the remote's repeat frame). With --execute "
      "each press's command is carried out; with --dry-run as well, on an in-memory desktop "
      "that holds the program's own window and one window for each window name of the "
      "configuration, and what each command did is printed after its press.");
  command->add_option("--remote", options->Remote, "remote data file (.IRD)")->required();
  command->add_option("--config", options->Config, "configuration file (.rir)")->required();
  command->add_flag("--json", options->Json,
                    "one JSON object per press: press, key, hint, record, GroupDepth; with "
                    "--dry-run one object per effect after it: effect and its fields");
  CLI::Option* execute =
      command->add_flag("--execute", options->Execute, "carry out each press's command");
  command
      ->add_flag("--dry-run", options->DryRun,
                 "execute on an in-memory desktop and print the effects")
      ->needs(execute);
  command->add_option("presses", options->Presses, "the presses")->required();
  command->callback([options, &status] {
    CurrentRemote remote;
    auto load = LoadRemoteForTool(options->Remote, remote);
    if (!load) {
      ReportError(load.ErrorMessage());
      status = BadInput;
      return;
    }
    auto config = ReadConfigurationFile(options->Config);
    if (!config) {
      ReportError(options->Config + ": " + config.ErrorMessage());
      status = BadInput;
      return;
    }
    std::vector<Press> presses;
    for (const std::string& text : options->Presses) {
      auto press = ParsePress(text, *remote.Record);
      if (!press) {
        ReportError(press.ErrorMessage());
        status = BadInput;
        return;
      }
      presses.push_back(press.Value());
    }

    ConfigTree tree;
    tree.Assign(std::move(config).Value().Nodes);
    DispatchOptions dispatchOptions;
    Outcome outcome;

    // Dispatches the presses over the given loop; `afterPress` prints what a press did and
    // says whether to go on.
    const auto run = [&](platform::EventLoop& loop, const platform::Clock& clock,
                         CommandExecutor* executor,
                         const std::function<bool(std::size_t)>& afterPress) {
      ReceiveSettings settings;
      ReceivePipeline pipeline(loop, settings, remote.Timings, remote.Limits);
      CommandDispatcher dispatcher(pipeline, tree, *remote.Record, outcome, outcome, loop, clock,
                                   dispatchOptions);
      outcome.Executor = executor;
      for (std::size_t i = 0; i < presses.size(); ++i) {
        outcome.Reset();
        dispatcher.KeyDispatch(presses[i].Code, presses[i].Repeat);
        Print(i + 1, dispatcher, outcome, options->Json);
        if (!afterPress(i)) break;
      }
    };

    if (options->Execute && !options->DryRun) {
      auto x11 = platform::OpenX11Backends(nullptr);
      if (!x11) {
        ReportError(x11.ErrorMessage());
        status = BadInput;
        return;
      }
      auto settingsFile =
          platform::RegistryFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
      if (!settingsFile) {
        ReportError(settingsFile.ErrorMessage());
        status = BadInput;
        return;
      }
      platform::LinuxClock clock;
      platform::PollEventLoop loop(clock);
      platform::LinuxLauncher launcher;
      platform::RegFileRegistry registry(settingsFile.Value());
      platform::AlsaMixer mixer(loop);
      AudioModel audio(mixer, registry);
      ConsoleCountdown countdown;
      platform::X11Backends& desktop = x11.Value();
      ActionExecutor executor({*desktop.TheKeyboard, *desktop.TheMouse, *desktop.TheDesktop,
                               launcher, *desktop.TheSystem, loop, clock},
                              countdown, outcome, audio, dispatchOptions.Language);
      run(loop, clock, &executor, [&](std::size_t) { return !countdown.Ended; });
      // A countdown started by the last press runs to its end or is cancelled meanwhile.
      while (executor.ShutDown.Showing() && !countdown.Ended) {
        loop.RunUntil(clock.TickCount() + 100);
      }
      return;
    }

    platform::FakeClock clock;
    platform::FakeEventLoop loop(clock);
    platform::FakeDesktopSystem desktop;
    desktop.Desktop.AddWindow(std::string(OwnWindowTitle));
    for (const std::string& name : NamedWindows(tree)) desktop.Desktop.AddWindow(name);
    const platform::ScreenSize screen = desktop.System.Screen();
    desktop.Mouse.Place({screen.Width / 2, screen.Height / 2});
    DryRunServices services(desktop.Log);
    ActionExecutor executor({desktop.Keyboard, desktop.Mouse, desktop.Desktop, desktop.Launcher,
                             desktop.System, loop, clock},
                            services, outcome, services, dispatchOptions.Language);
    std::size_t effects = desktop.Log.Size();
    run(loop, clock, options->Execute ? &executor : nullptr, [&](std::size_t) {
      PrintEffects(desktop.Log, effects, options->Json);
      effects = desktop.Log.Size();
      return !services.Ended;
    });
  });
}

}  // namespace quillon::tool

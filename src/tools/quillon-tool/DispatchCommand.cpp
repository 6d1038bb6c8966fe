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

#include "core/config/ConfigFile.h"
#include "core/config/KeyDispatch.h"
#include "platform/fake/FakeEventLoop.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/PollEventLoop.h"
#include "quillon-tool/Commands.h"
#include "quillon-tool/Execution.h"

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

    // Dispatches the presses over the given loop, printing what each did.
    const auto run = [&](platform::EventLoop& loop, const platform::Clock& clock,
                         Execution& execution) {
      ReceiveSettings settings;
      ReceivePipeline pipeline(loop, settings, remote.Timings, remote.Limits);
      CommandDispatcher dispatcher(pipeline, tree, *remote.Record, outcome, outcome, loop, clock,
                                   dispatchOptions);
      outcome.Executor = options->Execute ? &execution.Executor() : nullptr;
      for (std::size_t i = 0; i < presses.size() && !execution.Ended(); ++i) {
        outcome.Reset();
        dispatcher.KeyDispatch(presses[i].Code, presses[i].Repeat);
        PrintDispatch(i + 1, std::nullopt, dispatcher, outcome, options->Json);
        execution.PrintNewEffects(options->Json);
      }
      execution.FinishCountdown();
    };

    if (options->Execute && !options->DryRun) {
      platform::LinuxClock clock;
      platform::PollEventLoop loop(clock);
      auto execution = Execution::Real(loop, clock, outcome, dispatchOptions.Language);
      if (!execution) {
        ReportError(execution.ErrorMessage());
        status = BadInput;
        return;
      }
      run(loop, clock, *execution.Value());
      return;
    }
    platform::FakeClock clock;
    platform::FakeEventLoop loop(clock);
    auto execution = Execution::DryRun(loop, clock, tree, outcome, dispatchOptions.Language);
    run(loop, clock, *execution);
  });
}

}  // namespace quillon::tool

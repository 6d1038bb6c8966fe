#include <CLI/CLI.hpp>

#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/config/ConfigFile.h"
#include "core/config/KeyDispatch.h"
#include "platform/fake/FakeEventLoop.h"
#include "quillon-tool/Commands.h"
#include "quillon-tool/Json.h"

namespace quillon::tool {

namespace {

struct DispatchOptionsGiven {
  std::string Remote;
  std::string Config;
  bool Json = false;
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

// Records what one press showed and ran.
struct Outcome : HintDisplay, CommandExecutor {
  void IRShowHint(const std::string& text) override { Hint = text; }
  void CloseHint() override { Hint.clear(); }
  void ExecuteCommand(const CommandRecord& record) override { Record = record; }
  std::string Hint;
  std::optional<CommandRecord> Record;
};

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
      "code), code:DIGITS (that code) or repeat (the remote's repeat frame).");
  command->add_option("--remote", options->Remote, "remote data file (.IRD)")->required();
  command->add_option("--config", options->Config, "configuration file (.rir)")->required();
  command->add_flag("--json", options->Json,
                    "one JSON object per press: press, key, hint, record, GroupDepth");
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
    platform::FakeClock clock;
    platform::FakeEventLoop loop(clock);
    ReceiveSettings settings;
    ReceivePipeline pipeline(loop, settings, remote.Timings, remote.Limits);
    Outcome outcome;
    DispatchOptions dispatchOptions;
    CommandDispatcher dispatcher(pipeline, tree, *remote.Record, outcome, outcome, loop, clock,
                                 dispatchOptions);
    for (std::size_t i = 0; i < presses.size(); ++i) {
      outcome = Outcome{};
      dispatcher.KeyDispatch(presses[i].Code, presses[i].Repeat);
      Print(i + 1, dispatcher, outcome, options->Json);
    }
  });
}

}  // namespace quillon::tool

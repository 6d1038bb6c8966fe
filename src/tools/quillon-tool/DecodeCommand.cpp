#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "core/receiver/CaptureFile.h"
#include "core/receiver/KeyMatcher.h"
#include "core/receiver/ReceivePipeline.h"
#include "quillon-tool/Commands.h"
#include "quillon-tool/Json.h"
#include "replay/CaptureReplay.h"

namespace quillon::tool {

namespace {

struct DecodeOptions {
  std::string Remote;
  bool Json = false;
  std::vector<std::string> Inputs;
};

// One line of output: what a dispatched burst gave.
struct DecodedBurst {
  std::size_t Burst = 0;  // 1-based number of the input burst
  std::string Code;
  bool Repeat = false;
  KeyMatch Match;
  std::int32_t LastKey = -1;
};

// The program's receive side in normal running, over the loaded remote: the pipeline in
// receive mode 0 with the key matcher as its repeat-frame judge and the lookup as dispatch.
class DecodeSession : private KeyDispatcher {
 public:
  explicit DecodeSession(CurrentRemote& remote, bool multiLevelCoding)
      : Remote(remote), Matcher(*remote.Record) {
    Pipeline.MultiLevelCoding = multiLevelCoding;
    Pipeline.SetConsumers({.Dispatcher = this, .Judge = &Matcher});
    Pipeline.ReceiveEnabled = true;
  }

  std::vector<DecodedBurst> Play(const std::vector<CaptureRecord>& bursts) {
    for (const CaptureRecord& burst : bursts) {
      ++Current;
      const std::size_t before = Results.size();
      PlayPress(Pipeline, Loop, Clock, burst.Durations);
      if (Results.size() == before) Results.push_back({Current, "", false, {}, Matcher.LastKey});
    }
    return Results;
  }

 private:
  void KeyDispatch(const std::string& code, bool repeatFrame) override {
    const KeyMatch match = Matcher.Lookup(code, repeatFrame);
    Results.push_back({Current, code, repeatFrame, match, Matcher.LastKey});
  }

  CurrentRemote& Remote;
  KeyMatcher Matcher;
  platform::FakeClock Clock;
  platform::FakeEventLoop Loop{Clock};
  ReceiveSettings Settings;
  ReceivePipeline Pipeline{Loop, Settings, Remote.Timings, Remote.Limits};
  std::vector<DecodedBurst> Results;
  std::size_t Current = 0;
};

Result<std::string> ReadInput(const std::string& input) {
  if (input == "-") {
    return std::string(std::istreambuf_iterator<char>(std::cin), {});
  }
  std::ifstream in(input, std::ios::binary);
  if (!in) return Error{"cannot open " + input};
  std::string text(std::istreambuf_iterator<char>(in), {});
  if (in.bad()) return Error{"cannot read " + input};
  return text;
}

std::string KeyName(const RemoteData& remote, const KeyMatch& match) {
  return remote.Keys[static_cast<std::size_t>(match.KeyNumber)].Name.Text();
}

void Print(const DecodedBurst& d, const RemoteData& remote, bool json) {
  if (json) {
    Json out;
    out.BeginObject().Key("burst").Number(static_cast<std::int64_t>(d.Burst));
    out.Key("code").String(d.Code).Key("repeat").Bool(d.Repeat);
    if (d.Match.Found) {
      out.Key("key").Number(d.Match.KeyNumber).Key("name").String(KeyName(remote, d.Match));
    } else {
      out.Key("key").Null().Key("name").Null();
    }
    out.Key("LastKey").Number(d.LastKey).EndObject();
    std::cout << out.Text() << "\n";
    return;
  }
  std::cout << "burst " << d.Burst << ": code \"" << d.Code << "\"" << (d.Repeat ? ", repeat" : "")
            << " -> ";
  if (d.Match.Found) {
    std::cout << "key " << d.Match.KeyNumber << " " << KeyName(remote, d.Match);
  } else {
    std::cout << "no key";
  }
  std::cout << " (LastKey " << d.LastKey << ")\n";
}

}  // namespace

void AddDecodeCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<DecodeOptions>();
  CLI::App* command = app.add_subcommand(
      "decode",
      "Loads a remote data file as the program does, then takes each burst of the inputs in "
      "order through the receive pipeline in normal running (one pulse buffer for all, as in "
      "the program) and prints its key code, the repeat-frame verdict and the key it finds. "
      "Lines starting with '#' are headers; every other line is one burst of durations in "
      "10 MHz ticks; an empty line is an empty burst.");
  command->add_option("--remote", options->Remote, "remote data file (.IRD)")->required();
  command->add_flag("--json", options->Json,
                    "one JSON object per burst: burst, code, repeat, key, name, LastKey");
  command->add_option("inputs", options->Inputs, "burst files, or - for standard input")
      ->required();
  command->callback([options, &status] {
    CurrentRemote remote;
    auto load = LoadRemoteForTool(options->Remote, remote);
    if (!load) {
      ReportError(load.ErrorMessage());
      status = BadInput;
      return;
    }
    DecodeSession session(remote, load.Value().MultiLevelCoding);
    for (const std::string& input : options->Inputs) {
      auto text = ReadInput(input);
      auto bursts = text ? ParseBursts(text.Value()) : Error{text.ErrorMessage()};
      if (!bursts) {
        ReportError(input + ": " + bursts.ErrorMessage());
        status = BadInput;
        continue;
      }
      for (const DecodedBurst& d : session.Play(bursts.Value())) {
        Print(d, *remote.Record, options->Json);
      }
    }
  });
}

}  // namespace quillon::tool

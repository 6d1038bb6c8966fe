#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "quillon-tool/Captures.h"
#include "quillon-tool/Commands.h"
#include "quillon-tool/Json.h"
#include "replay/RecognitionRun.h"

namespace quillon::tool {

namespace {

struct RecognizeOptions {
  std::string Remote;
  bool Json = false;
  bool NoTemplates = false;
  std::vector<std::string> Captures;
};

struct Tally {
  std::int64_t Correct = 0;
  std::int64_t Wrong = 0;
  std::int64_t Unrecognized = 0;
  std::int64_t Unlabelled = 0;
  std::map<std::string, std::int64_t> TakenFor;  // the keys wrongly found, by name

  void Add(const PressOutcome& outcome) {
    switch (outcome.Of) {
      case Verdict::Correct:
        ++Correct;
        break;
      case Verdict::Wrong:
        ++Wrong;
        ++TakenFor[outcome.Name];
        break;
      case Verdict::Unrecognized:
        ++Unrecognized;
        break;
      case Verdict::Unlabelled:
        ++Unlabelled;
        break;
    }
  }
  std::string Counts() const {
    return std::to_string(Correct) + " correct, " + std::to_string(Wrong) + " wrong, " +
           std::to_string(Unrecognized) + " unrecognized";
  }
};

void PrintJson(std::size_t burst, const std::string& label, const PressOutcome& outcome) {
  Json out;
  out.BeginObject().Key("burst").Number(static_cast<std::int64_t>(burst));
  out.Key("label").String(label);
  if (outcome.Key) {
    out.Key("key").Number(*outcome.Key).Key("name").String(outcome.Name);
  } else {
    out.Key("key").Null().Key("name").Null();
  }
  out.Key("code").String(outcome.Code).Key("repeat").Bool(outcome.Repeat).EndObject();
  std::cout << out.Text() << "\n";
}

void PrintSummaryJson(const Tally& total) {
  Json out;
  out.BeginObject().Key("summary").BeginObject();
  out.Key("correct").Number(total.Correct).Key("wrong").Number(total.Wrong);
  out.Key("unrecognized").Number(total.Unrecognized).Key("unlabelled").Number(total.Unlabelled);
  out.EndObject().EndObject();
  std::cout << out.Text() << "\n";
}

void PrintTable(const std::vector<std::pair<std::string, Tally>>& buttons, const Tally& total) {
  std::vector<std::string> unlabelled;
  for (const auto& [label, tally] : buttons) {
    if (tally.Unlabelled > 0) {
      unlabelled.push_back(label);
      continue;
    }
    std::cout << label << ": " << tally.Counts();
    std::string separator = "; taken for ";
    for (const auto& [name, count] : tally.TakenFor) {
      std::cout << separator << name << " (" << count << ")";
      separator = ", ";
    }
    std::cout << "\n";
  }
  std::cout << "total: " << total.Counts() << ", " << total.Unlabelled << " unlabelled";
  if (!unlabelled.empty()) {
    std::cout << " (labels naming no learned key:";
    for (const std::string& label : unlabelled) {
      std::cout << " \"" << label << "\"";
    }
    std::cout << ")";
  }
  std::cout << "\n";
}

}  // namespace

void AddRecognizeCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<RecognizeOptions>();
  CLI::App* command = app.add_subcommand(
      "recognize",
      "Loads a remote data file, then presses every recorded burst of the capture files in "
      "order through the program in normal running (receive mode 0 and key dispatch, the "
      "dispatcher's state carried from press to press; with the receiver the remote was "
      "learned with) and scores it against its button label: correct when the key found has "
      "the label's name (letter case aside; a label recorded as the same code as another, "
      "same_as, counts as that one too), wrong when a key of another name was found, "
      "unrecognized when none was. A recording longer than the burst window gives several "
      "bursts: any key of another name makes it wrong. A burst whose label names no learned "
      "key is counted as unlabelled. Prints the counts per button and in total. The remote's "
      "button templates (its companion file, FILE.irt) take part as in the program; a "
      "companion file that cannot be used is reported and the remote recognised without it.");
  command->add_option("--remote", options->Remote, "remote data file (.IRD)")->required();
  command->add_flag("--json", options->Json,
                    "one JSON object per burst: burst, label, key, name, code, repeat; then "
                    "{\"summary\": {correct, wrong, unrecognized, unlabelled}}");
  command->add_flag("--no-templates", options->NoTemplates,
                    "recognise by the key lookup alone, as if the remote had no companion file");
  command->add_option("captures", options->Captures, "capture files")->required();
  command->callback([options, &status] {
    CurrentRemote remote;
    auto load = LoadRemoteForTool(options->Remote, remote);
    if (!load) {
      ReportError(load.ErrorMessage());
      status = BadInput;
      return;
    }
    if (!load.Value().TemplateProblem.empty()) {
      ReportError("warning: " + load.Value().TemplateProblem);
    }
    if (options->NoTemplates) remote.Templates = {};
    auto records = ReadCaptures(options->Captures, false);
    if (!records) {
      ReportError(records.ErrorMessage());
      status = BadInput;
      return;
    }
    NameClasses classes;
    for (const CaptureRecord& record : records.Value()) {
      if (!record.SameAs.empty()) classes.Join(record.Button, record.SameAs);
    }

    RecognitionRun run(remote, load.Value().MultiLevelCoding);
    std::vector<std::pair<std::string, Tally>> buttons;
    Tally total;
    std::size_t burst = 0;
    for (const CaptureRecord& record : records.Value()) {
      const PressOutcome outcome =
          JudgePress(record.Button, run.Press(record.Durations), *remote.Record, classes);
      auto button = std::find_if(buttons.begin(), buttons.end(),
                                 [&](const auto& b) { return b.first == record.Button; });
      if (button == buttons.end()) {
        buttons.emplace_back(record.Button, Tally{});
        button = buttons.end() - 1;
      }
      button->second.Add(outcome);
      total.Add(outcome);
      if (options->Json) PrintJson(++burst, record.Button, outcome);
    }
    if (options->Json) {
      PrintSummaryJson(total);
    } else {
      PrintTable(buttons, total);
    }
  });
}

}  // namespace quillon::tool

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>

#include "core/common/Cp1251.h"
#include "core/config/ConfigFile.h"
#include "core/config/NodeText.h"
#include "core/learning/RemoteFile.h"
#include "quillon-tool/Commands.h"
#include "quillon-tool/Json.h"

namespace quillon::tool {

namespace {

std::string CharText(char c) {
  return c == 0 ? std::string() : Cp1251ToUtf8(std::string_view(&c, 1));
}

void KeyTableJson(Json& json, const std::array<LearnedKey, TableEntries>& table,
                  std::int32_t count) {
  json.BeginArray();
  for (std::int32_t e = 0; e <= std::min(count, TableEntries - 1); ++e) {
    const LearnedKey& key = table[static_cast<std::size_t>(e)];
    json.BeginObject().Key("KeyNumber").Number(key.KeyNumber).Key("Name").String(key.Name.Text());
    json.Key("Data").BeginArray();
    for (const auto& data : key.Data) json.String(data.Text());
    json.EndArray().EndObject();
  }
  json.EndArray();
}

std::string ShowJson(const CurrentRemote& current, const RemoteLoad& load) {
  const RemoteData& r = *current.Record;
  Json json;
  json.BeginObject();
  json.Key("Version").Number(r.Version);
  json.Key("Producer").String(r.Producer.Text());
  json.Key("Model").String(r.Model.Text());
  json.Key("KeyCount").Number(r.KeyCount);
  json.Key("PrefixText").String(r.PrefixText.Text());
  json.Key("NominalLength").Number(r.NominalLength);
  json.Key("Keys");
  KeyTableJson(json, r.Keys, r.KeyCount);
  json.Key("LockUpCount").Number(r.LockUpCount);
  json.Key("LockUps");
  KeyTableJson(json, r.LockUps, r.LockUpCount);
  json.Key("Repeat").BeginObject();
  json.Key("Valid").Number(r.Repeat.Valid).Key("Index").Number(r.Repeat.Index);
  json.Key("RepeatTop").Number(r.Repeat.RepeatTop).Key("RepeatFrame").BeginArray();
  for (const std::int64_t d : r.Repeat.RepeatFrame) json.Number(d);
  json.EndArray().EndObject();
  json.Key("StartPulse").Number(r.StartPulse);
  json.Key("FrameGap").Number(r.FrameGap);
  json.Key("MaxValue").Number(r.MaxValue);
  json.Key("PrefixLength").Number(r.PrefixLength);
  json.Key("LevelTop").Number(r.LevelTop);
  json.Key("LevelTable").BeginArray();
  for (const std::int64_t level : r.LevelTable) json.Number(level);
  json.EndArray();
  json.Key("ReceiverT").String(CharText(r.ReceiverT));
  json.Key("KeyTimerInterval").Number(r.KeyTimerInterval);
  json.Key("LearnedWithPTK").Number(r.LearnedWithPTK);
  json.Key("MultiLevelCoding").Bool(load.MultiLevelCoding);
  json.Key("LevelCount").Number(current.Limits.LevelCount);
  json.Key("MinFrameLength").Number(current.Limits.MinFrameLength);
  json.Key("MaxFrameLength").Number(current.Limits.MaxFrameLength);
  json.Key("FrameLengthSpread").Number(current.FrameLengthSpread);
  json.EndObject();
  return json.Text();
}

void PrintKeyTable(const char* title, const std::array<LearnedKey, TableEntries>& table,
                   std::int32_t count) {
  std::cout << title << " (" << count << " rows, the trailing empty row included)\n";
  for (std::int32_t e = 1; e <= std::min(count, TableEntries - 1); ++e) {
    const LearnedKey& key = table[static_cast<std::size_t>(e)];
    std::cout << "  " << key.KeyNumber << "  " << key.Name.Text() << "\n";
    for (std::size_t slot = 0; slot < key.Data.size(); ++slot) {
      if (key.Data[slot].Length > 0) {
        std::cout << "      Data[" << slot + 1 << "] " << key.Data[slot].Text() << "\n";
      }
    }
  }
}

void ShowText(const CurrentRemote& current, const RemoteLoad& load) {
  const RemoteData& r = *current.Record;
  std::cout << "Version           " << r.Version << "\n"
            << "Producer          " << r.Producer.Text() << "\n"
            << "Model             " << r.Model.Text() << "\n"
            << "NominalLength     " << r.NominalLength << "\n"
            << "PrefixText        " << r.PrefixText.Text() << "  (PrefixLength " << r.PrefixLength
            << ")\n"
            << "StartPulse        " << r.StartPulse << "\n"
            << "FrameGap          " << r.FrameGap << "\n"
            << "MaxValue          " << r.MaxValue << "\n"
            << "LevelTop          " << static_cast<int>(r.LevelTop) << "\n"
            << "LevelTable       ";
  for (const std::int64_t level : r.LevelTable) std::cout << " " << level;
  std::cout << "\nRepeat            valid " << static_cast<int>(r.Repeat.Valid) << ", index "
            << r.Repeat.Index << ", RepeatTop " << r.Repeat.RepeatTop << ", frame";
  for (std::int32_t k = 0; k <= std::clamp(r.Repeat.RepeatTop, 0, 20); ++k) {
    std::cout << " " << r.Repeat.RepeatFrame[static_cast<std::size_t>(k)];
  }
  std::cout << "\nReceiverT         \"" << CharText(r.ReceiverT) << "\"\n"
            << "KeyTimerInterval  " << r.KeyTimerInterval << "\n"
            << "LearnedWithPTK    " << static_cast<int>(r.LearnedWithPTK) << "\n"
            << "Derived at load:  MultiLevelCoding " << (load.MultiLevelCoding ? "yes" : "no")
            << ", LevelCount " << static_cast<int>(current.Limits.LevelCount) << ", frame length "
            << current.Limits.MinFrameLength << ".." << current.Limits.MaxFrameLength
            << ", FrameLengthSpread " << current.FrameLengthSpread << "\n";
  PrintKeyTable("Keys", r.Keys, r.KeyCount);
  PrintKeyTable("LockUps", r.LockUps, r.LockUpCount);
}

// The record a node text gives when parsed as dispatch parses a command node; none for texts
// that carry no command (key labels, markers, the remote type line).
std::optional<CommandRecord> NodeRecord(const std::string& text) {
  CommandRecord record;
  ParseNodeText(text, record);
  if (record.Kind == CommandKind::None) return std::nullopt;
  return record;
}

const char* KindName(CommandKind kind) {
  switch (kind) {
    case CommandKind::GroupKey:
      return "group key";
    case CommandKind::Command:
      return "command";
    case CommandKind::SendKeys:
      return "send keys";
    case CommandKind::WindowMessage:
      return "window message";
    case CommandKind::AudioCommand:
      return "audio command";
    case CommandKind::None:
      break;
  }
  return "none";
}

std::string ConfigurationJson(const ConfigurationFileContent& content) {
  Json json;
  json.BeginObject().Key("nodes").BeginArray();
  for (std::size_t i = 0; i < content.Nodes.size(); ++i) {
    const ConfigTree::Node& node = content.Nodes[i];
    json.BeginObject();
    json.Key("index").Number(static_cast<std::int64_t>(i));
    json.Key("level").Number(node.Level);
    json.Key("text").String(node.Text);
    json.Key("record");
    if (const auto record = NodeRecord(node.Text)) {
      json.BeginObject();
      json.Key("Kind").Number(static_cast<std::int64_t>(record->Kind));
      json.Key("WindowName").String(record->WindowName);
      json.Key("ApplicationPath").String(record->ApplicationPath);
      json.Key("Parameter").String(record->Parameter);
      json.EndObject();
    } else {
      json.Null();
    }
    json.EndObject();
  }
  json.EndArray();
  json.Key("remoteType").String(content.RemoteType);
  json.EndObject();
  return json.Text();
}

// The tree indented two blanks a level; after each node that carries a command, its record.
void ShowConfigurationText(const ConfigurationFileContent& content) {
  std::cout << "Remote type: " << content.RemoteType << "\n";
  for (const ConfigTree::Node& node : content.Nodes) {
    std::cout << std::string(2 * static_cast<std::size_t>(node.Level), ' ') << node.Text;
    if (const auto record = NodeRecord(node.Text)) {
      std::cout << "  => Kind " << static_cast<int>(record->Kind) << " (" << KindName(record->Kind)
                << ")";
      if (!record->WindowName.empty()) std::cout << ", WindowName \"" << record->WindowName << "\"";
      if (!record->ApplicationPath.empty()) {
        std::cout << ", ApplicationPath \"" << record->ApplicationPath << "\"";
      }
      if (!record->Parameter.empty()) std::cout << ", Parameter \"" << record->Parameter << "\"";
    }
    std::cout << "\n";
  }
}

bool IsConfigurationFile(const std::string& file) {
  std::string extension = std::filesystem::path(file).extension().string();
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension == ".rir";
}

// Shows a configuration file as the program reads it; its remote need not be present.
void ShowConfiguration(const std::string& file, bool json, int& status) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) {
    ReportError("no such file: " + file);
    status = BadInput;
    return;
  }
  const auto content = ReadConfigurationFile(file);
  if (!content) {
    ReportError(content.ErrorMessage());
    status = BadInput;
    return;
  }
  if (json) {
    std::cout << ConfigurationJson(content.Value()) << "\n";
  } else {
    ShowConfigurationText(content.Value());
  }
}

}  // namespace

Result<RemoteLoad> LoadRemoteForTool(const std::string& file, CurrentRemote& current) {
  auto load = LoadRemoteFile(file, current, English);
  if (!load) return load;
  if (!load.Value().Found) return Error{"no such file: " + file};
  if (!load.Value().Problem.empty()) ReportError("warning: " + load.Value().Problem);
  return load;
}

void AddShowCommand(CLI::App& app, int& status) {
  auto file = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "show",
      "Shows every field of a remote data file (.IRD) and the values derived when the "
      "program loads it, or the tree of a configuration file (.rir) with the command each "
      "command node gives.");
  command->add_option("file", *file, "remote data file or configuration file")->required();
  command->add_flag("--json", *json, "one JSON object, texts as UTF-8");
  command->callback([file, json, &status] {
    if (IsConfigurationFile(*file)) {
      ShowConfiguration(*file, *json, status);
      return;
    }
    CurrentRemote current;
    auto load = LoadRemoteForTool(*file, current);
    if (!load) {
      ReportError(load.ErrorMessage());
      status = BadInput;
      return;
    }
    if (*json) {
      std::cout << ShowJson(current, load.Value()) << "\n";
    } else {
      ShowText(current, load.Value());
    }
  });
}

}  // namespace quillon::tool

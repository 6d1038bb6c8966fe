#include "core/learning/RemoteFile.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <system_error>

#include "core/common/AtomicFile.h"
#include "core/common/Cp1251.h"
#include "core/learning/CodeShape.h"
#include "core/learning/LearningTexts.h"
#include "core/recognition/TemplateFile.h"

namespace quillon {

namespace {

Error FileError(const std::filesystem::path& path, LanguageFlag language) {
  return Error{std::string(Text(LearningText::ErrorInFile, language)) + path.filename().string() +
               std::string(Text(LearningText::RestartProgram, language))};
}

// Reads the first record of a file; an error when the file is shorter or unreadable.
Result<std::unique_ptr<RemoteData>> ReadRecord(const std::filesystem::path& path,
                                               LanguageFlag language) {
  std::ifstream in(path, std::ios::binary);
  auto record = NewRemoteData();
  if (!in || !in.read(reinterpret_cast<char*>(record.get()), sizeof(RemoteData))) {
    return FileError(path, language);
  }
  SanitizeRemoteData(*record);
  return record;
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Case-insensitive order and equality, as the list of remote types compares its names.
std::string Folded(std::string_view name) { return UpperCase1251(name); }

void FillTable(const LearnGrid& grid, std::array<LearnedKey, TableEntries>& table,
               std::int32_t& count) {
  count = static_cast<std::int32_t>(grid.Rows.size()) - 1;
  for (std::size_t r = 1; r < grid.Rows.size(); ++r) {
    LearnedKey& key = table[r];
    key.KeyNumber = static_cast<std::int32_t>(r);
    key.Name.Assign(grid.Rows[r][1]);
    for (std::size_t k = 0; k < 5; ++k) key.Data[k].Assign(grid.Rows[r][k + 2]);
  }
}

// The first template that names no key of the record, as text; empty when all of them do.
std::string StrangerButton(const RemoteTemplates& templates, const RemoteData& remote) {
  const std::int32_t keys = std::clamp(remote.KeyCount, 0, TableEntries);
  for (const ButtonTemplate& button : templates.Buttons) {
    if (button.Key < keys &&
        remote.Keys[static_cast<std::size_t>(button.Key)].Name.Text() == button.Name) {
      continue;
    }
    return "button " + std::to_string(button.Key) + " \"" + button.Name +
           "\" is no key of this remote";
  }
  return {};
}

}  // namespace

std::filesystem::path RemoteFolder(const std::filesystem::path& dataHome) {
  return dataHome / "RIVirOriv";
}

Result<RemoteLoad> LoadRemoteFile(const std::filesystem::path& path, CurrentRemote& current,
                                  LanguageFlag language) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return RemoteLoad{};
  auto record = ReadRecord(path, language);
  if (!record) return Error{record.ErrorMessage()};

  RemoteData& remote = *current.Record;
  std::memcpy(static_cast<void*>(&remote), record.Value().get(), sizeof(RemoteData));
  if (remote.Version != RemoteVersion) {
    remote.ReceiverT = ' ';
    remote.KeyTimerInterval = 1;
  }
  current.Timings = TimingsOf(remote);
  const CodeShape shape = CodeShapeAnalysis(remote, current.Limits, current.FrameLengthSpread);
  RemoteLoad load{true, path, shape.MultiLevelCoding, shape.Problem, {}};
  current.Templates = {};
  auto templates = LoadTemplateFile(CompanionPath(path));
  if (!templates) {
    load.TemplateProblem = templates.ErrorMessage();
  } else if (const std::string stranger = StrangerButton(templates.Value(), remote);
             !stranger.empty()) {
    load.TemplateProblem = CompanionPath(path).filename().string() + ": " + stranger;
  } else {
    current.Templates = std::move(templates).Value();
  }
  return load;
}

std::int32_t CommonPrefixLength(const RemoteData& remote) {
  const std::int32_t keyCount = std::clamp(remote.KeyCount, 0, TableEntries);
  if (keyCount <= 2) return 0;
  std::string_view reference;
  for (std::int32_t k = 1; k < keyCount && reference.empty(); ++k) {
    reference = remote.Keys[static_cast<std::size_t>(k)].Data[0].Raw();
  }
  if (reference.empty()) return 0;
  for (std::size_t n = reference.size(); n > 1; --n) {
    bool all = true;
    for (std::int32_t k = 1; k < keyCount && all; ++k) {
      const std::string_view code = remote.Keys[static_cast<std::size_t>(k)].Data[0].Raw();
      all = code.size() >= n && code.substr(0, n) == reference.substr(0, n);
    }
    if (all) return static_cast<std::int32_t>(n);
  }
  return 0;
}

Result<std::unique_ptr<RemoteData>> BuildRemoteRecord(const RemoteSaveRequest& request,
                                                      const CurrentRemote& current) {
  for (const LearnGrid* grid : {request.KeyGrid, request.LockUpGrid}) {
    if (grid == nullptr || grid->Rows.empty()) return Error{"a learning grid is missing"};
    if (grid->Rows.size() > static_cast<std::size_t>(TableEntries)) {
      return Error{"a remote holds at most 98 keys and 49 lock-up pairs"};
    }
  }
  auto record = NewRemoteData();
  RemoteData& remote = *record;
  remote.Version = RemoteVersion;
  remote.Producer.Assign(request.Producer);
  remote.Model.Assign(request.Model);
  remote.NominalLength = request.NominalLength;
  FillTable(*request.KeyGrid, remote.Keys, remote.KeyCount);
  FillTable(*request.LockUpGrid, remote.LockUps, remote.LockUpCount);

  if (request.LearnedWithPTK || request.Trains == nullptr) {
    remote.Repeat = current.Record->Repeat;
  } else {
    remote.Repeat = RepeatFrameAnalysis(*request.Trains, request.MaxValueError);
  }

  remote.StartPulse = current.Timings.StartPulse;
  remote.FrameGap = current.Timings.FrameGap;
  remote.MaxValue = current.Timings.MaxValue;
  remote.LevelTop = current.Timings.LevelTop;
  remote.LevelTable = current.Timings.LevelTable;

  const std::int32_t prefix = CommonPrefixLength(remote);
  if (prefix > 1) {
    remote.PrefixText.Assign(std::string(remote.Keys[1].Data[0].Raw().substr(0, prefix)));
    remote.PrefixLength = prefix;
  }
  remote.ReceiverT = request.ReceiverT;
  remote.KeyTimerInterval = request.KeyTimerInterval;
  remote.LearnedWithPTK = request.LearnedWithPTK ? 1 : 0;
  return record;
}

std::string RemoteFileName(std::string_view producer, std::string_view model) {
  std::string name = std::string(producer) + "_" + std::string(model) + ".IRD";
  for (char& c : name) {
    if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
        c == '>' || c == '|' || (c >= 0 && c < ' ')) {
      c = '_';
    }
  }
  if (name.starts_with('.')) name.front() = '_';
  return name;
}

Result<Done> WriteRemoteRecord(const std::filesystem::path& path, const RemoteData& record) {
  return WriteFileAtomically(
      path, std::string_view(reinterpret_cast<const char*>(&record), sizeof(RemoteData)));
}

Result<bool> SaveRemoteFile(const std::filesystem::path& folder, const RemoteSaveRequest& request,
                            const CurrentRemote& current,
                            const std::function<bool(std::string_view question)>& confirmOverwrite,
                            LanguageFlag language) {
  const std::string name = RemoteFileName(request.Producer, request.Model);
  const std::filesystem::path path = folder / name;
  std::error_code error;
  if (std::filesystem::exists(path, error)) {
    const std::string question = std::string(Text(LearningText::FileExistsPrefix, language)) +
                                 name +
                                 std::string(Text(LearningText::FileExistsOverwrite, language));
    if (!confirmOverwrite(question)) return false;
  }
  auto record = BuildRemoteRecord(request, current);
  if (!record) return Error{record.ErrorMessage()};
  std::filesystem::create_directories(folder, error);
  const auto written = WriteRemoteRecord(path, *record.Value());
  if (!written) return Error{written.ErrorMessage()};
  return true;
}

Result<std::vector<RemoteType>> ScanRemoteTypes(const std::filesystem::path& folder,
                                                LanguageFlag language) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (LowerAscii(entry.path().extension().string()) == ".ird") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<RemoteType> types;
  for (const auto& path : files) {
    auto record = ReadRecord(path, language);
    if (!record) return Error{record.ErrorMessage()};
    const RemoteData& remote = *record.Value();
    types.push_back({UpperCase1251(remote.Producer.Text()) + "  " + remote.Model.Text(), path});
  }
  return types;
}

void UniqueNameList::Add(const std::string& name) {
  if (name.empty() || name.front() == ' ') return;
  if (name.find_first_not_of(' ') == std::string::npos) return;
  const std::string key = Folded(name);
  const auto at = std::lower_bound(
      Names.begin(), Names.end(), key,
      [](const std::string& item, const std::string& wanted) { return Folded(item) < wanted; });
  if (at != Names.end() && Folded(*at) == key) return;
  Names.insert(at, name);
}

Result<RemoteLoad> SelectRemoteType(const std::filesystem::path& folder, std::string_view wanted,
                                    CurrentRemote& current, LanguageFlag language) {
  auto types = ScanRemoteTypes(folder, language);
  if (!types) return Error{types.ErrorMessage()};
  const RemoteType* match = nullptr;
  for (const RemoteType& type : types.Value()) {
    if (type.DisplayName == wanted) match = &type;
  }
  if (match == nullptr) {
    std::memset(static_cast<void*>(current.Record.get()), 0, sizeof(RemoteData));
    current.Timings = TimingsOf(*current.Record);
    current.Templates = {};
    return RemoteLoad{};
  }
  return LoadRemoteFile(match->Path, current, language);
}

}  // namespace quillon

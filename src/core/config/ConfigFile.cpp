#include "core/config/ConfigFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/common/AtomicFile.h"
#include "core/common/Cp1251.h"
#include "core/config/ConfigTexts.h"
#include "core/config/NodeText.h"
#include "core/shell/Settings.h"

namespace quillon {

namespace {

constexpr std::string_view LineEnd = "\r\n";
// What stands between the last ">" of the remote type line and the name: " - ".
constexpr std::size_t RemoteTypeSeparator = 3;

Result<std::string> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Error{"cannot read " + path.string()};
  std::string bytes{std::istreambuf_iterator<char>(in), {}};
  if (in.bad()) return Error{"cannot read " + path.string()};
  return bytes;
}

// The remote type a last line names: what follows its last ">" and the separator, or the whole
// line when it has no ">".
std::string RemoteTypeOf(std::string_view line) {
  const std::size_t gt = line.rfind('>');
  if (gt == std::string_view::npos) return Cp1251ToUtf8(line);
  const std::size_t from = gt + 1 + RemoteTypeSeparator;
  return from < line.size() ? Cp1251ToUtf8(line.substr(from)) : std::string();
}

// Files written by other editors may end their lines in LF or CR alone; each of CR LF, LF and CR
// ends one line.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + (bytes.compare(end, LineEnd.size(), LineEnd) == 0 ? LineEnd.size() : 1);
  }
  return lines;
}

Result<ConfigurationFileContent> ParseConfiguration(std::string_view bytes,
                                                    const std::string& fileName) {
  ConfigurationFileContent content;
  std::string_view lastLine;
  std::int32_t lineNumber = 0;
  for (const std::string_view line : SplitLines(bytes)) {
    ++lineNumber;
    if (line.empty()) continue;
    lastLine = line;
    const std::size_t indent = std::min(line.find_first_not_of("\t "), line.size());
    const auto level = static_cast<std::int32_t>(indent);
    const std::int32_t allowed = content.Nodes.empty() ? 0 : content.Nodes.back().Level + 1;
    if (level > allowed) {
      const std::string where = fileName + ": line " + std::to_string(lineNumber);
      return Error{content.Nodes.empty()
                       ? where + " is indented, but the first node is the root at level 0"
                       : where + " is indented " + std::to_string(level) +
                             " levels, more than one level deeper than the line before it"};
    }
    content.Nodes.push_back({Cp1251ToUtf8(line.substr(indent)), level});
  }
  content.RemoteType = RemoteTypeOf(lastLine);
  return content;
}

// Makes the file the current configuration, in the settings and in the caption.
void MakeCurrent(const std::filesystem::path& path, CurrentConfiguration& current,
                 ConfigurationView& view, platform::Registry& registry) {
  current.FilePath = path;
  current.Name = ConfigurationName(path);
  // Settings failures are silent to the user, as everywhere in the program.
  static_cast<void>(WriteValue(registry, settings::FileName, path.string()));
  view.SetCaption(ConfigurationCaption(current.Name));
}

}  // namespace

std::string ConfigurationCaption(std::string_view name) {
  return std::string(ProgramCaption) + "  [" + std::string(name) + "]";
}

std::string ConfigurationName(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  return name.substr(0, name.rfind('.'));
}

Result<ConfigurationFileContent> ReadConfigurationFile(const std::filesystem::path& path) {
  const auto bytes = ReadBytes(path);
  if (!bytes) return Error{bytes.ErrorMessage()};
  return ParseConfiguration(bytes.Value(), path.filename().string());
}

Result<Done> SaveConfiguration(const std::filesystem::path& path, const ConfigTree& tree,
                               std::string_view remoteType, CurrentConfiguration& current,
                               ConfigurationView& view, platform::Registry& registry) {
  std::string bytes;
  for (const ConfigTree::Node& node : tree.All()) {
    bytes.append(static_cast<std::size_t>(node.Level), '\t');
    bytes += Utf8ToCp1251(node.Text);
    bytes += LineEnd;
  }
  if (tree.Empty() || !tree.Text(tree.Count() - 1).starts_with(RemoteTypePrefix)) {
    bytes += Utf8ToCp1251(std::string(RemoteTypePrefix) + " - " + std::string(remoteType));
    bytes += LineEnd;
  }
  const auto written = WriteFileAtomically(path, bytes);
  if (!written) return written;
  MakeCurrent(path, current, view, registry);
  return Done{};
}

Result<ConfigurationLoad> LoadConfiguration(const std::filesystem::path& path, ConfigTree& tree,
                                            CurrentConfiguration& current, ConfigurationView& view,
                                            platform::Registry& registry, LoadOccasion occasion,
                                            LanguageFlag language) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    current = {};
    static_cast<void>(WriteValue(registry, settings::FileName, ""));
    view.SetCaption(ProgramCaption);
    return ConfigurationLoad::NoFile;
  }
  auto content = ReadConfigurationFile(path);
  if (!content) return Error{content.ErrorMessage()};
  const std::string& remoteType = content.Value().RemoteType;
  // An empty file names no remote type.
  if (content.Value().Nodes.empty() || !view.HasRemoteType(remoteType)) {
    return Error{std::string(Text(ConfigText::ErrorInFile, language)) + path.filename().string() +
                 std::string(Text(ConfigText::DeleteFile, language))};
  }
  view.SelectRemoteType(remoteType);
  if (occasion == LoadOccasion::Editor) view.LoadRemoteType(remoteType);
  tree.Assign(std::move(content.Value().Nodes));
  view.ShowNode(0);
  MakeCurrent(path, current, view, registry);
  view.EnableEditor();
  view.ConfigurationLoaded();
  return ConfigurationLoad::Loaded;
}

}  // namespace quillon

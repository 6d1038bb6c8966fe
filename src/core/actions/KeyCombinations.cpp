#include "core/actions/KeyCombinations.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/common/AtomicFile.h"
#include "core/common/Cp1251.h"
#include "core/config/ConfigDialogs.h"

namespace quillon {

namespace {

constexpr char Separator = ',';
constexpr char Escape = '\\';
constexpr std::string_view LineEnd = "\r\n";

std::string EscapeDescription(std::string_view text) {
  std::string escaped;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == Separator) {
      escaped += Escape;
    } else if (c == Escape &&
               (i + 1 == text.size() || text[i + 1] == Separator || text[i + 1] == Escape)) {
      escaped += Escape;
    }
    escaped += c;
  }
  return escaped;
}

bool HasKcnExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
  return extension == KeyCombinationExtension;
}

}  // namespace

std::string CellText(std::string_view text) {
  std::string line(text);
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return line;
}

std::string FormatKeyCombinationLine(const KeyCombination& row) {
  return EscapeDescription(CellText(row.Command)) + Separator + CellText(row.HotKey);
}

KeyCombination ParseKeyCombinationLine(std::string_view line) {
  std::string description;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == Separator) return {description, std::string(line.substr(i + 1))};
    if (c == Escape && i + 1 < line.size() && (line[i + 1] == Separator || line[i + 1] == Escape)) {
      ++i;
    }
    description += line[i];
  }
  return {};
}

bool IsEmptyRow(const KeyCombination& row) { return row.Command.empty() && row.HotKey.empty(); }

std::string FormatKeyCombinationFile(const std::vector<KeyCombination>& rows) {
  std::string bytes;
  for (const KeyCombination& row : rows) {
    if (IsEmptyRow(row)) continue;
    bytes += Utf8ToCp1251(FormatKeyCombinationLine(row));
    bytes += LineEnd;
  }
  return bytes;
}

std::vector<KeyCombination> ParseKeyCombinationFile(std::string_view bytes) {
  std::vector<KeyCombination> rows;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    const KeyCombination row = ParseKeyCombinationLine(bytes.substr(start, end - start));
    rows.push_back({Cp1251ToUtf8(row.Command), Cp1251ToUtf8(row.HotKey)});
    start = end + (bytes.compare(end, LineEnd.size(), LineEnd) == 0 ? LineEnd.size() : 1);
  }
  return rows;
}

Result<std::vector<KeyCombination>> ReadKeyCombinationFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error) && !error) return std::vector<KeyCombination>{};
  std::ifstream in(path, std::ios::binary);
  if (!in || std::filesystem::is_directory(path, error)) {
    return Error{"cannot read " + path.string()};
  }
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  if (in.bad()) return Error{"cannot read " + path.string()};
  return ParseKeyCombinationFile(bytes);
}

Result<Done> WriteKeyCombinationFile(const std::filesystem::path& path,
                                     const std::vector<KeyCombination>& rows) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  if (error) return Error{"cannot create " + path.parent_path().string() + ": " + error.message()};
  return WriteFileAtomically(path, FormatKeyCombinationFile(rows));
}

std::vector<KeyCombinationPage> ListKeyCombinationPages(const std::filesystem::path& folder) {
  std::vector<KeyCombinationPage> pages;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.is_regular_file(error) && HasKcnExtension(entry.path())) {
      pages.push_back({entry.path().stem().string(), entry.path()});
    }
  }
  std::sort(
      pages.begin(), pages.end(),
      [](const KeyCombinationPage& a, const KeyCombinationPage& b) { return a.Name < b.Name; });
  return pages;
}

bool IsValidPageName(std::string_view name) { return IsValidConfigurationName(name); }

bool SamePageName(std::string_view a, std::string_view b) {
  return UpperCase1251(a) == UpperCase1251(b);
}

}  // namespace quillon

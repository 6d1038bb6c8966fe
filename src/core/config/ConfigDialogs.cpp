#include "core/config/ConfigDialogs.h"

#include <algorithm>

#include "core/common/Utf8.h"
#include "core/config/NodeText.h"
#include "core/learning/SaveDialog.h"

namespace quillon {

namespace {

// The save dialog of a learned remote refuses the same characters, for the same reason; control
// characters are refused as well, since a pasted or proposed name can hold them.
bool IsRefused(char32_t c) { return c < 0x20 || c == 0x7F || !SaveDialog::KeyAccepted(c); }

bool HasRirExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
  return extension == ConfigurationExtension;
}

}  // namespace

std::vector<std::string> ListConfigurationNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.is_regular_file(error) && HasRirExtension(entry.path())) {
      names.push_back(entry.path().stem().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::filesystem::path ConfigurationPath(const std::filesystem::path& folder,
                                        std::string_view name) {
  return folder / (std::string(name) + std::string(ConfigurationExtension));
}

std::string ProposeConfigurationName(std::string_view remoteType, std::string_view applicationPath,
                                     std::string_view rootText) {
  std::string_view program = applicationPath;
  if (const std::size_t slash = program.find_last_of("/\\"); slash != std::string_view::npos) {
    program.remove_prefix(slash + 1);
  }
  if (const std::size_t dot = program.rfind('.'); dot != std::string_view::npos) {
    program = program.substr(0, dot);
  }
  const std::string suffix =
      program.empty() ? SplitBracketFields(rootText, BracketMode::Fields)[0] : std::string(program);
  return std::string(remoteType) + "-" + suffix;
}

bool IsRefusedNameCharacter(std::string_view character) {
  std::size_t i = 0;
  return !character.empty() && IsRefused(NextCodePoint(character, i));
}

std::string RefusedNameCharacters() {
  std::string list;
  for (char32_t c = 0x21; c < 0x7F; ++c) {
    if (!IsRefused(c)) continue;
    if (!list.empty()) list += ' ';
    list += static_cast<char>(c);
  }
  list += ' ';
  AppendUtf8(list, U'\u0406');
  return list;
}

bool IsValidConfigurationName(std::string_view name) {
  if (name.empty()) return false;
  for (std::size_t i = 0; i < name.size();) {
    if (IsRefused(NextCodePoint(name, i))) return false;
  }
  return true;
}

}  // namespace quillon

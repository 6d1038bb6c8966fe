#include "core/config/NameDialog.h"

#include "core/common/Utf8.h"
#include "core/config/ConfigEditor.h"

namespace quillon {

std::string FilterNameField(std::string_view typed) {
  std::string kept;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < typed.size() && characters < NameFieldLimit;) {
    const char32_t c = NextCodePoint(typed, i);
    if (c < 0x80 &&
        std::string_view("<>[]{}").find(static_cast<char>(c)) != std::string_view::npos) {
      continue;
    }
    AppendUtf8(kept, c);
    ++characters;
  }
  return kept;
}

std::optional<DisplayName> SplitDisplayName(std::string_view text) {
  if (!text.ends_with(']')) return std::nullopt;
  const std::size_t open = text.rfind('[');
  // " [" after the second character, with something between the brackets' places.
  if (open == std::string_view::npos || open < 2 || open + 1 >= text.size() ||
      text[open - 1] != ' ') {
    return std::nullopt;
  }
  return DisplayName{std::string(text.substr(0, open - 1)),
                     std::string(text.substr(open + 1, text.size() - open - 2))};
}

bool TakesDisplayName(const ConfigTree& tree, std::int32_t node) { return IsKeyNode(tree, node); }

std::string NameFieldOnOpening(std::string_view text, LanguageFlag language) {
  if (const auto name = SplitDisplayName(text)) return name->Name;
  return std::string(Text(NameDialogText::Prompt, language));
}

std::string RenamedText(std::string_view text, std::string_view field) {
  for (const LanguageFlag language : {English, Bulgarian}) {
    if (field == Text(NameDialogText::Prompt, language)) return std::string(text);
  }
  const auto current = SplitDisplayName(text);
  std::string base = current ? current->Base : std::string(text);
  if (field.empty()) return base;
  return base + " [" + FilterNameField(field) + "]";
}

bool RenameNode(ConfigTree& tree, std::int32_t node, std::string_view field) {
  if (!TakesDisplayName(tree, node)) return false;
  tree.SetText(node, RenamedText(tree.Text(node), field));
  return true;
}

}  // namespace quillon

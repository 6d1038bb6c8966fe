#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/Language.h"
#include "core/config/ConfigTree.h"

namespace quillon {

// The name dialog (TFormNewName): gives a key or group-key node a display name, shown in
// brackets after its text ("5. Play [Start music]").

enum class NameDialogText { Prompt, ClearHint, RenameHint, CloseHint, Count };

inline constexpr TextTable<NameDialogText> NameDialogTexts = {{
    {"Enter new name here", "Въведете новото име тук"},
    {"Clear", "Изтрий"},
    {"Add/Rename", "Добави/Промени"},
    {"Close", "Затвори"},
}};

inline std::string_view Text(NameDialogText role, LanguageFlag language) {
  return Text(NameDialogTexts, role, language);
}

inline constexpr std::size_t NameFieldLimit = 100;  // characters

// The name field drops "<", ">", brackets and braces, and keeps at most NameFieldLimit
// characters (not bytes) of UTF-8 text.
std::string FilterNameField(std::string_view typed);

struct DisplayName {
  std::string Base;  // the text without " [name]"
  std::string Name;
  bool operator==(const DisplayName&) const = default;
};

// A node text's display name: a trailing " [name]" whose "[" stands after the text's second
// character. A group key's own fields ("...[Group Key][window][path]") are no display name.
std::optional<DisplayName> SplitDisplayName(std::string_view text);

// Only key and group-key nodes take a display name: on the root it would rename the window, on a
// command node it would change the command.
bool TakesDisplayName(const ConfigTree& tree, std::int32_t node);

// What the field shows when the dialog opens on `text`: its display name, else the prompt.
std::string NameFieldOnOpening(std::string_view text, LanguageFlag language);

// "Add/Rename" with the field's text: the node's new text. An empty field removes the display
// name; either language's prompt changes nothing.
std::string RenamedText(std::string_view text, std::string_view field);

// "Add/Rename" on the selected node of the tree; false when the node takes no display name.
bool RenameNode(ConfigTree& tree, std::int32_t node, std::string_view field);

}  // namespace quillon

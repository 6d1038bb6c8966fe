#include "core/config/WindowList.h"

#include <algorithm>

#include "core/config/ConfigEdit.h"
#include "core/config/EditorTexts.h"

namespace quillon {

std::vector<ListedWindow> ListWindows(const platform::Desktop& desktop, WindowListMode mode) {
  std::vector<ListedWindow> listed;
  for (const platform::WindowId window : desktop.TopLevelWindows()) {
    std::string title = desktop.Title(window).substr(0, WindowTitleLimit);
    if (title.empty()) continue;
    if (mode == WindowListMode::Visible && desktop.IsMinimized(window)) continue;
    if (mode == WindowListMode::All &&
        std::any_of(listed.begin(), listed.end(),
                    [&](const ListedWindow& entry) { return entry.Title == title; })) {
      continue;
    }
    listed.push_back({std::move(title), window});
  }
  return listed;
}

TakeOverResult TakeOverTitle(std::string_view title, const ConfigTree& tree,
                             WindowNameEditor& editor, MessageBoxes& boxes, LanguageFlag language) {
  // A window title is anybody's text: refused before it reaches the window-name list.
  if (HasFieldBreakers(title)) {
    ShowMessageBox(
        boxes, language,
        std::string(Text(EditorText::BracketsInWindowName, language)) + std::string(title),
        MessageButtons::Ok, MessageKind::Error);
    return TakeOverResult::Refused;
  }
  editor.ChooseGroupKey();
  const std::int32_t selected = editor.EditorState().Selected;
  ConfigEditor& configuration = editor.ConfigurationEditor();
  TakeOverResult result = TakeOverResult::Nothing;
  if (selected == 0 && tree.Count() > 0) {
    if (tree.Text(0) != NewGroupRoot &&
        ShowMessageBox(boxes, language, Text(WindowListText::ChangeBasicWindow, language),
                       MessageButtons::OkCancel, MessageKind::Confirmation) != MessageAnswer::Ok) {
      return TakeOverResult::Cancelled;
    }
    editor.TakeWindowName(title);
    configuration.WinNameComboChange(editor.EditorState());
    result = TakeOverResult::RootRenamed;
  } else {
    EditorPanel panel = editor.EditorState();
    panel.WindowName = title;
    panel.ApplicationPath.clear();
    if (configuration.ButtonsFor(panel).Add) {
      editor.TakeWindowName(title);
      configuration.ButtonAddClick(editor.EditorState());
      result = TakeOverResult::GroupKeyAdded;
    }
  }
  editor.RefreshEditor();
  return result;
}

}  // namespace quillon

#include "core/actions/KeysWindow.h"

#include <algorithm>
#include <system_error>

#include "core/actions/KeysTexts.h"
#include "core/config/ConfigDialogs.h"
#include "core/shell/Settings.h"

namespace quillon {

KeysWindow::KeysWindow(const KeysContext& context, KeysView& view)
    : The(context), View(view), Timer1(context.Loop.CreateTimer([this] {
        Timer1->Disable();
        View.CloseWindow();
      })) {
  Timer1->SetInterval(CloseDelay);
}

void KeysWindow::FormActivate() {
  if (Current >= 0) return;
  if (LoadPages()) {
    ShowPages();
    LoadPage();
  } else {
    Timer1->Enable();
  }
  HotKeys = ReadValue(The.Registry, settings::HotKeysEnabledKeys);
  Connected = ReadValue(The.Registry, settings::SensWhitSendKeys);
  View.ShowOptions(HotKeys, Connected);
}

bool KeysWindow::LoadPages() {
  Pages = ListKeyCombinationPages(The.Folder);
  Current = -1;
  if (Pages.empty()) {
    ShowPages();
    return NewPage();
  }
  Current = 0;
  return true;
}

void KeysWindow::LoadPage() {
  Grid.clear();
  Unreadable = false;
  auto rows = ReadKeyCombinationFile(Pages[static_cast<std::size_t>(Current)].File);
  if (rows) {
    Grid = std::move(rows).Value();
  } else {
    Unreadable = true;
    ShowError(std::string(Text(KeysText::CannotRead, The.Language)) +
              Pages[static_cast<std::size_t>(Current)].File.filename().string() +
              std::string(Text(KeysText::CannotReadEnd, The.Language)));
  }
  Selected = LastRow <= static_cast<std::int32_t>(Grid.size()) ? LastRow : 0;
  View.ShowRows(Grid, Selected, !Unreadable);
}

void KeysWindow::SavePage() {
  if (!Writable()) return;
  const auto saved = WriteKeyCombinationFile(Pages[static_cast<std::size_t>(Current)].File, Grid);
  if (!saved) {
    ShowError(std::string(Text(KeysText::CannotSave, The.Language)) + saved.ErrorMessage());
  }
}

bool KeysWindow::NewPage() {
  const LanguageFlag language = The.Language;
  const auto name = The.Dialog.AskPageName({std::string(Text(KeysText::NewPageCaption, language)),
                                            std::string(Text(KeysText::NewPageLabel, language)),
                                            std::string(Text(KeysText::NewPageOk, language)),
                                            std::string(Text(KeysText::NewPageCancel, language))});
  if (!name) return Current >= 0;
  if (!IsValidPageName(*name)) {
    ShowError(std::string(Text(KeysText::InvalidName, language)) + RefusedNameCharacters());
    return Current >= 0;
  }
  // A file made since the pages were listed counts as well: it must not be emptied.
  std::vector<KeyCombinationPage> taken = ListKeyCombinationPages(The.Folder);
  taken.insert(taken.end(), Pages.begin(), Pages.end());
  if (std::any_of(taken.begin(), taken.end(),
                  [&](const KeyCombinationPage& page) { return SamePageName(page.Name, *name); })) {
    ShowError(Text(KeysText::NameExists, language));
    return Current >= 0;
  }
  if (Current >= 0) {
    LastRow = Selected;
    SavePage();
  }
  Pages.push_back({*name, The.Folder / (*name + std::string(KeyCombinationExtension))});
  Current = static_cast<std::int32_t>(Pages.size()) - 1;
  Grid.clear();
  Unreadable = false;
  Selected = 0;
  // Saved at once, so the page is there the next time even if nothing is typed into it.
  SavePage();
  ShowPages();
  View.ShowRows(Grid, Selected, true);
  return true;
}

void KeysWindow::ShowPages() { View.ShowPages(PageNames(), Current); }

std::vector<std::string> KeysWindow::PageNames() const {
  std::vector<std::string> names;
  for (const KeyCombinationPage& page : Pages) names.push_back(page.Name);
  return names;
}

void KeysWindow::PageChange(std::int32_t index) {
  if (index == Current || index < 0 || index >= static_cast<std::int32_t>(Pages.size())) return;
  if (Current >= 0) {
    LastRow = Selected;
    SavePage();
  }
  Current = index;
  LoadPage();
}

void KeysWindow::GridExit() { SavePage(); }

void KeysWindow::RowSelect(std::int32_t row) {
  if (row >= 0 && row <= static_cast<std::int32_t>(Grid.size())) Selected = row;
}

void KeysWindow::RowClick(std::int32_t row) { CopyToEditor(row, false, false); }

void KeysWindow::RowDblClick(std::int32_t row) { CopyToEditor(row, true, false); }

void KeysWindow::ButtonAddClick() { CopyToEditor(Selected, true, true); }

void KeysWindow::CopyToEditor(std::int32_t row, bool assign, bool chooseSendKeys) {
  if (row < 0 || row > static_cast<std::int32_t>(Grid.size())) return;
  Selected = row;
  if (row == static_cast<std::int32_t>(Grid.size())) return;
  const std::string& keys = Grid[static_cast<std::size_t>(row)].HotKey;
  if (keys.empty()) return;
  FillingKeyName = true;
  The.Editor.SetKeyName(keys);
  if (chooseSendKeys) The.Editor.ChooseSendKeys();
  if (assign) {
    const EditorPanel panel = The.Editor.EditorState();
    ConfigEditor& editor = The.Editor.ConfigurationEditor();
    if (panel.Operation == EditorOperation::SendKeys && editor.ButtonsFor(panel).Add) {
      editor.ButtonAddClick(panel);
    }
  }
  The.Editor.RefreshEditor();
  FillingKeyName = false;
}

void KeysWindow::CellEdited(std::int32_t row, KeyColumn column, std::string_view text) {
  const auto rows = static_cast<std::int32_t>(Grid.size());
  if (row < 0 || row > rows) return;
  const std::string cell = CellText(text);
  if (!Writable()) {
    const KeyCombination old = row < rows ? Grid[static_cast<std::size_t>(row)] : KeyCombination{};
    View.ShowCell(row, column, column == KeyColumn::Command ? old.Command : old.HotKey);
    return;
  }
  if (row == rows) {
    if (cell.empty()) return;
    Grid.emplace_back();
    View.AppendEmptyRow();
  }
  KeyCombination& entry = Grid[static_cast<std::size_t>(row)];
  (column == KeyColumn::Command ? entry.Command : entry.HotKey) = cell;
  if (cell != text) View.ShowCell(row, column, cell);
  Selected = row;
  SavePage();
}

void KeysWindow::KeyNameChanged(std::string_view text) {
  if (!Connected || FillingKeyName || !Writable()) return;
  const auto rows = static_cast<std::int32_t>(Grid.size());
  if (Selected < rows && Grid[static_cast<std::size_t>(Selected)].HotKey == text) return;
  if (Selected == rows && text.empty()) return;
  const std::int32_t row = Selected;
  CellEdited(row, KeyColumn::HotKey, text);
  View.ShowCell(row, KeyColumn::HotKey, Grid[static_cast<std::size_t>(row)].HotKey);
}

void KeysWindow::Button3Click() { NewPage(); }

void KeysWindow::Button4Click() {
  if (Current < 0) return;
  const LanguageFlag language = The.Language;
  const KeyCombinationPage page = Pages[static_cast<std::size_t>(Current)];
  const std::string question = std::string(Text(KeysText::DeleteQuestion, language)) + page.Name +
                               std::string(Text(KeysText::DeleteQuestionEnd, language));
  if (ShowMessageBox(The.Boxes, language, question, MessageButtons::OkCancel,
                     MessageKind::Confirmation) != MessageAnswer::Ok) {
    return;
  }
  std::error_code error;
  std::filesystem::remove(page.File, error);
  if (error) {
    ShowError(std::string(Text(KeysText::CannotDelete, language)) + error.message());
    return;
  }
  Current = -1;
  Grid.clear();
  View.ShowRows(Grid, 0, false);
  if (LoadPages()) {
    ShowPages();
    LoadPage();
  } else {
    Timer1->Enable();
  }
}

void KeysWindow::FormClose() {
  SavePage();
  Timer1->Disable();
  // Settings failures are silent to the user, as everywhere in the program.
  static_cast<void>(WriteValue(The.Registry, settings::HotKeysEnabledKeys, HotKeys));
  static_cast<void>(WriteValue(The.Registry, settings::SensWhitSendKeys, Connected));
}

void KeysWindow::ShowError(std::string_view text) {
  ShowMessageBox(The.Boxes, The.Language, text, MessageButtons::Ok, MessageKind::Error);
}

}  // namespace quillon

#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/actions/KeyCombinations.h"
#include "core/actions/MessageBox.h"
#include "core/common/Language.h"
#include "core/config/ConfigEditor.h"
#include "platform/EventLoop.h"
#include "platform/Registry.h"

namespace quillon {

// The key-combination window (TFormKeys): one page per ".kcn" file of the "Keys" folder, each a
// grid of rows (a description and a key string) with an empty row at its end for a new entry.
// A row's key string can be copied into the configuration editor's send-key field and assigned
// to the marked button. The window forwards each event here and shows what its view is told.

struct NewPageRequest {
  std::string Caption;
  std::string Label;
  std::string OkButton;
  std::string CancelButton;
};

// The new-page dialog (TFormNewTab), shown modally; the GUI filters what can be typed into its
// name box with IsRefusedNameCharacter.
class NewPageDialog {
 public:
  virtual ~NewPageDialog() = default;
  // The name entered, or nothing when cancelled.
  virtual std::optional<std::string> AskPageName(const NewPageRequest& request) = 0;
};

// The dialog stands this many pixels right of and below the window's top-left corner.
inline constexpr int NewPageDialogOffset = 10;

// The configuration window as the key-combination window uses it.
class KeyNameEditor {
 public:
  virtual ~KeyNameEditor() = default;
  // The send-key field shows the text, with the caret at its end.
  virtual void SetKeyName(std::string_view keys) = 0;
  // The operation becomes 'Send key(s)'.
  virtual void ChooseSendKeys() = 0;
  // What the editor's panel holds now.
  virtual EditorPanel EditorState() const = 0;
  virtual ConfigEditor& ConfigurationEditor() = 0;
  // The editor's buttons follow the panel again.
  virtual void RefreshEditor() = 0;
};

enum class KeyColumn : std::uint8_t { Command = 0, HotKey = 1 };

class KeysView {
 public:
  virtual ~KeysView() = default;
  // The page tabs, `current` selected (-1 for none).
  virtual void ShowPages(const std::vector<std::string>& names, std::int32_t current) = 0;
  // The grid: the data rows, then the empty row for a new entry (row rows.size()); `selected`
  // counts from the first data row. Cells take input only when `editable`.
  virtual void ShowRows(const std::vector<KeyCombination>& rows, std::int32_t selected,
                        bool editable) = 0;
  // The empty row became a data row: a new empty row follows it.
  virtual void AppendEmptyRow() = 0;
  virtual void ShowCell(std::int32_t row, KeyColumn column, std::string_view text) = 0;
  virtual void ShowOptions(bool hotKeysEnable, bool form1Connect) = 0;
  virtual void CloseWindow() = 0;
};

struct KeysContext {
  std::filesystem::path Folder;  // the "Keys" data folder
  platform::Registry& Registry;
  MessageBoxes& Boxes;
  NewPageDialog& Dialog;
  KeyNameEditor& Editor;
  platform::EventLoop& Loop;
  const LanguageFlag& Language;
};

// Every change of the grid is saved to the current page's file at once (atomically), and so
// are a page change, leaving the grid, closing and deleting, so the files always follow the
// grid. A file that cannot be read is reported, shown as an empty page that takes no input and
// never saved over.
class KeysWindow {
 public:
  // When no page remains, the window closes after this many milliseconds (its Timer1).
  static constexpr std::uint32_t CloseDelay = 100;

  KeysWindow(const KeysContext& context, KeysView& view);
  KeysWindow(const KeysWindow&) = delete;
  KeysWindow& operator=(const KeysWindow&) = delete;

  // With no page current (the first activation, or after the last page went): the pages of the
  // folder, the first one shown; with none there, the new-page dialog is offered, and when it
  // gives no page the window closes after CloseDelay. Then the two options are read from the
  // settings. With a page current, an activation changes nothing.
  void FormActivate();
  // The tab `index` chosen: the selected row is remembered and the old page saved.
  void PageChange(std::int32_t index);
  void GridExit();
  // A row selected by the keyboard: "<<" and the send-key field's link act on it.
  void RowSelect(std::int32_t row);
  // A click on a row selects it and copies its key string into the send-key field; a row
  // without a key string leaves the field as it is.
  void RowClick(std::int32_t row);
  // A double click on a row copies its key string and, when the operation is already
  // 'Send key(s)' and the editor allows it, assigns it to the marked button.
  void RowDblClick(std::int32_t row);
  // "<<": as a double click on the selected row, with the operation made 'Send key(s)' first.
  void ButtonAddClick();
  // A cell's text entered. Text in the empty row makes it a data row, followed by a new empty
  // row. The page is saved.
  void CellEdited(std::int32_t row, KeyColumn column, std::string_view text);
  void Button3Click();  // new page
  void Button4Click();  // delete the current page, after asking
  // Saves the page and writes the two options to the settings.
  void FormClose();
  void HotKeysEnableClick(bool ticked) { HotKeys = ticked; }
  void Form1ConnectClick(bool ticked) { Connected = ticked; }
  // The send-key field changed: with Form1Connect ticked, the selected row's key string follows
  // it (not while this window itself is filling the field).
  void KeyNameChanged(std::string_view text);

  std::vector<std::string> PageNames() const;
  std::int32_t CurrentPage() const { return Current; }
  const std::vector<KeyCombination>& Rows() const { return Grid; }
  std::int32_t SelectedRow() const { return Selected; }
  bool HotKeysEnable() const { return HotKeys; }
  bool Form1Connect() const { return Connected; }
  bool Writable() const { return Current >= 0 && !Unreadable; }

 private:
  bool LoadPages();
  void LoadPage();
  void SavePage();
  bool NewPage();
  void ShowPages();
  void CopyToEditor(std::int32_t row, bool assign, bool chooseSendKeys);
  void ShowError(std::string_view text);

  KeysContext The;
  KeysView& View;
  std::unique_ptr<platform::Timer> Timer1;
  std::vector<KeyCombinationPage> Pages;
  std::int32_t Current = -1;  // cleared before a deleted page is removed, so nothing saves it
  std::vector<KeyCombination> Grid;
  std::int32_t Selected = 0;
  std::int32_t LastRow = 0;
  bool Unreadable = false;
  bool HotKeys = false;
  bool Connected = false;
  bool FillingKeyName = false;
};

}  // namespace quillon

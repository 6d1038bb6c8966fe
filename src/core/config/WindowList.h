#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/actions/MessageBox.h"
#include "core/common/Language.h"
#include "core/config/ConfigEditor.h"
#include "platform/Desktop.h"

namespace quillon {

// The window list (TFormAllWindows): picks the title of an open window as a window name for the
// configuration.

enum class WindowListText {
  Caption,
  Close,
  VisibleWindows,
  AllWindows,
  Help,
  Renew,
  ChangeBasicWindow,
  Count
};

inline constexpr TextTable<WindowListText> WindowListTexts = {{
    {"All Windows", "Всички прозорци"},
    {"Close", "Затвори"},
    {"Visible windows", "Видими прозорци"},
    {"All windows", "Всички прозорци"},
    {"Help", "Помощ"},
    {"Renew", "Обнови"},
    {"Changing name of basic window?", "Промяна на името на основния прозорец?"},
}};

inline std::string_view Text(WindowListText role, LanguageFlag language) {
  return Text(WindowListTexts, role, language);
}

inline constexpr std::size_t WindowTitleLimit = 257;  // bytes of a listed title

struct ListedWindow {
  std::string Title;
  platform::WindowId Window = 0;
  bool operator==(const ListedWindow&) const = default;
};

enum class WindowListMode : std::uint8_t {
  Visible,  // the windows on the screen (not minimised), duplicate titles kept
  All       // every top-level window, each title once
};

// The non-empty titles of the desktop's top-level windows, topmost first.
std::vector<ListedWindow> ListWindows(const platform::Desktop& desktop, WindowListMode mode);

// The configuration window as the window list uses it.
class WindowNameEditor {
 public:
  virtual ~WindowNameEditor() = default;
  // The operation becomes 'Group key'.
  virtual void ChooseGroupKey() = 0;
  // The title joins the window-name list and becomes its text; the application field shows
  // "Application".
  virtual void TakeWindowName(std::string_view title) = 0;
  virtual EditorPanel EditorState() const = 0;
  virtual ConfigEditor& ConfigurationEditor() = 0;
  virtual void RefreshEditor() = 0;
};

enum class TakeOverResult : std::uint8_t {
  RootRenamed,    // the title is the root's window name now
  GroupKeyAdded,  // a group key for the title was added under the selected key
  Refused,        // the title holds a bracket, TAB or line break: the box said so
  Cancelled,      // the user kept the root's window name
  Nothing         // the selected node takes no window name
};

// "<<" or a double click on `title`: the root's window name, after asking unless the root is
// still "New group"; or a group key for it on the selected key when the editor allows adding.
TakeOverResult TakeOverTitle(std::string_view title, const ConfigTree& tree,
                             WindowNameEditor& editor, MessageBoxes& boxes, LanguageFlag language);

}  // namespace quillon

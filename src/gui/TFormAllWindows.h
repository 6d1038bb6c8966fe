#pragma once

#include <QDialog>
#include <QListWidget>

#include <vector>

#include "core/config/WindowList.h"

namespace quillon::gui {

struct WindowListContext {
  const platform::Desktop& Desktop;
  WindowNameEditor& Editor;
  const ConfigTree& Tree;
  MessageBoxes& Boxes;
  const LanguageFlag& Language;
};

// The window list: the titles of the open windows; "<<" or a double click hands the selected
// one to the configuration editor as a window name (WindowList.h has the rules).
class TFormAllWindows : public QDialog {
 public:
  TFormAllWindows(const WindowListContext& context, QWidget* parent);

  // Lists the visible windows in the current language and shows the dialog modally.
  void Open();

 private:
  void ApplyTexts();
  void Fill(WindowListMode mode);
  void TakeOver();

  WindowListContext The;
  QListWidget* ListBox1;
  std::vector<ListedWindow> Windows;
};

}  // namespace quillon::gui

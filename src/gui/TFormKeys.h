#pragma once

#include <QCheckBox>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QWidget>

#include "core/actions/KeysWindow.h"

namespace quillon::gui {

// The key-combination window: the pages as tabs (PageControl1) over the grid `Keys`, whose
// hot-key cells record key presses through the send-key rules while HotKeysEnable is ticked.
// Every event goes to the core's KeysWindow, which tells the window what to show.
class TFormKeys : public QWidget, public KeysView {
 public:
  explicit TFormKeys(const KeysContext& context, QWidget* parent = nullptr);

  // ButtonKeys of the configuration window: shows the window and brings it to the front.
  void Open();
  // The captions in the current language.
  void ApplyTexts();
  // The configuration window's send-key field changed.
  void KeyNameChanged(std::string_view text) { Model.KeyNameChanged(text); }

  // KeysView
  void ShowPages(const std::vector<std::string>& names, std::int32_t current) override;
  void ShowRows(const std::vector<KeyCombination>& rows, std::int32_t selected,
                bool editable) override;
  void AppendEmptyRow() override;
  void ShowCell(std::int32_t row, KeyColumn column, std::string_view text) override;
  void ShowOptions(bool hotKeysEnable, bool form1Connect) override;
  void CloseWindow() override { close(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Connect();
  void FormActivate();
  void SetRowItems(int row, const KeyCombination& cells);

  const LanguageFlag& Language;
  KeysWindow Model;
  QTabBar* PageControl1;
  QTableWidget* Keys;
  QCheckBox* HotKeysEnable;
  QCheckBox* Form1Connect;
  QPushButton* ButtonAdd;
  QPushButton* Button3;
  QPushButton* Button4;
  QPushButton* Button1;
  QPushButton* ButtonHelp;
};

}  // namespace quillon::gui

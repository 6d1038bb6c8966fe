#pragma once

#include <QLabel>
#include <QWidget>

#include "core/shell/CurrentFunction.h"

namespace quillon::gui {

// The current-function window: borderless, on top of all others, never taking the focus; a
// cream background and one bold label. CurrentFunctionDisplay decides what it shows and where.
class TForm2 : public QWidget, public CurrentFunctionView {
 public:
  TForm2();

  HintSize SetLabel(const std::string& text) override;
  void Place(std::int32_t left, std::int32_t top, HintSize size) override;
  void ShowWindow() override;
  void CloseWindow() override { hide(); }
  platform::ScreenSize Screen() const override;

 private:
  QLabel* Label1;
};

}  // namespace quillon::gui

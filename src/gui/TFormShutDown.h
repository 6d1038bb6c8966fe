#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <functional>

#include "core/actions/ShutDown.h"

namespace quillon::gui {

// The shut-down countdown: above all other windows without taking the focus, its texts from
// the countdown model each second, and a button that cancels.
class TFormShutDown : public QWidget, public ShutDownView {
 public:
  TFormShutDown();

  void ShowCountdown() override;
  void ShowCountdownTexts(const CountdownTexts& texts) override;
  void CloseCountdown() override { hide(); }
  void EndProgram() override;

  // The countdown model's Cancel, and what ends the program.
  std::function<void()> OnCancel;
  std::function<void()> OnEndProgram;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* Label1;
  QPushButton* Button1;
};

}  // namespace quillon::gui
